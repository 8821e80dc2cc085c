// Text exports of real selections on the demonstration data, compared byte for byte with the
// files that the export wrote for the same selections when it still read every number back
// from the grid's text (kept in expected_exports/).

#include "layers/layer_loader.h"
#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "records/text_export.h"
#include "selection_run/selection_run.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using quillfen::SampleKind;

namespace {

QStringList firstPeriods(SampleKind kind, int count) {
    QStringList codes;
    for (const quillfen::SamplingPeriod& period : quillfen::samplingPeriods(kind)) {
        if (period.enabled && codes.size() < count)
            codes << period.periodCode;
    }
    return codes;
}

/// The part of the rectangle between the fractions `from` and `to` of its width, as a polygon.
mapcontrol::Shape band(const mapcontrol::Rect& r, double from, double to) {
    const double left = r.minX + from * (r.maxX - r.minX);
    const double right = r.minX + to * (r.maxX - r.minX);
    return mapcontrol::Shape::polygon({{left, r.minY}, {right, r.minY}, {right, r.maxY}, {left, r.maxY}});
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ExportIdentityTest : public QObject {
    Q_OBJECT

private slots:
    void exportsOfRealSelectionsKeepTheirBytes_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("periods");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("expected");
        QTest::newRow("water, low oxygen")
            << int(SampleKind::Water) << 2 << 0.0 << 0.0 << "dis_oxygen < 5 AND dis_oxygen <> -99"
            << "water_logical.txt";
        QTest::newRow("water, a band of the reach")
            << int(SampleKind::Water) << 1 << 0.45 << 0.55 << QString() << "water_graphical.txt";
        QTest::newRow("invertebrates, a band of the reach")
            << int(SampleKind::Invert) << 2 << 0.3 << 0.5 << QString() << "invert_graphical.txt";
        QTest::newRow("fish, one species")
            << int(SampleKind::Fish) << 1 << 0.0 << 0.0 << "species = 'Bluegill'"
            << "fish_logical.txt";
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
        const QString dataPath = QCoreApplication::applicationDirPath() + QStringLiteral("/data");
        mapcontrol::MapControl map;
        map.resize(457, 473);
        quillfen::SelectionRequest request;
        request.kind = SampleKind(kind);
        request.periodCodes = firstPeriods(request.kind, periods);
        request.dataPath = dataPath;
        quillfen::DrawLayerChoice choice;
        for (const QString& code : request.periodCodes)
            choice.sampleLayers << quillfen::layerCode(request.kind, code);
        quillfen::set_draw_layers(map, dataPath, choice);
        request.graphical = expression.isEmpty();
        request.expression = expression;
        if (request.graphical)
            request.polygon = band(map.wholeBounds(), from, to);

        quillfen::SelectionRun run(map);
        quillfen::RecordGridModel grid;
        const quillfen::SelectionOutcome outcome = run.run(request, grid, false);
        QVERIFY2(outcome.error.isEmpty(), qPrintable(outcome.error));
        QVERIFY(grid.rows() > 2);

        QTemporaryDir folder;
        const QString written = folder.filePath(expected);
        QVERIFY(quillfen::appendGridToFile(grid, request.kind, written).ok());
        const QByteArray bytes = fileBytes(written);
        const QString expectedPath = QStringLiteral(EXPECTED_EXPORTS "/") + expected;
        if (bytes != fileBytes(expectedPath)) {
            folder.setAutoRemove(false);
            QFAIL(qPrintable(QStringLiteral("%1 differs from %2").arg(written, expectedPath)));
        }
    }
};

int runExportIdentityTests(int argc, char** argv) {
    ExportIdentityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_export_identity.moc"
