#include <QApplication>

// Each file of this folder holds one test class and a function that runs it.
int runRecordGridTests(int argc, char** argv);
int runTextExportTests(int argc, char** argv);
int runSelRecsWindowTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    failures += runRecordGridTests(argc, argv);
    failures += runTextExportTests(argc, argv);
    failures += runSelRecsWindowTests(argc, argv);
    return failures;
}
