// bench_selection_run [SCALE...] [WORD...] [--repeat N]
//
// The cost of a map redraw that runs a selection, as the time of that redraw divided by the
// time of the same redraw without a selection (median of several), on demonstration data
// folders generated at scales 1, 10 and 100 (or those given); with words, only the scenarios
// whose names contain one of them; --repeat sets the number of timed redraws (for profiling). Every redraw
// raises one notification per layer; the selection runs at each, as the main window runs it.
//
// The data folders are kept under /tmp/quillfen-bench-data/scale-N between runs.

#include "layer_selection/sampling_periods.h"
#include "layers/layer_loader.h"
#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "selection_run/selection_run.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quillfen;

namespace {

const QString kCacheFolder = QStringLiteral("/tmp/quillfen-bench-data");

/// The data folder of a scale, generated when it is not there yet.
QString dataFolder(int scale) {
    const QString folder = kCacheFolder + QStringLiteral("/scale-%1").arg(scale);
    const QString marker = folder + QStringLiteral("/.complete");
    if (QFile::exists(marker))
        return folder;
    std::printf("generating the data folder at scale %d ...\n", scale);
    std::fflush(stdout);
    QDir(folder).removeRecursively();
    const int status = QProcess::execute(QCoreApplication::applicationDirPath() + "/quillfen-sample-data",
                                         {folder, "--scale", QString::number(scale)});
    if (status != 0)
        qFatal("the generator failed at scale %d", scale);
    QFile(marker).open(QIODevice::WriteOnly);
    return folder;
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
        set_draw_layers(map_, folder_, choice);
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

    /// Median time of a redraw in milliseconds, after one redraw that is not counted.
    double redrawMillis(bool selecting, int repetitions) {
        selecting_ = selecting;
        map_.redrawAll();
        std::vector<double> times;
        for (int i = 0; i < repetitions; ++i) {
            QElapsedTimer timer;
            timer.start();
            map_.redrawAll();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        selecting_ = false;
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    /// Median time in milliseconds of one run of the selection by itself, outside a redraw:
    /// what a redraw would cost on top of drawing if the run were done once per redraw.
    double oneRunMillis(int repetitions) {
        std::vector<double> times;
        for (int i = 0; i < repetitions; ++i) {
            run_.beginRedraw();
            QElapsedTimer timer;
            timer.start();
            run_.run(request_, grid_, true);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    int listedRows() const { return grid_.rows(); }

private:
    QString folder_;
    mapcontrol::MapControl map_;
    SelectionRun run_;
    RecordGridModel grid_;
    SelectionRequest request_;
    bool selecting_ = false;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication application(argc, argv);

    QList<int> scales;
    QStringList words;
    int repeat = 0;
    const QStringList arguments = application.arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--repeat") && i + 1 < arguments.size()) {
            repeat = arguments.at(++i).toInt();
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

    std::printf("ratio: redraw with the selection / the same redraw without; runs: the extra time of the\n"
                "redraw / one run of the selection by itself (1 = the redraw costs one run)\n\n");
    std::printf("%-42s %6s %10s %11s %11s %11s %8s %6s\n", "scenario", "scale", "grid rows", "without ms",
                "with ms", "one run ms", "ratio", "runs");
    for (int scale : scales) {
        const QString folder = dataFolder(scale);
        const int repetitions = repeat > 0 ? repeat : scale >= 100 ? 3 : 5;
        for (const Scenario& scenario : scenarios) {
            const QString name = QString::fromLatin1(scenario.name);
            if (!words.isEmpty() &&
                std::none_of(words.begin(), words.end(), [&](const QString& w) { return name.contains(w); }))
                continue;
            Bench bench(folder);
            bench.load(scenario);
            const double without = bench.redrawMillis(false, repetitions);
            const double with = bench.redrawMillis(true, repetitions);
            const double oneRun = bench.oneRunMillis(repetitions);
            std::printf("%-42s %6d %10d %11.1f %11.1f %11.1f %8.2f %6.2f\n", scenario.name, scale,
                        bench.listedRows() - 1, without, with, oneRun, with / without,
                        (with - without) / oneRun);
            std::fflush(stdout);
        }
    }
    return 0;
}
