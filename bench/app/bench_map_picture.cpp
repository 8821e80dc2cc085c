// bench_map_picture
//
// "Print to .BMP File" draws the map view at twice its size and writes it as a bitmap. This
// times MapControl::saveImage at scale 2 on the demonstration data folder beside the
// executable, against a bare QPainter loop that draws the same primitives (polygons filled
// and edged with a hairline, lines stroked, markers stamped, all at twice their size) into an image of the
// same size and writes it with QImage::save, for a few layer stacks. Prints each as a ratio (ours /
// reference) measured in the same run.

#include "catalogue/sampling_periods.h"
#include "layer_loading/layer_loader.h"
#include "mapcontrol/map_control.h"
#include "mapcontrol/view_transform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace quillfen;
using namespace mapcontrol;

namespace {

constexpr double kPictureScale = 2.0;
constexpr int kRepetitions = 15;
/// The map's size in the main window.
const QSize kMapSize(457, 473);

struct Stack {
    const char* name;
    DrawLayerChoice choice;
};

/// The layer codes of every enabled water quality box.
QStringList waterLayers() {
    QStringList codes;
    for (const SamplingPeriod& period : samplingPeriods(SampleKind::Water)) {
        if (period.enabled)
            codes << layerCode(SampleKind::Water, period.periodCode);
    }
    return codes;
}

double millisOf(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

/// The bare drawing: every feature of every visible vector layer, bottom to top, in the
/// layer's own colour, with the painter's plainest calls.
void drawBare(QPainter& painter, const MapControl& map, const ViewTransform& transform) {
    for (int position = map.layerCount() - 1; position >= 0; --position) {
        const auto* layer = dynamic_cast<const VectorLayer*>(map.layer(position).get());
        if (layer == nullptr || !layer->visible)
            continue;
        const Dataset& dataset = *layer->dataset();
        const QColor colour = toQColor(layer->symbol.color);
        const double size = std::max(1.0, layer->symbol.size) * kPictureScale;
        QImage marker(int(size) + 2, int(size) + 2, QImage::Format_ARGB32_Premultiplied);
        marker.fill(Qt::transparent);
        QPainter(&marker).fillRect(marker.rect(), colour);
        for (int feature = 0; feature < dataset.featureCount(); ++feature) {
            const int endPart = dataset.partBegin(feature + 1);
            QPainterPath path;
            for (int part = dataset.partBegin(feature); part < endPart; ++part) {
                QPolygonF pixels;
                for (int i = dataset.pointBegin(part); i < dataset.pointBegin(part + 1); ++i)
                    pixels << transform.toPixel(dataset.point(i));
                switch (dataset.geometryKind()) {
                case Dataset::GeometryKind::Point:
                    for (const QPointF& p : pixels)
                        painter.drawImage(p - QPointF(marker.width() / 2, marker.height() / 2), marker);
                    break;
                case Dataset::GeometryKind::Line:
                    painter.setPen(QPen(colour, size));
                    painter.drawPolyline(pixels);
                    break;
                case Dataset::GeometryKind::Polygon:
                    path.addPolygon(pixels);
                    path.closeSubpath();
                    break;
                case Dataset::GeometryKind::Unknown:
                    break;
                }
            }
            if (!path.isEmpty()) {
                // Filled and edged with a one-pixel hairline of the fill colour.
                painter.setPen(QPen(colour, 0));
                painter.setBrush(colour);
                painter.drawPath(path);
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication application(argc, argv);
    const QString dataPath = QCoreApplication::applicationDirPath() + QStringLiteral("/data");
    QTemporaryDir out;

    DrawLayerChoice startUp;
    startUp.landWater = true;
    DrawLayerChoice landCover;
    landCover.landCover = true;
    landCover.structures = true;
    landCover.sampleLayers = waterLayers();
    const Stack stacks[] = {{"land / water (start-up)", startUp},
                            {"land cover / use, structures, 37 water layers", landCover}};

    std::printf("%-48s %10s %14s %8s\n", "stack", "ours ms", "reference ms", "ratio");
    for (const Stack& stack : stacks) {
        MapControl map;
        map.resize(kMapSize);
        rebuildLayerStack(map, dataPath, stack.choice);
        map.setViewBounds(map.wholeBounds());
        const QString path = out.filePath(QStringLiteral("map1.bmp"));

        const ViewTransform scaled = ViewTransform(map.viewBounds(), kMapSize).scaled(kPictureScale);
        const auto ours = [&] {
            if (!map.saveImage(1, path, kPictureScale))
                qFatal("cannot save %s", qPrintable(path));
        };
        const auto reference = [&] {
            QImage image(scaled.pixels(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                painter.setRenderHint(QPainter::Antialiasing);
                drawBare(painter, map, scaled);
            }
            if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
                qFatal("cannot save %s", qPrintable(path));
        };
        // Warm the caches (datasets, tables, marker images), then time the two in turns, so
        // that both see the same load on the machine.
        ours();
        reference();
        std::vector<double> oursTimes, referenceTimes;
        for (int i = 0; i < kRepetitions; ++i) {
            oursTimes.push_back(millisOf(ours));
            referenceTimes.push_back(millisOf(reference));
        }
        const double oursMillis = median(oursTimes);
        const double referenceMillis = median(referenceTimes);
        std::printf("%-48s %10.1f %14.1f %8.2f\n", stack.name, oursMillis, referenceMillis,
                    oursMillis / referenceMillis);
        std::fflush(stdout);
    }
    return 0;
}
