// The selection run on a map of its own: text exports of real selections on the demonstration
// data, compared byte for byte with the files that the export wrote for the same selections
// when it still read every number back from the grid's text (kept in expected_exports/); and
// the result kept across redraws until a table it read is rewritten.

#include "layer_loading/layer_loader.h"
#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "records/text_export.h"
#include "selection_run/selection_run.h"
#include "support/file_bytes.h"
#include "support/test_main.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using quillfen::SampleKind;

namespace {

QString dataFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/data");
}

/// Sets a field of every record of a dBASE table, and moves the file's modification time on so
/// that the change shows whatever the clock's resolution.
int setEveryRecord(const QString& tablePath, const char* field, const char* value) {
    int records = 0;
    {
        std::unique_ptr<GDALDataset> dataset(
            GDALDataset::Open(tablePath.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_UPDATE));
        if (!dataset)
            return -1;
        OGRLayer* layer = dataset->GetLayer(0);
        for (auto& feature : *layer) {
            feature->SetField(field, value);
            if (layer->SetFeature(feature.get()) != OGRERR_NONE)
                return -1;
            ++records;
        }
    }
    QFile file(tablePath);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    return records;
}

/// A map showing the first `periods` sampling periods of a kind from a data folder, and a
/// selection run on it with a request for those periods.
struct Bench {
    mapcontrol::MapControl map;
    quillfen::SelectionRun run{map};
    quillfen::RecordGridModel grid;
    quillfen::SelectionRequest request;

    Bench(SampleKind kind, int periods, const QString& folder) {
        map.resize(457, 473);
        request.kind = kind;
        request.dataPath = folder;
        quillfen::DrawLayerChoice choice;
        for (const quillfen::SamplingPeriod& period : quillfen::samplingPeriods(kind)) {
            if (period.enabled && request.periodCodes.size() < periods) {
                request.periodCodes << period.periodCode;
                choice.sampleLayers << quillfen::layerCode(kind, period.periodCode);
            }
        }
        quillfen::rebuildLayerStack(map, folder, choice);
    }
    /// Runs the request at every redraw, as the main window does.
    void runAtEachRedraw() {
        QObject::connect(&map, &mapcontrol::MapControl::layerDrawStarting, [this](int position) {
            if (position == map.layerCount() - 1)
                run.beginRedraw();
        });
        QObject::connect(&map, &mapcontrol::MapControl::layerDrawn,
                         [this](int position) { run.run(request, grid, position == 0); });
    }
};

} // namespace

class SelectionRunTest : public QObject {
    Q_OBJECT

private slots:
    void exportsOfRealSelectionsKeepTheirBytes_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("periods");
        QTest::addColumn<double>("from"); // a graphical selection: the band of the whole map
        QTest::addColumn<double>("to");   // between these fractions of its width
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("expected");
        QTest::newRow("water, low oxygen")
            << int(SampleKind::Water) << 2 << 0.0 << 0.0 << "dis_oxygen < 5 AND dis_oxygen <> -99"
            << "water_logical.txt";
        QTest::newRow("invertebrates, a band of the reach")
            << int(SampleKind::Invert) << 2 << 0.3 << 0.5 << QString() << "invert_graphical.txt";
        QTest::newRow("fish, a band of the reach")
            << int(SampleKind::Fish) << 1 << 0.45 << 0.55 << QString() << "fish_graphical.txt";
        QTest::newRow("vegetation, a band of the reach")
            << int(SampleKind::Veg) << 1 << 0.45 << 0.5 << QString() << "veg_graphical.txt";
    }
    void exportsOfRealSelectionsKeepTheirBytes() {
        QFETCH(int, kind);
        QFETCH(int, periods);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(QString, expression);
        QFETCH(QString, expected);
        Bench bench(SampleKind(kind), periods, dataFolder());
        bench.request.graphical = expression.isEmpty();
        bench.request.expression = expression;
        const mapcontrol::Rect r = bench.map.wholeBounds();
        const double left = r.minX + from * (r.maxX - r.minX);
        const double right = r.minX + to * (r.maxX - r.minX);
        if (bench.request.graphical)
            bench.request.polygon = mapcontrol::Shape::polygon(
                {{left, r.minY}, {right, r.minY}, {right, r.maxY}, {left, r.maxY}});
        const quillfen::SelectionOutcome outcome = bench.run.run(bench.request, bench.grid, false);
        QVERIFY2(outcome.error.isEmpty(), qPrintable(outcome.error));
        QVERIFY(bench.grid.rows() > 2);

        QTemporaryDir folder;
        const QString written = folder.filePath(expected);
        QVERIFY(quillfen::appendGridToFile(bench.grid, bench.request.kind, written).ok());
        const QString expectedPath = QStringLiteral(EXPECTED_EXPORTS "/") + expected;
        if (testing::fileBytes(written) != testing::fileBytes(expectedPath)) {
            folder.setAutoRemove(false);
            QFAIL(qPrintable(QStringLiteral("%1 differs from %2").arg(written, expectedPath)));
        }
    }

    void aRedrawReusesTheResultUntilATableItReadIsRewritten_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("rewritten");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("emptyRows");
        QTest::newRow("water layer table") << int(SampleKind::Water) << "dis_oxygen < 5 AND dis_oxygen <> -99"
                                           << "kxw" << QByteArray("dis_oxygen") << QByteArray("1.5") << 0;
        QTest::newRow("fish companion table")
            << int(SampleKind::Fish) << "species = 'Bluegill'"
            << "kxr" << QByteArray("species") << QByteArray("Bluegill") << 1;
    }
    void aRedrawReusesTheResultUntilATableItReadIsRewritten() {
        QFETCH(int, kind);
        QFETCH(QString, expression);
        QFETCH(QString, rewritten);
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, value);
        QFETCH(int, emptyRows);
        const auto sampleKind = SampleKind(kind);
        const QString code = quillfen::samplingPeriods(sampleKind).first().periodCode;
        // A copy of the period's files, so that a table can be rewritten.
        QTemporaryDir folder;
        const QStringList copied{quillfen::layerCode(sampleKind, code),
                                 quillfen::companionTable(sampleKind, code)};
        for (const QString& name : QDir(dataFolder()).entryList(QDir::Files)) {
            if (copied.contains(name.section('.', 0, 0), Qt::CaseInsensitive))
                QFile::copy(dataFolder() + '/' + name, folder.filePath(name));
        }

        Bench bench(sampleKind, 1, folder.path());
        bench.request.expression = expression;
        bench.runAtEachRedraw();
        QSignalSpy fills(&bench.grid, &QAbstractItemModel::modelReset);
        bench.map.setViewBounds(bench.map.wholeBounds());
        bench.map.redrawAll();
        QCOMPARE(fills.count(), 1);
        const int firstRows = bench.grid.rows();
        QVERIFY(firstRows > 2);

        // Zoom and pan: the same rows, no search.
        bench.map.setViewBounds(bench.map.wholeBounds().scaled(0.5));
        bench.map.redrawAll();
        QCOMPARE(fills.count(), 1);
        QCOMPARE(bench.grid.rows(), firstRows);

        const QString table = folder.filePath(rewritten + code + QStringLiteral(".dbf"));
        const int records = setEveryRecord(table, field.constData(), value.constData());
        QVERIFY(records > firstRows);
        bench.map.redrawAll();
        QCOMPARE(fills.count(), 2);
        QCOMPARE(bench.grid.rows(), 1 + records + emptyRows);
        QCOMPARE(bench.grid.textMatrix(records, 0), QString::number(records));
    }
};

QUILLFEN_TEST(SelectionRunTest)

#include "test_selection_run.moc"
