#pragma once

#include "mapcontrol/map_control.h"
#include "test_data.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

/// A map control of 200 x 200 pixels over a temporary data folder. Tests write their
/// datasets into folder() and show the view (0, 0)-(1000, 1000), so that one pixel is five
/// map units and map point (x, y) lies at pixel (x / 5, 200 - y / 5).
struct MapFixture {
    static constexpr mapcontrol::Rect kView{0, 0, 1000, 1000};
    static constexpr QPointF kCentre{500, 500};

    QTemporaryDir dir;
    mapcontrol::MapControl map;

    MapFixture() {
        map.resize(200, 200);
        QVERIFY(dir.isValid());
    }
    QString folder() const { return dir.path(); }
    void open() { QVERIFY(map.openFolder(folder())); }
    void showWholeView() { map.setViewBounds(kView); }

    std::shared_ptr<mapcontrol::VectorLayer> addVector(const QString& name) {
        const mapcontrol::DatasetPtr dataset = map.findDataset(name);
        if (!dataset)
            return nullptr;
        auto layer = std::make_shared<mapcontrol::VectorLayer>(dataset);
        map.addLayer(layer);
        return layer;
    }
    /// Adds a layer of "pt" in `color`: one point at the view's centre and one near its
    /// lower-left corner, with a "mile" field. Writes the dataset on first use.
    std::shared_ptr<mapcontrol::VectorLayer> addPointLayer(mapcontrol::PackedColor color) {
        if (!QFile::exists(dir.filePath("pt.shp"))) {
            testdata::writeShapes(folder(), "pt", {"POINT (500 500)", "POINT (100 100)"},
                                  {{"mile", {12, 7}}});
            open();
        }
        auto layer = addVector("pt");
        layer->symbol.color = color;
        return layer;
    }

    /// The colour of the pixel whose top-left corner is at the map point's position, plus an
    /// offset in pixels, in the back buffer or in an image `scale` times its size.
    QColor colorAt(QPointF mapPoint, QPoint offset = {}) const {
        return colorIn(map.image(), mapPoint, offset);
    }
    QColor colorIn(const QImage& image, QPointF mapPoint, QPoint offset = {}, double scale = 1) const {
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
