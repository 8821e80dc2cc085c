#include "catalogue/sample_symbols.h"

#include <QHash>
#include <QVector>

namespace quillfen {
namespace {

// Colour by kind, season and era; marker by the year's place in its era (water and fish),
// every four years (macro-invertebrates), squares throughout (vegetation).
const QVector<SampleSymbol> kSampleSymbols = {
    {"kxw93sm", 255, 0, 0, mapcontrol::Circle},
    {"kxw93fl", 0, 255, 0, mapcontrol::Circle},
    {"kxw94wn", 0, 0, 255, mapcontrol::Square},
    {"kxw94sp", 255, 0, 255, mapcontrol::Square},
    {"kxw94sm", 255, 0, 0, mapcontrol::Square},
    {"kxw94fl", 0, 255, 0, mapcontrol::Square},
    {"kxw95wn", 0, 0, 255, mapcontrol::Triangle},
    {"kxw95sp", 255, 0, 255, mapcontrol::Triangle},
    {"kxw95sm", 255, 0, 0, mapcontrol::Triangle},
    {"kxw95fl", 0, 255, 0, mapcontrol::Triangle},
    {"kxw96wn", 0, 0, 255, mapcontrol::Cross},
    {"kxw96sp", 255, 0, 255, mapcontrol::Cross},
    {"kxw96sm", 255, 0, 0, mapcontrol::Cross},
    {"kxw96fl", 0, 255, 0, mapcontrol::Cross},
    {"kxw97wn", 192, 192, 192, mapcontrol::Circle},
    {"kxw97sp", 64, 128, 128, mapcontrol::Circle},
    {"kxw97sm", 128, 128, 0, mapcontrol::Circle},
    {"kxw97fl", 128, 0, 0, mapcontrol::Circle},
    {"kxw98wn", 192, 192, 192, mapcontrol::Square},
    {"kxw98sp", 64, 128, 128, mapcontrol::Square},
    {"kxw98sm", 128, 128, 0, mapcontrol::Square},
    {"kxw98fl", 128, 0, 0, mapcontrol::Square},
    {"kxw99wn", 192, 192, 192, mapcontrol::Triangle},
    {"kxw99sp", 64, 128, 128, mapcontrol::Triangle},
    {"kxw99sm", 128, 128, 0, mapcontrol::Triangle},
    {"kxw99fl", 128, 0, 0, mapcontrol::Triangle},
    {"kxw00wn", 0, 64, 128, mapcontrol::Circle},
    {"kxw00sp", 0, 128, 0, mapcontrol::Circle},
    {"kxw00sm", 128, 128, 128, mapcontrol::Circle},
    {"kxw00fl", 128, 64, 64, mapcontrol::Circle},
    {"kxw01wn", 0, 64, 128, mapcontrol::Square},
    {"kxw01sp", 0, 128, 0, mapcontrol::Square},
    {"kxw01sm", 128, 128, 128, mapcontrol::Square},
    {"kxw01fl", 128, 64, 64, mapcontrol::Square},
    {"kxw02wn", 0, 64, 128, mapcontrol::Triangle},
    {"kxw02sp", 0, 128, 0, mapcontrol::Triangle},
    {"kxw02sm", 128, 128, 128, mapcontrol::Triangle},
    {"kxw02fl", 128, 64, 64, mapcontrol::Triangle},
    {"kxf93sm", 255, 0, 0, mapcontrol::Circle},
    {"kxf93fl", 0, 0, 255, mapcontrol::Circle},
    {"kxf94sp", 255, 0, 255, mapcontrol::Square},
    {"kxf94sm", 255, 0, 0, mapcontrol::Square},
    {"kxf94fl", 0, 0, 255, mapcontrol::Square},
    {"kxf95sp", 255, 0, 255, mapcontrol::Triangle},
    {"kxf95sm", 255, 0, 0, mapcontrol::Triangle},
    {"kxf95fl", 0, 0, 255, mapcontrol::Triangle},
    {"kxf96sp", 255, 0, 255, mapcontrol::Cross},
    {"kxf96sm", 255, 0, 0, mapcontrol::Cross},
    {"kxf96fl", 0, 0, 255, mapcontrol::Cross},
    {"kxf97sp", 192, 192, 192, mapcontrol::Circle},
    {"kxf97sm", 128, 128, 0, mapcontrol::Circle},
    {"kxf97fl", 128, 0, 0, mapcontrol::Circle},
    {"kxf98sp", 192, 192, 192, mapcontrol::Square},
    {"kxf98sm", 128, 128, 0, mapcontrol::Square},
    {"kxf98fl", 128, 0, 0, mapcontrol::Square},
    {"kxf99sp", 192, 192, 192, mapcontrol::Triangle},
    {"kxf99sm", 128, 128, 0, mapcontrol::Triangle},
    {"kxf99fl", 128, 0, 0, mapcontrol::Triangle},
    {"kxf00sp", 0, 128, 0, mapcontrol::Circle},
    {"kxf00sm", 128, 128, 128, mapcontrol::Circle},
    {"kxf00fl", 128, 64, 64, mapcontrol::Circle},
    {"kxf01sp", 0, 128, 0, mapcontrol::Square},
    {"kxf01sm", 128, 128, 128, mapcontrol::Square},
    {"kxf01fl", 128, 64, 64, mapcontrol::Square},
    {"kxf02sp", 0, 128, 0, mapcontrol::Triangle},
    {"kxf02sm", 128, 128, 128, mapcontrol::Triangle},
    {"kxf02fl", 128, 64, 64, mapcontrol::Triangle},
    {"kxi93", 255, 0, 0, mapcontrol::Circle},
    {"kxi94", 0, 0, 255, mapcontrol::Circle},
    {"kxi95", 255, 128, 0, mapcontrol::Circle},
    {"kxi96", 255, 0, 255, mapcontrol::Circle},
    {"kxi97", 255, 0, 0, mapcontrol::Square},
    {"kxi98", 0, 0, 255, mapcontrol::Square},
    {"kxi99", 255, 128, 0, mapcontrol::Square},
    {"kxi00", 255, 0, 255, mapcontrol::Square},
    {"kxi01", 255, 0, 0, mapcontrol::Triangle},
    {"kxi02", 0, 0, 255, mapcontrol::Triangle},
    {"kxv98", 128, 128, 0, mapcontrol::Square},
    {"kxv99", 0, 255, 0, mapcontrol::Square},
    {"kxv00", 255, 0, 0, mapcontrol::Square},
    {"kxv01", 0, 0, 255, mapcontrol::Square},
    {"kxv02", 255, 128, 0, mapcontrol::Square},
};

// The names of the colours the markers use.
const struct {
    int red, green, blue;
    const char* name;
} kColourNames[] = {
    {255, 0, 0, "red"},         {0, 255, 0, "green"},       {0, 0, 255, "blue"},
    {255, 0, 255, "magenta"},   {192, 192, 192, "silver"},  {64, 128, 128, "teal"},
    {128, 128, 0, "olive"},     {128, 0, 0, "maroon"},      {0, 64, 128, "dark blue"},
    {0, 128, 0, "dark green"},  {128, 128, 128, "grey"},    {128, 64, 64, "brown"},
    {255, 128, 0, "orange"},
};

const char* const kMarkerNames[] = {"circle", "square", "triangle", "cross"};

}  // namespace

QString SampleSymbol::description() const {
    QString colour = QColor(red, green, blue).name();
    for (const auto& named : kColourNames) {
        if (named.red == red && named.green == green && named.blue == blue)
            colour = named.name;
    }
    return colour + ' ' + kMarkerNames[style];
}

mapcontrol::Symbol SampleSymbol::mapSymbol() const {
    mapcontrol::Symbol symbol;
    symbol.type = mapcontrol::SymbolType::Point;
    symbol.color = packedColor();
    symbol.style = style;
    return symbol;
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

}  // namespace quillfen
