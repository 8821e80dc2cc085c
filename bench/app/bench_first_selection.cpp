// bench_first_selection [SCALE...] [WORD...] [--runs N]
//
// The first selection of a session as the user meets it: a fresh main window on the
// demonstration data folder of a scale (default 10 and 100), every box of the scenario's
// periods ticked by a click, the program left until its loading threads are idle, then the
// selection made through the windows, timed from the closing double-click of the polygon (or
// the click on "Submit Query") to the filled grid. Then the same selection made again three
// times in the same session: the warm figure, their median.
//
// Each run is a process of its own (the program started anew), so that nothing of an earlier
// run is cached; --runs sets how many per scenario (default 3). The reference of each line is
// the redraw of the same view with the same layers and no selection, in the same process. With
// words, only the scenarios whose names contain one of them.

#include "bench_data_folder.h"

#include "catalogue/sampling_periods.h"
#include "support/main_window_harness.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace quillfen;

namespace {

struct Scenario {
    const char* name;
    SampleKind kind;
    const char* boxPrefix;
    /// Parameter, operator and value of a logical query; none for a polygon.
    QStringList query;
};

const QList<Scenario>& scenarios() {
    static const QList<Scenario> list = {
        {"fish, graphical half reach, all periods", SampleKind::Fish, "chkfish", {}},
        {"water, graphical half reach, 37 layers", SampleKind::Water, "chkwater", {}},
        {"fish, logical species, all periods", SampleKind::Fish, "chkfish", {"Species", "=", "Bluegill"}},
        {"water, logical, 37 layers", SampleKind::Water, "chkwater", {"Dissolved Oxygen", "<", "5"}},
    };
    return list;
}

double processorMillis() {
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return double(time.tv_sec) * 1e3 + double(time.tv_nsec) / 1e6;
}

/// Lets the window handle its events until the process has used under 2% of one core for
/// half a second: the tables the ticks started reading are loaded.
void waitUntilIdle() {
    for (;;) {
        const double before = processorMillis();
        QTest::qWait(500);
        if (processorMillis() - before < 10)
            return;
    }
}

/// The selection of the scenario made once through the windows; its milliseconds from the
/// closing double-click or the "Submit Query" click to the filled grid.
double selectOnce(testing::WindowDriver& driver, const Scenario& scenario) {
    QElapsedTimer clock;
    if (scenario.query.isEmpty()) {
        driver.clickButton("Command4");
        const QRect area = driver.window.map().rect().adjusted(4, 4, -4, -4);
        const int middle = area.center().x();
        const QVector<QPoint> vertices = {area.topLeft(), QPoint(middle, area.top()),
                                          QPoint(middle, area.bottom()), area.bottomLeft()};
        for (const QPoint& vertex : vertices)
            QTest::mouseClick(&driver.window.map(), Qt::LeftButton, Qt::NoModifier, vertex);
        clock.start();
        QTest::mouseDClick(&driver.window.map(), Qt::LeftButton, Qt::NoModifier, vertices.last());
        QTest::mouseRelease(&driver.window.map(), Qt::LeftButton, Qt::NoModifier, vertices.last());
        driver.settle();
        return double(clock.nsecsElapsed()) / 1e6;
    }
    const bool submitted = driver.driveQueryWindow([&](QWidget* query) {
        testing::clickListItem(testing::control<QListWidget>(query, "List1"), scenario.query[0]);
        testing::clickListItem(testing::control<QListWidget>(query, "List2"), scenario.query[1]);
        QLineEdit* valueBox = testing::control<QComboBox>(query, "Combo1")->lineEdit();
        valueBox->selectAll();
        QTest::keyClicks(valueBox, scenario.query[2]);
        clock.start();
        QTest::mouseClick(testing::control<QPushButton>(query, "Command2"), Qt::LeftButton);
    });
    if (!submitted)
        qFatal("the query window did not take the query of '%s'", scenario.name);
    return double(clock.nsecsElapsed()) / 1e6;
}

/// One run in this process: prints "first warm without rows".
int runOnce(int scale, const Scenario& scenario) {
    quillfen::ScriptedPrompts prompts;
    testing::WindowDriver driver(benchdata::dataFolder(scale));
    for (int box = 0; box < samplingPeriods(scenario.kind).size(); ++box) {
        if (samplingPeriods(scenario.kind).at(box).enabled)
            driver.clickBox(QStringLiteral("%1_%2").arg(QLatin1String(scenario.boxPrefix)).arg(box));
    }
    waitUntilIdle();
    QElapsedTimer clock;
    clock.start();
    driver.window.map().redrawAll();
    const double without = double(clock.nsecsElapsed()) / 1e6;

    const double first = selectOnce(driver, scenario);
    const int rows = driver.grid().rows() - 1;
    std::vector<double> warm;
    for (int i = 0; i < 3; ++i)
        warm.push_back(selectOnce(driver, scenario));
    std::sort(warm.begin(), warm.end());
    if (!prompts.messages.isEmpty())
        qFatal("the selection said: %s", qPrintable(prompts.messages.join(" / ")));
    std::printf("%.1f %.1f %.1f %d\n", first, warm[1], without, rows);
    return 0;
}

struct RunFigures {
    double first = 0, warm = 0, without = 0;
    int rows = 0;
};

RunFigures runInNewProcess(int scale, int scenario) {
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(),
                  {"--one", QString::number(scale), QString::number(scenario)});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("a run failed: %s", process.readAllStandardError().constData());
    const QStringList figures = QString::fromLatin1(process.readAllStandardOutput()).split(' ');
    if (figures.size() != 4)
        qFatal("a run printed no figures");
    return {figures[0].toDouble(), figures[1].toDouble(), figures[2].toDouble(), figures[3].toInt()};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() == 3 && arguments[0] == QLatin1String("--one"))
        return runOnce(arguments[1].toInt(), scenarios().at(arguments[2].toInt()));

    QList<int> scales;
    QStringList words;
    int runs = 3;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--runs") && i + 1 < arguments.size()) {
            runs = std::max(1, arguments[++i].toInt());
            continue;
        }
        bool isScale = false;
        const int scale = arguments[i].toInt(&isScale);
        if (isScale)
            scales << scale;
        else
            words << arguments[i];
    }
    if (scales.isEmpty())
        scales = {10, 100};

    std::printf("first: the first selection of a session through the main window; warm: the same selection\n"
                "again in that session; both in ms and as ratios to the same redraw without a selection\n\n");
    std::printf("%-42s %6s %9s %11s %18s %9s %8s\n", "scenario", "scale", "rows", "without ms",
                "first ms (runs)", "warm ms", "first x");
    for (int scale : scales) {
        benchdata::dataFolder(scale);
        for (int s = 0; s < scenarios().size(); ++s) {
            const QString name = QString::fromLatin1(scenarios()[s].name);
            if (!words.isEmpty() &&
                std::none_of(words.begin(), words.end(), [&](const QString& w) { return name.contains(w); }))
                continue;
            std::vector<double> first, warm, without;
            QStringList each;
            int rows = 0;
            for (int run = 0; run < runs; ++run) {
                const RunFigures figures = runInNewProcess(scale, s);
                first.push_back(figures.first);
                warm.push_back(figures.warm);
                without.push_back(figures.without);
                each << QString::number(figures.first, 'f', 0);
                rows = figures.rows;
            }
            std::printf("%-42s %6d %9d %11.1f %8.1f (%s) %9.1f %8.2f\n", qPrintable(name), scale, rows,
                        median(without), median(first), qPrintable(each.join(',')), median(warm),
                        median(first) / median(without));
            std::fflush(stdout);
        }
    }
    return 0;
}
