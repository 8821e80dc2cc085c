#pragma once

#include <QString>
#include <QVariantList>
#include <QVector>

#include <ogr_core.h>

/// A field of a dBASE table written by the tests.
struct FieldSpec {
    QString name;
    OGRFieldType type;
    int width = 0;
    int precision = 0;
};

/// Writes a dBASE table through OGR, replacing the file. Row values: an invalid QVariant is an
/// empty (null) value, QDate a date, int/qlonglong an integer, double a real, QString text.
/// Returns false when OGR cannot write it.
bool writeDbf(const QString& path, const QVector<FieldSpec>& fields, const QVector<QVariantList>& rows);
