#include <QApplication>

int runMapDrawingTests(int argc, char** argv);
int runMapToolTests(int argc, char** argv);
int runMapSearchTests(int argc, char** argv);

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runMapDrawingTests, runMapToolTests, runMapSearchTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
