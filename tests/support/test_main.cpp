#include "support/test_main.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv) {
    // Fixed logical pixels, so that the designed twips give the same window sizes everywhere.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication application(argc, argv);
    int failures = 0;
    for (const auto& make : testing::registeredTests())
        failures += QTest::qExec(make().get(), argc, argv);
    return failures;
}
