#include <QApplication>

// Each file of this folder holds one test class and a function that runs it.
int runSearchExpressionTests(int argc, char** argv);
int runQueryWindowTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return runSearchExpressionTests(argc, argv) + runQueryWindowTests(argc, argv);
}
