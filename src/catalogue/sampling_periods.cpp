#include "catalogue/sampling_periods.h"

namespace quillfen {
namespace {

const QVector<SamplingPeriod> kWaterPeriods = {
    {0, "93sm", "Summer 1993", 0, true},  {1, "93fl", "Fall 1993", 0, true},
    {2, "94wn", "Winter 1994", 0, true},  {3, "94sp", "Spring 1994", 0, true},
    {4, "94sm", "Summer 1994", 0, true},  {5, "94fl", "Fall 1994", 0, true},
    {6, "95wn", "Winter 1995", 0, true},  {7, "95sp", "Spring 1995", 0, true},
    {8, "95sm", "Summer 1995", 0, true},  {9, "95fl", "Fall 1995", 0, true},
    {10, "96wn", "Winter 1996", 0, true}, {11, "96sp", "Spring 1996", 0, true},
    {12, "96sm", "Summer 1996", 0, true}, {13, "96fl", "Fall 1996", 0, true},
    {14, "97wn", "Winter 1997", 4, true}, {15, "97sp", "Spring 1997", 4, true},
    {16, "97sm", "Summer 1997", 4, true}, {17, "97fl", "Fall 1997", 4, true},
    {18, "98wn", "Winter 1998", 4, true}, {19, "98sp", "Spring 1998", 4, true},
    {20, "98sm", "Summer 1998", 4, true}, {21, "98fl", "Fall 1998", 4, true},
    {22, "99wn", "Winter 1999", 4, true}, {23, "99sp", "Spring 1999", 4, true},
    {24, "99sm", "Summer 1999", 4, true}, {25, "99fl", "Fall 1999", 4, true},
    {26, "00wn", "Winter 2000", 5, true}, {27, "00sp", "Spring 2000", 5, true},
    {28, "00sm", "Summer 2000", 5, true}, {29, "00fl", "Fall 2000", 5, true},
    {30, "01wn", "Winter 2001", 5, true}, {31, "01sp", "Spring 2001", 5, true},
    {32, "01sm", "Summer 2001", 5, true}, {33, "01fl", "Fall 2001", 5, true},
    {34, "02wn", "Winter 2002", 5, true}, {35, "02sp", "Spring 2002", 5, true},
    {36, "02sm", "Summer 2002", 5, true}, {37, "02fl", "Fall 2002", 5, false},
};

const QVector<SamplingPeriod> kFishPeriods = {
    {0, "93sm", "Summer 1993", 1, true},  {1, "93fl", "Fall 1993", 1, true},
    {2, "94sp", "Spring 1994", 1, true},  {3, "94sm", "Summer 1994", 1, false},
    {4, "94fl", "Fall 1994", 1, true},    {5, "95sp", "Spring 1995", 1, true},
    {6, "95sm", "Summer 1995", 1, true},  {7, "95fl", "Fall 1995", 1, true},
    {8, "96sp", "Spring 1996", 1, true},  {9, "96sm", "Summer 1996", 1, true},
    {10, "96fl", "Fall 1996", 1, true},   {11, "97sp", "Spring 1997", 2, true},
    {12, "97sm", "Summer 1997", 2, true}, {13, "97fl", "Fall 1997", 2, true},
    {14, "98sp", "Spring 1998", 2, true}, {15, "98sm", "Summer 1998", 2, true},
    {16, "98fl", "Fall 1998", 2, true},   {17, "99sp", "Spring 1999", 2, true},
    {18, "99sm", "Summer 1999", 2, true}, {19, "99fl", "Fall 1999", 2, true},
    {20, "00sp", "Spring 2000", 6, true}, {21, "00sm", "Summer 2000", 6, true},
    {22, "00fl", "Fall 2000", 6, true},   {23, "01sp", "Spring 2001", 6, true},
    {24, "01sm", "Summer 2001", 6, true}, {25, "01fl", "Fall 2001", 6, true},
    {26, "02sp", "Spring 2002", 6, true}, {27, "02sm", "Summer 2002", 6, true},
    {28, "02fl", "Fall 2002", 6, true},
};

const QVector<SamplingPeriod> kInvertPeriods = {
    {0, "93", "1993", 3, true}, {1, "94", "1994", 3, true}, {2, "95", "1995", 3, true},
    {3, "96", "1996", 3, true}, {4, "97", "1997", 3, true}, {5, "98", "1998", 3, true},
    {6, "99", "1999", 3, true}, {7, "00", "2000", 3, true}, {8, "01", "2001", 3, true},
    {9, "02", "2002", 3, true},
};

const QVector<SamplingPeriod> kVegPeriods = {
    {0, "98", "1998", 7, true}, {1, "99", "1999", 7, true}, {2, "00", "2000", 7, true},
    {3, "01", "2001", 7, true}, {4, "02", "2002", 7, true},
};

const QStringList kTabCaptions = {"WQ 93-96", "FSH 93-96", "FSH 97-99", "Macro Inverts", "WQ 97-99",
                                  "WQ 00-02", "FSH 00-02", "Veg",       "Base Map"};

} // namespace

const QVector<SampleKind>& allSampleKinds() {
    static const QVector<SampleKind> kinds = {SampleKind::Water, SampleKind::Fish, SampleKind::Invert,
                                              SampleKind::Veg};
    return kinds;
}

const QVector<SamplingPeriod>& samplingPeriods(SampleKind kind) {
    switch (kind) {
    case SampleKind::Water:
        return kWaterPeriods;
    case SampleKind::Fish:
        return kFishPeriods;
    case SampleKind::Invert:
        return kInvertPeriods;
    case SampleKind::Veg:
        break;
    }
    return kVegPeriods;
}

const QStringList& tabCaptions() {
    return kTabCaptions;
}

QChar kindLetter(SampleKind kind) {
    switch (kind) {
    case SampleKind::Water:
        return 'w';
    case SampleKind::Fish:
        return 'f';
    case SampleKind::Invert:
        return 'i';
    case SampleKind::Veg:
        break;
    }
    return 'v';
}

bool kindFromLetter(const QString& letter, SampleKind* kind) {
    for (SampleKind k : allSampleKinds()) {
        if (letter == QString(kindLetter(k))) {
            *kind = k;
            return true;
        }
    }
    return false;
}

QString kindName(SampleKind kind) {
    switch (kind) {
    case SampleKind::Water:
        return "water quality";
    case SampleKind::Fish:
        return "fish";
    case SampleKind::Invert:
        return "macro-invertebrates";
    case SampleKind::Veg:
        break;
    }
    return "aquatic vegetation";
}

bool samplePeriodOfLayer(const QString& code, SampleKind* kind, SamplingPeriod* period) {
    for (SampleKind k : allSampleKinds()) {
        for (const SamplingPeriod& p : samplingPeriods(k)) {
            if (code.compare(layerCode(k, p.periodCode), Qt::CaseInsensitive) == 0) {
                *kind = k;
                *period = p;
                return true;
            }
        }
    }
    return false;
}

QString boxArrayName(SampleKind kind) {
    switch (kind) {
    case SampleKind::Water:
        return "chkwater";
    case SampleKind::Fish:
        return "chkfish";
    case SampleKind::Invert:
        return "chkinvert";
    case SampleKind::Veg:
        break;
    }
    return "chkveg";
}

QString layerCode(SampleKind kind, const QString& periodCode) {
    return QStringLiteral("kx") + kindLetter(kind) + periodCode;
}

QString companionTable(SampleKind kind, const QString& periodCode) {
    if (kind == SampleKind::Fish)
        return "kxr" + periodCode;
    if (kind == SampleKind::Veg)
        return "kxv" + periodCode + "d";
    return QString();
}

QStringList tablesSearched(SampleKind kind, const QStringList& periodCodes) {
    QStringList tables;
    for (const QString& code : periodCodes) {
        tables << layerCode(kind, code);
        const QString companion = companionTable(kind, code);
        if (!companion.isEmpty())
            tables << companion;
    }
    return tables;
}

} // namespace quillfen
