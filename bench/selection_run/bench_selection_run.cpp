// bench_selection_run [SCALE...] [WORD...] [--repeat N] [--cpu] [--whole-water]
//
// The cost of map redraws that run a selection, on demonstration data folders generated at
// scales 1, 10 and 100 (or those given), each as a ratio to the same redraw without a
// selection (median of several): the first run of a new selection (the grid emptied, as
// "Submit Query" and "Select Graphically" empty it, then a redraw) and a repeat redraw with
// the selection unchanged (zoom, pan). Also the rows listed and the bytes of grid storage per
// cell. With words, only the scenarios whose names contain one of them; --repeat sets the
// number of timed redraws (for profiling); --cpu times the redraws by the processor time of the
// process instead of the clock, steadier on a busy shared machine (waits count as nothing; the
// cold lines keep the clock). Every redraw raises one notification per layer; the
// selection runs at each, as the main window runs it.
//
// The lines marked "cold" come first at each scale, before any table is read: the boxes are
// ticked one by one as in the main window, then the redraw that "Submit Query" asks for is
// timed until the grid is filled.
//
// --whole-water runs one selection only, for a peak-memory measurement with /usr/bin/time -v:
// all 37 water-quality layers of the first scale given, the whole view selected by a polygon.
//
// The data folders are kept under /tmp/quillfen-bench-data/scale-N between runs; a folder that
// another process is generating is waited for.

#include "bench_data_folder.h"

#include "catalogue/sampling_periods.h"
#include "layer_loading/layer_loader.h"
#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "selection_run/selection_run.h"
#include "tabledb/table_database.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace quillfen;

namespace {

bool timeByProcessor = false;

/// Milliseconds on the clock, or of the process's processor time with --cpu.
double nowMillis() {
    if (!timeByProcessor) {
        static QElapsedTimer clock;
        if (!clock.isValid())
            clock.start();
        return double(clock.nsecsElapsed()) / 1e6;
    }
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return double(time.tv_sec) * 1e3 + double(time.tv_nsec) / 1e6;
}

/// The period codes of the enabled boxes of a kind, in box order, at most `limit`.
QStringList periodCodes(SampleKind kind, int limit = 1000) {
    QStringList codes;
    for (const SamplingPeriod& period : samplingPeriods(kind)) {
        if (period.enabled && codes.size() < limit)
            codes << period.periodCode;
    }
    return codes;
}

/// The western half of a rectangle as a polygon: for this reach, half of the samples.
mapcontrol::Shape westernHalf(const mapcontrol::Rect& r) {
    const double middle = (r.minX + r.maxX) / 2;
    return mapcontrol::Shape::polygon(
        {{r.minX, r.minY}, {middle, r.minY}, {middle, r.maxY}, {r.minX, r.maxY}});
}

struct Scenario {
    const char* name;
    SampleKind kind;
    QStringList codes;
    bool graphical;
    QString expression;
};

/// A map the size of the main window's, with the selection run wired to its notifications as
/// the main window wires it.
class Bench {
public:
    explicit Bench(const QString& folder) : folder_(folder), run_(map_) {
        map_.resize(457, 473);
        QObject::connect(&map_, &mapcontrol::MapControl::layerDrawStarting, [this](int position) {
            if (position == map_.layerCount() - 1)
                run_.beginRedraw();
        });
        // Every layer here is visible: position 0 is drawn last and carries the highlights.
        QObject::connect(&map_, &mapcontrol::MapControl::layerDrawn, [this](int position) {
            if (selecting_)
                run_.run(request_, grid_, position == 0);
        });
    }

    void load(const Scenario& scenario) {
        DrawLayerChoice choice;
        choice.landWater = true;
        for (const QString& code : scenario.codes)
            choice.sampleLayers << layerCode(scenario.kind, code);
        rebuildLayerStack(map_, folder_, choice);
        QCoreApplication::processEvents();
        map_.setViewBounds(map_.wholeBounds());
        request_ = SelectionRequest();
        request_.kind = scenario.kind;
        request_.periodCodes = scenario.codes;
        request_.graphical = scenario.graphical;
        request_.expression = scenario.expression;
        request_.dataPath = folder_;
        if (scenario.graphical)
            request_.polygon = westernHalf(map_.wholeBounds());
    }

