#include "catalogue/sample_symbols.h"

#include <QHash>
#include <QVector>

namespace quillfen {
namespace {

// Colour by kind, season and era; marker by the year's place in its era (water and fish),
// every four years (macro-invertebrates), squares throughout (vegetation).
const QVector<SampleSymbol> kSampleSymbols = {
    {"kxw93sm", 255, 0, 0, SampleMarker::Circle},       {"kxw93fl", 0, 255, 0, SampleMarker::Circle},
    {"kxw94wn", 0, 0, 255, SampleMarker::Square},       {"kxw94sp", 255, 0, 255, SampleMarker::Square},
    {"kxw94sm", 255, 0, 0, SampleMarker::Square},       {"kxw94fl", 0, 255, 0, SampleMarker::Square},
    {"kxw95wn", 0, 0, 255, SampleMarker::Triangle},     {"kxw95sp", 255, 0, 255, SampleMarker::Triangle},
    {"kxw95sm", 255, 0, 0, SampleMarker::Triangle},     {"kxw95fl", 0, 255, 0, SampleMarker::Triangle},
    {"kxw96wn", 0, 0, 255, SampleMarker::Cross},        {"kxw96sp", 255, 0, 255, SampleMarker::Cross},
    {"kxw96sm", 255, 0, 0, SampleMarker::Cross},        {"kxw96fl", 0, 255, 0, SampleMarker::Cross},
    {"kxw97wn", 192, 192, 192, SampleMarker::Circle},   {"kxw97sp", 64, 128, 128, SampleMarker::Circle},
    {"kxw97sm", 128, 128, 0, SampleMarker::Circle},     {"kxw97fl", 128, 0, 0, SampleMarker::Circle},
    {"kxw98wn", 192, 192, 192, SampleMarker::Square},   {"kxw98sp", 64, 128, 128, SampleMarker::Square},
    {"kxw98sm", 128, 128, 0, SampleMarker::Square},     {"kxw98fl", 128, 0, 0, SampleMarker::Square},
    {"kxw99wn", 192, 192, 192, SampleMarker::Triangle}, {"kxw99sp", 64, 128, 128, SampleMarker::Triangle},
    {"kxw99sm", 128, 128, 0, SampleMarker::Triangle},   {"kxw99fl", 128, 0, 0, SampleMarker::Triangle},
    {"kxw00wn", 0, 64, 128, SampleMarker::Circle},      {"kxw00sp", 0, 128, 0, SampleMarker::Circle},
    {"kxw00sm", 128, 128, 128, SampleMarker::Circle},   {"kxw00fl", 128, 64, 64, SampleMarker::Circle},
    {"kxw01wn", 0, 64, 128, SampleMarker::Square},      {"kxw01sp", 0, 128, 0, SampleMarker::Square},
    {"kxw01sm", 128, 128, 128, SampleMarker::Square},   {"kxw01fl", 128, 64, 64, SampleMarker::Square},
    {"kxw02wn", 0, 64, 128, SampleMarker::Triangle},    {"kxw02sp", 0, 128, 0, SampleMarker::Triangle},
    {"kxw02sm", 128, 128, 128, SampleMarker::Triangle}, {"kxw02fl", 128, 64, 64, SampleMarker::Triangle},
    {"kxf93sm", 255, 0, 0, SampleMarker::Circle},       {"kxf93fl", 0, 0, 255, SampleMarker::Circle},
    {"kxf94sp", 255, 0, 255, SampleMarker::Square},     {"kxf94sm", 255, 0, 0, SampleMarker::Square},
    {"kxf94fl", 0, 0, 255, SampleMarker::Square},       {"kxf95sp", 255, 0, 255, SampleMarker::Triangle},
    {"kxf95sm", 255, 0, 0, SampleMarker::Triangle},     {"kxf95fl", 0, 0, 255, SampleMarker::Triangle},
    {"kxf96sp", 255, 0, 255, SampleMarker::Cross},      {"kxf96sm", 255, 0, 0, SampleMarker::Cross},
    {"kxf96fl", 0, 0, 255, SampleMarker::Cross},        {"kxf97sp", 192, 192, 192, SampleMarker::Circle},
    {"kxf97sm", 128, 128, 0, SampleMarker::Circle},     {"kxf97fl", 128, 0, 0, SampleMarker::Circle},
    {"kxf98sp", 192, 192, 192, SampleMarker::Square},   {"kxf98sm", 128, 128, 0, SampleMarker::Square},
    {"kxf98fl", 128, 0, 0, SampleMarker::Square},       {"kxf99sp", 192, 192, 192, SampleMarker::Triangle},
    {"kxf99sm", 128, 128, 0, SampleMarker::Triangle},   {"kxf99fl", 128, 0, 0, SampleMarker::Triangle},
    {"kxf00sp", 0, 128, 0, SampleMarker::Circle},       {"kxf00sm", 128, 128, 128, SampleMarker::Circle},
    {"kxf00fl", 128, 64, 64, SampleMarker::Circle},     {"kxf01sp", 0, 128, 0, SampleMarker::Square},
    {"kxf01sm", 128, 128, 128, SampleMarker::Square},   {"kxf01fl", 128, 64, 64, SampleMarker::Square},
    {"kxf02sp", 0, 128, 0, SampleMarker::Triangle},     {"kxf02sm", 128, 128, 128, SampleMarker::Triangle},
    {"kxf02fl", 128, 64, 64, SampleMarker::Triangle},   {"kxi93", 255, 0, 0, SampleMarker::Circle},
    {"kxi94", 0, 0, 255, SampleMarker::Circle},         {"kxi95", 255, 128, 0, SampleMarker::Circle},
    {"kxi96", 255, 0, 255, SampleMarker::Circle},       {"kxi97", 255, 0, 0, SampleMarker::Square},
    {"kxi98", 0, 0, 255, SampleMarker::Square},         {"kxi99", 255, 128, 0, SampleMarker::Square},
    {"kxi00", 255, 0, 255, SampleMarker::Square},       {"kxi01", 255, 0, 0, SampleMarker::Triangle},
    {"kxi02", 0, 0, 255, SampleMarker::Triangle},       {"kxv98", 128, 128, 0, SampleMarker::Square},
    {"kxv99", 0, 255, 0, SampleMarker::Square},         {"kxv00", 255, 0, 0, SampleMarker::Square},
    {"kxv01", 0, 0, 255, SampleMarker::Square},         {"kxv02", 255, 128, 0, SampleMarker::Square},
};

// The names of the colours the markers use.
const struct {
    int red, green, blue;
    const char* name;
} kColourNames[] = {
    {255, 0, 0, "red"},        {0, 255, 0, "green"},      {0, 0, 255, "blue"},     {255, 0, 255, "magenta"},
    {192, 192, 192, "silver"}, {64, 128, 128, "teal"},    {128, 128, 0, "olive"},  {128, 0, 0, "maroon"},
    {0, 64, 128, "dark blue"}, {0, 128, 0, "dark green"}, {128, 128, 128, "grey"}, {128, 64, 64, "brown"},
    {255, 128, 0, "orange"},
};

const char* const kMarkerNames[] = {"circle", "square", "triangle", "cross"};

} // namespace

QString SampleSymbol::description() const {
    QString colour = QString::asprintf("#%02x%02x%02x", red, green, blue);
    for (const auto& named : kColourNames) {
        if (named.red == red && named.green == green && named.blue == blue)
            colour = named.name;
    }
    return colour + ' ' + kMarkerNames[int(marker)];
}

const SampleSymbol* sampleSymbol(const QString& layerCode) {
    static const QHash<QString, int> byCode = [] {
        QHash<QString, int> index;
        for (int i = 0; i < kSampleSymbols.size(); ++i)
            index.insert(kSampleSymbols[i].layerCode, i);
        return index;
    }();
    auto it = byCode.find(layerCode);
    return it == byCode.end() ? nullptr : &kSampleSymbols[*it];
}

} // namespace quillfen
