#include "query_builder/search_expression.h"

#include <QtTest>

using namespace quillfen;

namespace {

QueryCondition one(const QString& param, const QString& oper, const QString& value, bool text) {
    QueryCondition c;
    c.query_param_1 = param;
    c.query_oper_1 = oper;
    c.query_value_1 = value;
    c.query_param1_string_flag = text;
    return c;
}

QueryCondition two(QueryCondition first, const QString& connector, const QString& param, const QString& oper,
                   const QString& value, bool text) {
    first.query_compound_flag = true;
    first.query_connector = connector;
    first.query_param_2 = param;
    first.query_oper_2 = oper;
    first.query_value_2 = value;
    first.query_param2_string_flag = text;
    return first;
}

} // namespace

class TestSearchExpression : public QObject {
    Q_OBJECT
private slots:
    void expressionFollowsTheConditionState_data() {
        QTest::addColumn<SampleKind>("kind");
        QTest::addColumn<QueryCondition>("condition");
        QTest::addColumn<QString>("expression");
        QTest::newRow("a numeric comparison also excludes the missing-value mark")
            << SampleKind::Water << one("Dissolved Oxygen", "<", "5", false)
            << "dis_oxygen < 5 AND dis_oxygen <> -99";
        QTest::newRow("a coded value is compared between apostrophes")
            << SampleKind::Water << one("Stratum", "=", "Main Channel", true) << "stratum_c = 'Main Channel'";
        QTest::newRow("two coded fish conditions joined by AND")
            << SampleKind::Fish
            << two(one("Stratum", "=", "Backwater-offshore", true), "AND", "Species", "=", "Bluegill", true)
            << "stratum = 'Backwater-offshore' AND species = 'Bluegill'";
        QTest::newRow("two numeric conditions joined by OR each exclude -99")
            << SampleKind::Water << two(one("Temperature", ">", "20", false), "OR", "pH", ">", "8", false)
            << "temp > 20 AND temp <> -99 OR ph > 8 AND ph <> -99";
        QTest::newRow("a typed non-number is written unchecked")
            << SampleKind::Water << one("Temperature", ">", "abc", false) << "temp > abc AND temp <> -99";
        QTest::newRow("a numeric value is not trimmed")
            << SampleKind::Water << one("Dissolved Oxygen", "<", " 5 ", false)
            << "dis_oxygen <  5  AND dis_oxygen <> -99";
        QTest::newRow("a coded value with > compares text")
            << SampleKind::Invert << one("Percent Veg", ">", "1-20%", true) << "pct_veg > '1-20%'";
        QTest::newRow("both conditions may test one field")
            << SampleKind::Water
            << two(one("Temperature", ">", "10", false), "AND", "Temperature", "<", "20", false)
            << "temp > 10 AND temp <> -99 AND temp < 20 AND temp <> -99";
        QTest::newRow("the second condition uses the kind's field table and its own text flag")
            << SampleKind::Water
            << two(one("Stratum", "=", "Isolated", true), "OR", "Total P", ">", "0.1", false)
            << "stratum_c = 'Isolated' OR total_phos > 0.1 AND total_phos <> -99";
        QTest::newRow("an apostrophe in a quoted value is doubled")
            << SampleKind::Veg << one("Species", "=", "Coon's Tail", true) << "species = 'Coon''s Tail'";
        QTest::newRow("every apostrophe of a second quoted value is doubled")
            << SampleKind::Fish
            << two(one("Fish Count", ">", "2", false), "AND", "Species", "=", "'a'b'", true)
            << "count > 2 AND count <> -99 AND species = '''a''b'''";
        QueryCondition leftOver = two(one("pH", "<", "7", false), "AND", "Secchi", ">", "30", false);
        leftOver.query_compound_flag = false;
        QTest::newRow("a second condition left over without the connector flag is not written")
            << SampleKind::Water << leftOver << "ph < 7 AND ph <> -99";
        QTest::newRow("a parameter of another kind gives no search at all")
            << SampleKind::Fish
            << two(one("Percent Veg", ">", "1-20%", true), "OR", "Mayflies", ">", "100", false) << QString();
        QTest::newRow("an empty second parameter gives no search at all")
            << SampleKind::Water << two(one("pH", "<", "7", false), "AND", "", "", "", false) << QString();
        QTest::newRow("no parameter picked gives no search at all")
            << SampleKind::Water << one("", "", "", false) << QString();
    }
    void expressionFollowsTheConditionState() {
        QFETCH(SampleKind, kind);
        QFETCH(QueryCondition, condition);
        QFETCH(QString, expression);
        QCOMPARE(buildSearchExpression(kind, condition), expression);
    }
};

int runSearchExpressionTests(int argc, char** argv) {
    TestSearchExpression test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_search_expression.moc"
