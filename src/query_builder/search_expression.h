#pragma once

#include "catalogue/sampling_periods.h"

#include <QString>

namespace quillfen {

/// The condition state of the query window: one condition, or two joined by a connector.
/// Parameters are display names of the parameter list, operators are ">", "<" or "=", values
/// are the value box's text as typed or picked. Everything starts empty or false.
struct QueryCondition {
    QString query_param_1;
    QString query_param_2;
    QString query_oper_1;
    QString query_oper_2;
    QString query_value_1;
    QString query_value_2;
    QString query_connector;          ///< "AND" or "OR"
    bool query_compound_flag = false; ///< true once a connector is chosen: the second condition is edited
    bool query_param1_string_flag = false; ///< the first value is a coded text, compared quoted
    bool query_param2_string_flag = false; ///< the same for the second value
};

/// Whether a numeric parameter's value is a decimal number: an optional sign, digits with at
/// most one decimal point (at least one digit), and an optional exponent ("e" or "E", an
/// optional sign, digits). Nothing else, no blanks: such a value is put into the search as
/// typed.
bool isDecimalNumber(const QString& value);

/// The search expression for `condition` on the fields of `kind`, as the map search and the
/// companion-table selects evaluate it. A text value is written between apostrophes, with any
/// apostrophe inside it doubled; a numeric value is written as typed and its field is also
/// required to differ from -99, the missing-value mark. Empty when a parameter is not one of
/// the kind's: no search ever tests a field without a name.
QString buildSearchExpression(SampleKind kind, const QueryCondition& condition);

} // namespace quillfen
