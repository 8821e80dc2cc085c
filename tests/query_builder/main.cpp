#include "test_query_window.h"
#include "test_search_expression.h"

#include <QApplication>
#include <QtTest>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    TestSearchExpression expression;
    failures += QTest::qExec(&expression, argc, argv);
    TestQueryWindow window;
    failures += QTest::qExec(&window, argc, argv);
    return failures;
}
