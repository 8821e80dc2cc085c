#include "stroke_lettering.h"

#include <QHash>
#include <QStringList>

namespace quillfen::sample_data {
namespace {

// Strokes on a grid 4 units wide and 6 tall (y down): strokes separated by ';', points by ' '.
const QHash<QChar, QString>& glyphs() {
    static const QHash<QChar, QString> table = {
        {'A', "0,6 2,0 4,6;1,3.5 3,3.5"},
        {'B', "0,6 0,0 3,0 4,1 4,2 3,3 0,3;3,3 4,4 4,5 3,6 0,6"},
        {'C', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5"},
        {'D', "0,0 0,6 2.5,6 4,4.5 4,1.5 2.5,0 0,0"},
        {'E', "4,0 0,0 0,6 4,6;0,3 3,3"},
        {'F', "4,0 0,0 0,6;0,3 3,3"},
        {'G', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3.5 2.5,3.5"},
        {'H', "0,0 0,6;4,0 4,6;0,3 4,3"},
        {'I', "1,0 3,0;2,0 2,6;1,6 3,6"},
        {'J', "4,0 4,5 3,6 1,6 0,5"},
        {'K', "0,0 0,6;4,0 0,3.5;1.3,2.7 4,6"},
        {'L', "0,0 0,6 4,6"},
        {'M', "0,6 0,0 2,3 4,0 4,6"},
        {'N', "0,6 0,0 4,6 4,0"},
        {'O', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
        {'P', "0,6 0,0 3,0 4,1 4,2 3,3 0,3"},
        {'Q', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;2.5,4.5 4,6"},
        {'R', "0,6 0,0 3,0 4,1 4,2 3,3 0,3;2,3 4,6"},
        {'S', "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5"},
        {'T', "0,0 4,0;2,0 2,6"},
        {'U', "0,0 0,5 1,6 3,6 4,5 4,0"},
        {'V', "0,0 2,6 4,0"},
        {'W', "0,0 1,6 2,2.5 3,6 4,0"},
        {'X', "0,0 4,6;4,0 0,6"},
        {'Y', "0,0 2,3 4,0;2,3 2,6"},
        {'Z', "0,0 4,0 0,6 4,6"},
        {'0', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
        {'1', "1,1 2,0 2,6;1,6 3,6"},
        {'2', "0,1 1,0 3,0 4,1 4,2 0,6 4,6"},
        {'3', "0,1 1,0 3,0 4,1 4,2 3,3 1.5,3;3,3 4,4 4,5 3,6 1,6 0,5"},
        {'4', "3,6 3,0 0,4 4,4"},
        {'5', "4,0 0,0 0,3 3,3 4,4 4,5 3,6 0,6"},
        {'6', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,4 3,3 0,3"},
        {'7', "0,0 4,0 1.5,6"},
        {'8', "1,3 0,2 0,1 1,0 3,0 4,1 4,2 3,3 1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3"},
        {'9', "0,5 1,6 3,6 4,5 4,1 3,0 1,0 0,1 0,2 1,3 4,3"},
        {'.', "1.7,5.6 2.3,5.6 2.3,6 1.7,6 1.7,5.6"},
        {':', "1.7,1.6 2.3,1.6 2.3,2 1.7,2 1.7,1.6;1.7,5.6 2.3,5.6 2.3,6 1.7,6 1.7,5.6"},
        {'-', "1,3 3,3"},
    };
    return table;
}

constexpr double kGridHeight = 6.0;
constexpr double kAdvance = 5.6; ///< glyph width plus spacing, in grid units

QPointF gridPoint(const QString& pair, double left) {
    const QStringList xy = pair.split(',');
    return QPointF((left + xy.at(0).toDouble()) / kGridHeight, xy.at(1).toDouble() / kGridHeight);
}

} // namespace

QPainterPath strokeLettering(const QString& text) {
    QPainterPath path;
    double left = 0;
    for (QChar c : text) {
        const QString strokes = glyphs().value(c.toUpper());
        for (const QString& stroke : strokes.split(';', Qt::SkipEmptyParts)) {
            const QStringList points = stroke.split(' ', Qt::SkipEmptyParts);
            path.moveTo(gridPoint(points.first(), left));
            for (int i = 1; i < points.size(); ++i)
                path.lineTo(gridPoint(points.at(i), left));
        }
        left += kAdvance;
    }
    return path;
}

double letteringWidth(const QString& text) {
    return (text.size() * kAdvance - (kAdvance - 4)) / kGridHeight;
}

} // namespace quillfen::sample_data
