#include <QApplication>

// Each test file of this folder holds one test class and a function that runs it.
int runWindowSelectionTests(int argc, char** argv);
int runSelectionRunTests(int argc, char** argv);

int main(int argc, char** argv) {
    // Fixed logical pixels, so that the designed twips give the same map size everywhere.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication application(argc, argv);
    return runWindowSelectionTests(argc, argv) + runSelectionRunTests(argc, argv);
}
