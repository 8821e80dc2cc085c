#include "query_builder/search_expression.h"

#include "catalogue/sample_schema.h"

#include <QRegularExpression>

namespace quillfen {
namespace {

QString quoted(QString text) {
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString comparison(const QString& field, const QString& oper, const QString& value, bool isText) {
    const QString head = field + QLatin1Char(' ') + oper + QLatin1Char(' ');
    if (isText)
        return head + quoted(value);
    return head + value + QLatin1String(" AND ") + field + QLatin1String(" <> -99");
}

} // namespace

bool isDecimalNumber(const QString& value) {
    static const QRegularExpression decimal(QRegularExpression::anchoredPattern(
        QStringLiteral("[+-]?([0-9]+[.]?[0-9]*|[.][0-9]+)([eE][+-]?[0-9]+)?")));
    return decimal.match(value).hasMatch();
}

QString buildSearchExpression(SampleKind kind, const QueryCondition& c) {
    const QString firstField = queryField(kind, c.query_param_1);
    const QString secondField = c.query_compound_flag ? queryField(kind, c.query_param_2) : firstField;
    if (firstField.isEmpty() || secondField.isEmpty())
        return QString();
    const QString first = comparison(firstField, c.query_oper_1, c.query_value_1, c.query_param1_string_flag);
    if (!c.query_compound_flag)
        return first;
    const QString second =
        comparison(secondField, c.query_oper_2, c.query_value_2, c.query_param2_string_flag);
    return first + QLatin1Char(' ') + c.query_connector + QLatin1Char(' ') + second;
}

} // namespace quillfen
