#pragma once

// The programme's catalogue (folder catalogue): sample kinds and sampling periods, field schemas,
// pick-lists, species, land classes, symbols and the text form of values: plain data and pure
// functions shared by the viewer and the demonstration data generator. Uses only mapcontrol's types.

#include <QChar>
#include <QString>
#include <QStringList>
#include <QVector>

namespace quillfen {

/// The four sample kinds, in the order their boxes are loaded onto the map.
enum class SampleKind { Water, Fish, Invert, Veg };

/// One check box of a sample kind: its index in the kind's box array (also the index of the
/// draw/query list entry it fills), its period code, its caption and the tab it sits on.
struct SamplingPeriod {
    int index;
    QString periodCode;
    QString caption;
    int tab;
    bool enabled;
};

/// The size of the draw/query list: the largest box array.
constexpr int kDrawQueryListSize = 38;

/// Index of the "Base Map" tab, the one in front at start.
constexpr int kBaseMapTab = 8;

const QVector<SampleKind>& allSampleKinds();
const QVector<SamplingPeriod>& samplingPeriods(SampleKind kind);
/// Captions of the nine tabs of the layer panel, in tab order.
const QStringList& tabCaptions();

/// Kind letter: w, f, i, v.
QChar kindLetter(SampleKind kind);
/// The kind of a kind letter; false when the letter names no kind.
bool kindFromLetter(const QString& letter, SampleKind* kind);
/// The kind as the user reads it: "water quality", "fish", "macro-invertebrates",
/// "aquatic vegetation".
QString kindName(SampleKind kind);
/// The kind and period of a sample layer code (e.g. kxw93sm); false for other layer names.
bool samplePeriodOfLayer(const QString& layerCode, SampleKind* kind, SamplingPeriod* period);
/// Designer name of the kind's box array: chkwater, chkfish, chkinvert, chkveg.
QString boxArrayName(SampleKind kind);
/// "kx" + kind letter + period code, e.g. kxw93sm: the dataset's file name and layer name.
QString layerCode(SampleKind kind, const QString& periodCode);
/// The companion table holding the records of a fish or vegetation period ("kxr" + code,
/// "kxv" + year + "d"); empty for kinds whose records are in the layer itself.
QString companionTable(SampleKind kind, const QString& periodCode);
/// The tables that a selection on these periods of a kind reads: the attribute table of each
/// layer and, for fish and vegetation, its companion table.
QStringList tablesSearched(SampleKind kind, const QStringList& periodCodes);

} // namespace quillfen
