// Times a full redraw of 38 point layers against a bare QPainter loop stamping the same
// markers into an image of the same size, and SearchShape over the same layers against a
// plain even-odd loop over the coordinates, at 1, 10 and 100 times 140 points per layer.
// Prints each as a ratio (ours / reference) measured in the same run.

#include "mapcontrol/map_control.h"
#include "tabledb/shape_driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cstdio>
#include <random>
#include <vector>

using namespace mapcontrol;

namespace {

constexpr int kLayers = 38;
constexpr int kPointsPerLayer = 140;
constexpr int kScales[] = {1, 10, 100};
const QSize kMapSize(800, 600);
const Rect kArea{640000, 4900000, 660000, 4915000};

using Points = std::vector<QPointF>;

Points randomPoints(std::mt19937& random, int count) {
    std::uniform_real_distribution<double> x(kArea.minX, kArea.maxX), y(kArea.minY, kArea.maxY);
    Points points(static_cast<size_t>(count));
    for (QPointF& p : points)
        p = QPointF(x(random), y(random));
    return points;
}

void writeLayer(const QString& path, const Points& points) {
    GDALDriver* driver = tabledb::shapeDriver();
    GDALDatasetUniquePtr dataset(driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
    OGRLayer* layer = dataset->CreateLayer("points", nullptr, wkbPoint, nullptr);
    OGRFieldDefn field("value", OFTInteger);
    layer->CreateField(&field);
    for (size_t i = 0; i < points.size(); ++i) {
        OGRFeatureUniquePtr feature(OGRFeature::CreateFeature(layer->GetLayerDefn()));
        feature->SetField(0, int(i % 100));
        OGRPoint point(points[i].x(), points[i].y());
        feature->SetGeometry(&point);
        if (layer->CreateFeature(feature.get()) != OGRERR_NONE)
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

template <typename Work> double millisecondsPerRun(Work work) {
    work(); // warm caches (marker images, attribute tables)
    QElapsedTimer timer;
    timer.start();
    int runs = 0;
    do {
        work();
        ++runs;
    } while (timer.elapsed() < 500);
    return double(timer.nsecsElapsed()) / 1e6 / runs;
}

double referenceRedraw(const std::vector<Points>& layers, const Rect& view) {
    QImage image(kMapSize, QImage::Format_ARGB32_Premultiplied);
    QImage marker(10, 10, QImage::Format_ARGB32_Premultiplied);
    marker.fill(Qt::transparent);
    {
        QPainter p(&marker);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::red);
        p.setPen(Qt::black);
        p.drawEllipse(QPointF(5, 5), 4, 4);
    }
    const double unitsPerPixel = view.width() / kMapSize.width();
    return millisecondsPerRun([&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        for (const Points& points : layers) {
            for (const QPointF& p : points) {
                const int x = int((p.x() - view.minX) / unitsPerPixel);
                const int y = int((view.maxY - p.y()) / unitsPerPixel);
                painter.drawImage(QPoint(x - 5, y - 5), marker);
            }
        }
    });
}

bool insideEvenOdd(const QVector<QPointF>& ring, QPointF p) {
    bool inside = false;
    for (int i = 0, j = int(ring.size()) - 1; i < int(ring.size()); j = i++) {
        if ((ring[i].y() > p.y()) != (ring[j].y() > p.y()) &&
            p.x() < ring[i].x() +
                        (p.y() - ring[i].y()) * (ring[j].x() - ring[i].x()) / (ring[j].y() - ring[i].y()))
            inside = !inside;
    }
    return inside;
}

void benchmarkScale(int scale) {
    QTemporaryDir folder;
    std::mt19937 random(1234u + unsigned(scale));
    std::vector<Points> points;
    for (int i = 0; i < kLayers; ++i) {
        points.push_back(randomPoints(random, kPointsPerLayer * scale));
        writeLayer(folder.filePath(QString("kxw%1.shp").arg(i)), points.back());
    }

    MapControl map;
    map.resize(kMapSize);
    map.openFolder(folder.path());
    std::vector<std::shared_ptr<VectorLayer>> layers;
    for (int i = 0; i < kLayers; ++i) {
        layers.push_back(std::make_shared<VectorLayer>(map.findDataset(QString("kxw%1").arg(i))));
        layers.back()->symbol.color = packColor(255, 0, 0);
        map.addLayer(layers.back());
    }
    map.setViewBounds(kArea);

    const double ours = millisecondsPerRun([&] { map.redrawAll(); });
    const double reference = referenceRedraw(points, map.viewBounds());

    // A concave polygon over part of the area.
    const double w = kArea.width(), h = kArea.height();
    const QVector<QPointF> ring{{kArea.minX + 0.1 * w, kArea.minY + 0.1 * h},
                                {kArea.minX + 0.9 * w, kArea.minY + 0.1 * h},
                                {kArea.minX + 0.9 * w, kArea.minY + 0.9 * h},
                                {kArea.minX + 0.5 * w, kArea.minY + 0.3 * h},
                                {kArea.minX + 0.1 * w, kArea.minY + 0.9 * h}};
    const Shape polygon = Shape::polygon(ring);
    int found = 0, expected = 0;
    const double search = millisecondsPerRun([&] {
        found = 0;
        for (const auto& layer : layers)
            found += map.searchShape(*layer, polygon, 9, QString()).count();
    });
    const double plainLoop = millisecondsPerRun([&] {
        expected = 0;
        for (const Points& layer : points)
            for (const QPointF& p : layer)
                expected += insideEvenOdd(ring, p) ? 1 : 0;
    });

    std::printf("scale %3d (%6d points): redraw %8.2f ms, bare QPainter stamping %8.2f ms, ratio %5.2f | "
                "searchShape %8.2f ms, plain loop %8.2f ms, ratio %5.2f (%d found, %d expected)\n",
                scale, kLayers * kPointsPerLayer * scale, ours, reference, ours / reference, search,
                plainLoop, search / plainLoop, found, expected);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    // Drawing needs no screen; run anywhere unless a platform was chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    GDALAllRegister();
    for (int scale : kScales)
        benchmarkScale(scale);
    return 0;
}
