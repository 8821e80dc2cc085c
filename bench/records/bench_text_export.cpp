// bench_text_export [SCALE...]
//
// "Save as Text File" of a selection against `ogr2ogr -f CSV` converting a shapefile that holds
// just the selected rows, on demonstration data folders at scales 10 and 100 (or those given).
// The selection: dissolved oxygen below 5 on all 37 water-quality layers. The shapefile is
// written beforehand, untimed, with `ogr2ogr -append -where` from each layer. Printed: the
// rows, the median times and ogr2ogr's time divided by ours (above 1: the export is faster).

#include "bench_data_folder.h"

#include "catalogue/sampling_periods.h"
#include "layer_loading/layer_loader.h"
#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "records/text_export.h"
#include "selection_run/selection_run.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace quillfen;

namespace {

const QString kCondition = QStringLiteral("dis_oxygen < 5 AND dis_oxygen <> -99");
constexpr int kRepetitions = 5;

QStringList waterPeriods() {
    QStringList codes;
    for (const SamplingPeriod& period : samplingPeriods(SampleKind::Water)) {
        if (period.enabled)
            codes << period.periodCode;
    }
    return codes;
}

double medianMillis(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < kRepetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void runOrDie(const QStringList& arguments) {
    if (QProcess::execute(QStringLiteral("ogr2ogr"), arguments) != 0)
        qFatal("ogr2ogr %s failed", qPrintable(arguments.join(' ')));
}

/// The selection's records in a grid, as the records window holds them.
int selectInto(RecordGridModel& grid, const QString& folder, const QStringList& codes) {
    mapcontrol::MapControl map;
    map.resize(457, 473);
    DrawLayerChoice choice;
    for (const QString& code : codes)
        choice.sampleLayers << layerCode(SampleKind::Water, code);
    rebuildLayerStack(map, folder, choice);
    SelectionRequest request;
    request.kind = SampleKind::Water;
    request.periodCodes = codes;
    request.expression = kCondition;
    request.dataPath = folder;
    SelectionRun run(map);
    run.run(request, grid, false);
    return grid.rows() - 1;
}

void benchmarkScale(int scale) {
    const QString folder = benchdata::dataFolder(scale);
    const QStringList codes = waterPeriods();
    RecordGridModel grid;
    const int rows = selectInto(grid, folder, codes);

    QTemporaryDir work;
    const QString selected = work.filePath(QStringLiteral("selected.shp"));
    for (const QString& code : codes) {
        runOrDie({"-q", "-append", "-where", kCondition, "-nln", "selected", selected,
                  folder + "/" + layerCode(SampleKind::Water, code) + ".shp"});
    }
    const QString csv = work.filePath(QStringLiteral("selected.csv"));
    const double reference = medianMillis([&] {
        QFile::remove(csv);
        runOrDie({"-f", "CSV", csv, selected});
    });
    const QString text = work.filePath(QStringLiteral("selected.txt"));
    const double ours = medianMillis([&] {
        QFile::remove(text);
        if (!appendGridToFile(grid, SampleKind::Water, text).ok())
            qFatal("the export failed");
    });
    std::printf(
        "scale %4d: %7d rows, text export %8.1f ms, ogr2ogr -f CSV %8.1f ms, ogr2ogr / export %6.2f\n", scale,
        rows, ours, reference, reference / ours);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QList<int> scales;
    for (const QString& argument : application.arguments().mid(1))
        scales << argument.toInt();
    if (scales.isEmpty())
        scales = {10, 100};
    for (int scale : scales)
        benchmarkScale(scale);
    return 0;
}
