#pragma once

#include "mapcontrol/map_control.h"
#include "test_data.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

/// A map control of 200 x 200 pixels over a temporary data folder. Tests write their
/// datasets into folder() and show the view (0, 0)-(1000, 1000), so that one pixel is five
/// map units and map point (x, y) lies at pixel (x / 5, 200 - y / 5).
struct MapFixture {
    static constexpr int kSide = 200;
    static constexpr mapcontrol::Rect kView{0, 0, 1000, 1000};

    QTemporaryDir dir;
    mapcontrol::MapControl map;

    MapFixture() {
        map.resize(kSide, kSide);
        QVERIFY(dir.isValid());
    }
    QString folder() const { return dir.path(); }
    void open() { QVERIFY(map.openFolder(folder())); }

    std::shared_ptr<mapcontrol::VectorLayer> addVector(const QString& name) {
        const mapcontrol::DatasetPtr dataset = map.findDataset(name);
        if (!dataset)
            return nullptr;
        auto layer = std::make_shared<mapcontrol::VectorLayer>(dataset);
        map.addLayer(layer);
        return layer;
    }
    void showWholeView() { map.setViewBounds(kView); }

    /// The colour of the back-buffer pixel whose top-left corner is at the map point's position
    /// plus an offset in pixels.
    QColor colorAt(QPointF mapPoint, QPoint offset = {}) const {
        return colorIn(map.image(), mapPoint, offset, 1.0);
    }
    QColor colorIn(const QImage& image, QPointF mapPoint, QPoint offset, double scale) const {
        const QPointF pixel = map.mapToScreen(mapPoint) * scale;
        return image.pixelColor(int(std::floor(pixel.x())) + offset.x(),
                                int(std::floor(pixel.y())) + offset.y());
    }
};

/// Colours compared with a little tolerance for antialiasing.
inline bool near(const QColor& a, const QColor& b, int tolerance = 8) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

#define QVERIFY_COLOR(actual, expected)                                                                      \
    QVERIFY2(                                                                                                \
        near(actual, expected),                                                                              \
        qPrintable(QStringLiteral("got %1, expected %2").arg((actual).name(), QColor(expected).name())))
