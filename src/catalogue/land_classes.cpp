#include "catalogue/land_classes.h"

namespace quillfen {

const QVector<LandClass>& landWaterClasses() {
    static const QVector<LandClass> classes = {
        {"1", 0, 128, 0, "Land", 0, 128, 0},
        {"2", 0, 255, 255, "Water", 0, 255, 255},
    };
    return classes;
}

const QVector<LandClass>& landCoverClasses() {
    // clang-format off
    static const QVector<LandClass> classes = {
        {"1",  0, 255, 255,   "Open Water",               0, 255, 255},
        {"2",  0, 0, 255,     "Submergents",              0, 0, 255},
        {"3",  255, 0, 0,     "Mixed Aquatic Vegetation", 255, 0, 0},
        {"5",  255, 0, 255,   "Rooted Floating",          255, 0, 255},
        {"6",  255, 0, 0,     "Mixed Aquatic Vegetation", 255, 0, 0},
        {"7",  255, 128, 0,   "Emergents",                255, 128, 0},
        {"8",  255, 0, 0,     "Mixed Aquatic Vegetation", 255, 0, 0},
        {"9",  0, 255, 0,     "Grasses/Forbs",            0, 255, 0},
        {"10", 0, 128, 0,     "Woody Terrestrial",        0, 128, 0},
        {"11", 255, 255, 208, "Agriculture",              255, 255, 192},
        {"12", 192, 192, 192, "Urban/Developed",          192, 192, 192},
        {"13", 128, 64, 64,   "Sand/Mud",                 128, 0, 0},
    };
    // clang-format on
    return classes;
}

namespace {

LegendLine legendLineOf(const LandClass& c) {
    return {c.legendLabel, c.legendRed, c.legendGreen, c.legendBlue};
}

const LandClass& coverClassLabelled(const QString& label) {
    for (const LandClass& c : landCoverClasses()) {
        if (c.legendLabel == label)
            return c;
    }
    return landCoverClasses().constFirst();
}

} // namespace

const QVector<LegendLine>& landWaterLegend() {
    static const QVector<LegendLine> lines = [] {
        QVector<LegendLine> result;
        for (const LandClass& c : landWaterClasses())
            result.append(legendLineOf(c));
        return result;
    }();
    return lines;
}

const QVector<LegendLine>& landCoverLegend() {
    static const QVector<LegendLine> lines = [] {
        QVector<LegendLine> result;
        for (const char* label :
             {"Open Water", "Submergents", "Emergents", "Rooted Floating", "Mixed Aquatic Vegetation",
              "Grasses/Forbs", "Woody Terrestrial", "Agriculture", "Urban/Developed", "Sand/Mud"})
            result.append(legendLineOf(coverClassLabelled(label)));
        return result;
    }();
    return lines;
}

} // namespace quillfen
