#include <QApplication>

// Each file of this folder holds one test class and a function that runs it.
int runRecordGridTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    failures += runRecordGridTests(argc, argv);
    return failures;
}
