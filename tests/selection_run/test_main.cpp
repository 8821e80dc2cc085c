#include <QApplication>

// Each test file of this folder holds one test class and a function that runs it.
int runLogicalSelectionTests(int argc, char** argv);
int runGraphicalSelectionTests(int argc, char** argv);
int runExportIdentityTests(int argc, char** argv);
int runResultReuseTests(int argc, char** argv);

int main(int argc, char** argv) {
    // Fixed logical pixels, so that the designed twips give the same map size everywhere.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication application(argc, argv);
    int failures = 0;
    failures += runLogicalSelectionTests(argc, argv);
    failures += runGraphicalSelectionTests(argc, argv);
    failures += runExportIdentityTests(argc, argv);
    failures += runResultReuseTests(argc, argv);
    return failures;
}