    mapcontrol::Rect wholeBounds() const { return map_.wholeBounds(); }
    void setPolygon(const mapcontrol::Shape& polygon) { request_.polygon = polygon; }

    /// Median time of a redraw in milliseconds, after one redraw that is not counted. With
    /// `fresh`, the grid is emptied before each redraw, as a new selection empties it.
    double redrawMillis(bool selecting, int repetitions, bool fresh = false) {
        selecting_ = selecting;
        map_.redrawAll();
        std::vector<double> times;
        for (int i = 0; i < repetitions; ++i) {
            if (fresh)
                grid_.clear();
            const double start = nowMillis();
            map_.redrawAll();
            times.push_back(nowMillis() - start);
        }
        selecting_ = false;
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    /// The first selection right after ticking, its tables not read yet: ticks the
    /// scenario's boxes one by one as the main window does (each tick rebuilds the stack,
    /// redraws and starts reading the tables of the ticked periods), then times the redraw
    /// that "Submit Query" asks for, with the selection, until the grid is filled. Returns
    /// the time of that redraw in milliseconds and sets `tickingMillis` to that of the ticks.
    double coldSelectionMillis(const Scenario& scenario, double* tickingMillis) {
        request_ = SelectionRequest();
        request_.kind = scenario.kind;
        request_.periodCodes = scenario.codes;
        request_.expression = scenario.expression;
        request_.dataPath = folder_;
        QElapsedTimer ticking;
        ticking.start();
        DrawLayerChoice choice;
        choice.landWater = true;
        QStringList ticked;
        for (const QString& code : scenario.codes) {
            ticked << code;
            choice.sampleLayers << layerCode(scenario.kind, code);
            rebuildLayerStack(map_, folder_, choice);
            tabledb::Engine::instance().open(folder_).loadAhead(tablesSearched(scenario.kind, ticked));
        }
        *tickingMillis = double(ticking.nsecsElapsed()) / 1e6;
        selecting_ = true;
        QElapsedTimer timer;
        timer.start();
        map_.redrawAll();
        const double millis = double(timer.nsecsElapsed()) / 1e6;
        selecting_ = false;
        return millis;
    }

    int listedRows() const { return grid_.rows(); }
    double bytesPerCell() const {
        return double(grid_.storageBytes()) / (double(grid_.rows()) * grid_.cols());
    }

    /// One redraw with the selection, for a memory measurement.
    void selectOnce() {
        selecting_ = true;
        map_.redrawAll();
        selecting_ = false;
    }

private:
    QString folder_;
    mapcontrol::MapControl map_;
    SelectionRun run_;
    RecordGridModel grid_;
    SelectionRequest request_;
    bool selecting_ = false;
};

} // namespace

/// The whole reach as a polygon, a little larger than the data.
mapcontrol::Shape wholeReach(const mapcontrol::Rect& r) {
    const double margin = (r.maxX - r.minX) / 10;
    return mapcontrol::Shape::polygon({{r.minX - margin, r.minY - margin},
                                       {r.maxX + margin, r.minY - margin},
                                       {r.maxX + margin, r.maxY + margin},
                                       {r.minX - margin, r.maxY + margin}});
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication application(argc, argv);

    QList<int> scales;
    QStringList words;
    int repeat = 0;
    bool wholeWater = false;
    const QStringList arguments = application.arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--repeat") && i + 1 < arguments.size()) {
            repeat = arguments.at(++i).toInt();
            continue;
        }
        if (argument == QLatin1String("--cpu")) {
            timeByProcessor = true;
            continue;
        }
        if (argument == QLatin1String("--whole-water")) {
            wholeWater = true;
            continue;
        }
        bool isScale = false;
        const int scale = argument.toInt(&isScale);
        if (isScale)
            scales << scale;
        else
            words << argument;
    }
    if (scales.isEmpty())
        scales = {1, 10, 100};

    if (wholeWater) {
        Bench bench(benchdata::dataFolder(scales.first()));
        bench.load({"water, whole view", SampleKind::Water, periodCodes(SampleKind::Water), true, {}});
        bench.setPolygon(wholeReach(bench.wholeBounds()));
        bench.selectOnce();
        std::printf("water, whole view, 37 layers, scale %d: %d rows listed\n", scales.first(),
                    bench.listedRows() - 1);
        return 0;
    }

    const QString lowOxygen = QStringLiteral("dis_oxygen < 5 AND dis_oxygen <> -99");
    const QList<Scenario> scenarios = {
        {"water, logical, 10 layers", SampleKind::Water, periodCodes(SampleKind::Water, 10), false,
         lowOxygen},
        {"water, logical, 37 layers", SampleKind::Water, periodCodes(SampleKind::Water), false, lowOxygen},
        {"water, graphical half reach, 37 layers",
         SampleKind::Water,
         periodCodes(SampleKind::Water),
         true,
         {}},
        {"fish, logical species, all periods", SampleKind::Fish, periodCodes(SampleKind::Fish), false,
         QStringLiteral("species = 'Bluegill'")},
        {"fish, graphical half reach, all periods",
         SampleKind::Fish,
         periodCodes(SampleKind::Fish),
         true,
         {}},
    };

    // Logical: their first redraw needs no polygon drawn on the loaded map.
    const QList<Scenario> coldScenarios = {scenarios[1], scenarios[3]};

    std::printf("first run: a redraw with a new selection (grid emptied first); repeat: a redraw with the\n"
                "selection unchanged; both as ratios to the same redraw without a selection\n\n");
    std::printf("%-42s %6s %9s %11s %10s %8s %10s %8s %10s\n", "scenario", "scale", "rows", "without ms",
                "first ms", "first x", "repeat ms", "repeat x", "bytes/cell");
    for (int scale : scales) {
        const QString folder = benchdata::dataFolder(scale);
        const int repetitions = repeat > 0 ? repeat : scale >= 100 ? 3 : 5;
        // First, while no table of this folder has been read: the first selection right after
        // ticking the boxes, from "Submit Query" to the filled grid.
        for (const Scenario& scenario : coldScenarios) {
            const QString name = QString::fromLatin1(scenario.name) + QStringLiteral(", cold");
            if (!words.isEmpty() &&
                std::none_of(words.begin(), words.end(), [&](const QString& w) { return name.contains(w); }))
                continue;
            Bench bench(folder);
            double ticking = 0;
            const double cold = bench.coldSelectionMillis(scenario, &ticking);
            const double without = bench.redrawMillis(false, repetitions);
            std::printf("%-42s %6d %9d %11.1f %10.1f %8.2f %10s %8s %10.2f  (ticking the boxes: %.0f ms)\n",
                        qPrintable(name), scale, bench.listedRows() - 1, without, cold, cold / without, "-",
                        "-", bench.bytesPerCell(), ticking);
            std::fflush(stdout);
        }
        for (const Scenario& scenario : scenarios) {
            const QString name = QString::fromLatin1(scenario.name);
            if (!words.isEmpty() &&
                std::none_of(words.begin(), words.end(), [&](const QString& w) { return name.contains(w); }))
                continue;
            Bench bench(folder);
            bench.load(scenario);
            const double without = bench.redrawMillis(false, repetitions);
            const double first = bench.redrawMillis(true, repetitions, true);
            const double again = bench.redrawMillis(true, repetitions);
            std::printf("%-42s %6d %9d %11.1f %10.1f %8.2f %10.1f %8.2f %10.2f\n", scenario.name, scale,
                        bench.listedRows() - 1, without, first, first / without, again, again / without,
                        bench.bytesPerCell());
            std::fflush(stdout);
        }
    }
    return 0;
}
