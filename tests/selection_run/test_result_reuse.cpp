// The result of a selection run kept across redraws: a redraw with the same request and the
// same files searches nothing, and a table file rewritten since is searched afresh.

#include "layers/layer_loader.h"
#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "selection_run/selection_run.h"

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

/// Copies the files of the demonstration folder whose names start with one of `prefixes`.
void copyDataFiles(const QString& to, const QStringList& prefixes) {
    const QDir from(QCoreApplication::applicationDirPath() + QStringLiteral("/data"));
    for (const QString& name : from.entryList(QDir::Files)) {
        for (const QString& prefix : prefixes) {
            if (name.startsWith(prefix + '.', Qt::CaseInsensitive))
                QFile::copy(from.filePath(name), QDir(to).filePath(name));
        }
    }
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

/// A map over a copied folder with a selection run wired to its notifications as the main
/// window wires it.
struct Bench {
    mapcontrol::MapControl map;
    quillfen::SelectionRun run{map};
    quillfen::RecordGridModel grid;
    quillfen::SelectionRequest request;

    Bench() {
        map.resize(300, 300);
        QObject::connect(&map, &mapcontrol::MapControl::layerDrawStarting, [this](int position) {
            if (position == map.layerCount() - 1)
                run.beginRedraw();
        });
        QObject::connect(&map, &mapcontrol::MapControl::layerDrawn,
                         [this](int position) { run.run(request, grid, position == 0); });
    }
};

} // namespace

class ResultReuseTest : public QObject {
    Q_OBJECT

private slots:
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
        const QString layer = quillfen::layerCode(sampleKind, code);
        QTemporaryDir folder;
        copyDataFiles(folder.path(), {layer, quillfen::companionTable(sampleKind, code)});

        Bench bench;
        bench.request.kind = sampleKind;
        bench.request.periodCodes = {code};
        bench.request.expression = expression;
        bench.request.dataPath = folder.path();
        quillfen::DrawLayerChoice choice;
        choice.sampleLayers << layer;
        QSignalSpy fills(&bench.grid, &QAbstractItemModel::modelReset);
        quillfen::set_draw_layers(bench.map, folder.path(), choice);
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

        // Emptying the grid (a new selection) makes the next redraw fill it again.
        bench.grid.clear();
        bench.map.redrawAll();
        QCOMPARE(fills.count(), 3);
        QCOMPARE(bench.grid.textMatrix(records, 0), QString::number(records));
    }
};

int runResultReuseTests(int argc, char** argv) {
    ResultReuseTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_result_reuse.moc"
