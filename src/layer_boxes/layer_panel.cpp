#include "layer_boxes/layer_panel.h"

#include "catalogue/land_classes.h"
#include "catalogue/sample_symbols.h"
#include "layer_loading/legend_swatch.h"
#include "window_parts/twips.h"

#include <QCheckBox>
#include <QLabel>

namespace quillfen {
namespace {

constexpr int kPanelHeight = 7935;
constexpr int kBoxLeft = 600;
constexpr int kSwatchLeft = 2400;
constexpr int kRowPitch = 480;
constexpr int kBoxHeight = 255;
constexpr int kBoxWidth = 1700;
constexpr int kSwatchSide = 255;
constexpr int kHeadingOffset = 420;

QLabel* addLabel(QWidget* page, const QString& text, int left, int top, int width) {
    auto* label = new QLabel(text, page);
    label->setGeometry(twipsRect(left, top, width, 255));
    return label;
}

/// First row top: tabs with many boxes start higher, and rows close up so the last fits.
void rowPlacement(int boxCount, int* firstTop, int* pitch) {
    *firstTop = boxCount > 10 ? 1530 : 1800;
    *pitch = kRowPitch;
    const int lastTop = kPanelHeight - 120 - kBoxHeight;
    if (boxCount > 1 && *firstTop + (boxCount - 1) * *pitch > lastTop)
        *pitch = (lastTop - *firstTop) / (boxCount - 1);
}

void addSampleTab(QWidget* page, int tab, LayerSelection& selection) {
    QVector<int> rowsOnTab;
    for (SampleKind kind : allSampleKinds()) {
        for (const SamplingPeriod& period : samplingPeriods(kind)) {
            if (period.tab == tab)
                rowsOnTab.append(period.index);
        }
    }
    int firstTop = 0, pitch = 0;
    rowPlacement(int(rowsOnTab.size()), &firstTop, &pitch);
    // The fish tab of the last era has always read "Draw/Query".
    addLabel(page, tabCaptions().at(tab) == "FSH 00-02" ? "Draw/Query" : "Draw / Query", kBoxLeft,
             firstTop - kHeadingOffset, 1500);
    addLabel(page, "Legend", kSwatchLeft - 120, firstTop - kHeadingOffset, 900);

    int row = 0;
    for (SampleKind kind : allSampleKinds()) {
        QVector<QCheckBox*> boxes = selection.boxes(kind);
        for (const SamplingPeriod& period : samplingPeriods(kind)) {
            if (period.tab != tab)
                continue;
            const int top = firstTop + row++ * pitch;
            auto* box = new QCheckBox(period.caption, page);
            box->setObjectName(QStringLiteral("%1_%2").arg(boxArrayName(kind)).arg(period.index));
            box->setGeometry(twipsRect(kBoxLeft, top, kBoxWidth, kBoxHeight));
            box->setEnabled(period.enabled);
            boxes[period.index] = box;
            const SampleSymbol* symbol = sampleSymbol(layerCode(kind, period.periodCode));
            auto* swatch = new LegendSwatch(swatchShapeOfMarker(symbol->marker),
                                            QColor(symbol->red, symbol->green, symbol->blue), page);
            swatch->setObjectName(QStringLiteral("legend_%1").arg(layerCode(kind, period.periodCode)));
            swatch->setAccessibleName(period.caption + ": " + symbol->description());
            swatch->setGeometry(twipsRect(kSwatchLeft, top, kSwatchSide, kSwatchSide));
        }
        selection.setBoxes(kind, boxes);
    }
}

QCheckBox* addBaseBox(QWidget* page, const QString& name, const QString& caption, int top) {
    auto* box = new QCheckBox(caption, page);
    box->setObjectName(name);
    box->setGeometry(twipsRect(120, top, 3500, kBoxHeight));
    return box;
}

void addLegendLines(QWidget* page, const QVector<LegendLine>& lines, int top, int pitch) {
    for (const LegendLine& line : lines) {
        auto* swatch = new LegendSwatch(LegendSwatch::Shape::FilledRectangle,
                                        QColor(line.red, line.green, line.blue), page);
        swatch->setGeometry(twipsRect(480, top, 420, 225));
        swatch->setAccessibleName(line.label);
        addLabel(page, line.label, 1020, top - 15, 2700);
        top += pitch;
    }
}

void addBaseMapTab(QWidget* page, BaseMapBoxes& base) {
    base.check_land_water = addBaseBox(page, "check_land_water", "1989 Land / Water", 1440);
    base.check_land_water->setChecked(true);
    addLegendLines(page, landWaterLegend(), 1800, 300);
    base.Check_landcover = addBaseBox(page, "Check_landcover", "1989 Landcover / Use", 2520);
    addLegendLines(page, landCoverLegend(), 2880, 330);
    base.chkStructures = addBaseBox(page, "chkStructures", "1989 Structures", 6315);
    auto* zigzag = new LegendSwatch(LegendSwatch::Shape::Zigzag, QColor(128, 128, 128), page);
    zigzag->setGeometry(twipsRect(2900, 6315, 600, kSwatchSide));
    zigzag->setAccessibleName("1989 Structures: grey zigzag line");
    base.Check30 = addBaseBox(page, "Check30", "River Miles", 6915);
    auto* cross = new LegendSwatch(LegendSwatch::Shape::Cross, Qt::black, page);
    cross->setGeometry(twipsRect(2900, 6915, kSwatchSide, kSwatchSide));
    cross->setAccessibleName("River Miles: black cross");
    base.Check_drg = addBaseBox(page, "Check_drg", "1:100K Fenmark Quadrangle", 7560);
}

} // namespace

TabPanel* buildLayerPanel(QWidget* parent, LayerSelection& selection, BaseMapBoxes& base) {
    auto* panel = new TabPanel(4, parent);
    panel->setObjectName("SSTab1");
    panel->setGeometry(twipsRect(7080, 480, 3855, kPanelHeight));
    for (SampleKind kind : allSampleKinds())
        selection.setBoxes(kind, QVector<QCheckBox*>(samplingPeriods(kind).size(), nullptr));
    for (int tab = 0; tab < tabCaptions().size(); ++tab) {
        QWidget* page = panel->addTab(tabCaptions().at(tab));
        if (tab == kBaseMapTab)
            addBaseMapTab(page, base);
        else
            addSampleTab(page, tab, selection);
    }
    panel->setCurrentIndex(kBaseMapTab);
    panel->setDesignedHeight(panel->height());
    return panel;
}

} // namespace quillfen
