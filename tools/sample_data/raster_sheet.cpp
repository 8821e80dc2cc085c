#include "raster_sheet.h"

#include "catalogue/data_catalogue.h"
#include "stroke_lettering.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <cmath>
#include <functional>
#include <stdexcept>

namespace quillfen::sample_data {
namespace {

constexpr int kLongSide = 2500;    ///< pixels along the sheet's longer side
constexpr double kMargin = 2500.0; ///< metres of country shown around the reach
constexpr double kGridSpacing = 5000.0;
constexpr double kPi = 3.14159265358979323846;

/// The sheet's colours; the palette of the GeoTIFF, in this order.
enum Ink { Paper, Woodland, Urban, WaterTint, WaterLine, Contour, IndexContour, Black, Road, InkCount };
const QRgb kInks[InkCount] = {
    qRgb(250, 247, 235), qRgb(206, 232, 190), qRgb(236, 200, 196), qRgb(175, 215, 240), qRgb(20, 110, 200),
    qRgb(190, 140, 90),  qRgb(150, 95, 45),   qRgb(20, 20, 20),    qRgb(210, 50, 40),
};

/// The georeferenced frame of the sheet: whole metres per pixel, corners on whole pixels.
struct SheetFrame {
    double left, top, pixelSize;
    int width, height;
    QTransform worldToPixel() const {
        return QTransform(1 / pixelSize, 0, 0, -1 / pixelSize, -left / pixelSize, top / pixelSize);
    }
};

SheetFrame frameAround(const OGRGeometry& outline) {
    OGREnvelope envelope;
    outline.getEnvelope(&envelope);
    const double spanX = envelope.MaxX - envelope.MinX + 2 * kMargin;
    const double spanY = envelope.MaxY - envelope.MinY + 2 * kMargin;
    SheetFrame frame;
    frame.pixelSize = std::ceil(std::max(spanX, spanY) / kLongSide);
    frame.left = std::floor((envelope.MinX - kMargin) / frame.pixelSize) * frame.pixelSize;
    frame.top = std::ceil((envelope.MaxY + kMargin) / frame.pixelSize) * frame.pixelSize;
    frame.width = static_cast<int>(std::ceil(spanX / frame.pixelSize));
    frame.height = static_cast<int>(std::ceil(spanY / frame.pixelSize));
    return frame;
}

void addRing(QPainterPath& path, const OGRLinearRing& ring) {
    for (int i = 0; i < ring.getNumPoints(); ++i) {
        const QPointF p(ring.getX(i), ring.getY(i));
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    path.closeSubpath();
}

void addArea(QPainterPath& path, const OGRGeometry& geometry) {
    const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
    if (type == wkbPolygon) {
        for (const OGRLinearRing* ring : *geometry.toPolygon())
            addRing(path, *ring);
    } else if (type == wkbMultiPolygon || type == wkbGeometryCollection) {
        for (const OGRGeometry* part : *geometry.toGeometryCollection())
            addArea(path, *part);
    }
}

void addLines(QPainterPath& path, const OGRGeometry& geometry) {
    const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
    if (type == wkbLineString) {
        const OGRLineString& line = *geometry.toLineString();
        for (int i = 0; i < line.getNumPoints(); ++i) {
            const QPointF p(line.getX(i), line.getY(i));
            i == 0 ? path.moveTo(p) : path.lineTo(p);
        }
    } else if (type == wkbMultiLineString || type == wkbGeometryCollection) {
        for (const OGRGeometry* part : *geometry.toGeometryCollection())
            addLines(path, *part);
    }
}

QPainterPath polyline(double from, double to, const std::function<QPointF(double)>& at) {
    QPainterPath path;
    path.moveTo(at(from));
    for (double t = from + 40; t <= to; t += 40)
        path.lineTo(at(t));
    return path;
}

class SheetPainter {
public:
    SheetPainter(const Reach& reach, const SheetFrame& frame)
        : reach_(reach), frame_(frame), image_(frame.width, frame.height, QImage::Format_RGB32) {
        image_.fill(kInks[Paper]);
    }

    QImage paint() {
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setTransform(frame_.worldToPixel());
        paintLandTints(painter);
        paintContours(painter);
        paintWater(painter);
        paintStructuresAndRoad(painter);
        paintGrid(painter);
        paintNames(painter);
        painter.end();
        return image_;
    }

private:
    QPen pen(Ink ink, double pixels) const {
        QPen pen(QColor(kInks[ink]), pixels * frame_.pixelSize);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        return pen;
    }

    void paintLandTints(QPainter& painter) {
        QPainterPath woods, town;
        for (const CoverPolygon& piece : reach_.cover) {
            if (piece.coverClass == 10)
                addArea(woods, *piece.polygon);
            else if (piece.coverClass == 12)
                addArea(town, *piece.polygon);
        }
        painter.fillPath(woods, QColor(kInks[Woodland]));
        painter.fillPath(town, QColor(kInks[Urban]));
    }

    /// Contours follow the bluffs: close together up the valley walls, wider apart on the
    /// uplands, every fifth one heavier.
    void paintContours(QPainter& painter) {
        const ValleyFrame& valley = reach_.frame;
        const double extra = 9000;
        for (int side : {-1, 1}) {
            for (int k = 0; k < 48; ++k) {
                const double rise = k < 10 ? 60.0 * k : 600.0 + 230.0 * (k - 10);
                const double phase = 0.9 * k + (side > 0 ? 0.0 : 2.0);
                const QPainterPath line = polyline(-extra, ValleyFrame::kLength + extra, [&](double v) {
                    const double wobble = (35 + 2 * k) * std::sin(2 * kPi * v / 1400 + phase) +
                                          (20 + 4 * k) * std::sin(2 * kPi * v / 4100 + 0.5 * phase);
                    return valley.toWorld(side * (valley.bluffDistance(side, v) + 50 + rise + wobble), v);
                });
                painter.strokePath(line, pen(k % 5 == 4 ? IndexContour : Contour, k % 5 == 4 ? 2 : 1));
            }
        }
    }

    void paintWater(QPainter& painter) {
        const ValleyFrame& valley = reach_.frame;
        // The river runs on beyond both ends of the reach.
        const QPainterPath river = polyline(-12000, ValleyFrame::kLength + 12000, [&](double v) {
            return valley.toWorld(valley.channelCentre(v), v);
        });
        QPen riverPen = pen(WaterTint, 0);
        riverPen.setWidthF(2 * ValleyFrame::kChannelHalfWidth);
        riverPen.setCapStyle(Qt::FlatCap);
        painter.strokePath(river, riverPen);
        QPainterPath creek;
        addLines(creek, *reach_.tributary);
        painter.strokePath(creek, pen(WaterLine, 2));
        QPainterPath water;
        addArea(water, *reach_.water);
        painter.fillPath(water, QColor(kInks[WaterTint]));
        painter.strokePath(water, pen(WaterLine, 1));
    }

    void paintStructuresAndRoad(QPainter& painter) {
        QPainterPath structures;
        for (const Structure& structure : reach_.structures)
            addLines(structures, *structure.line);
        painter.strokePath(structures, pen(Black, 2));
        const ValleyFrame& valley = reach_.frame;
        const QPainterPath road = polyline(-12000, ValleyFrame::kLength + 12000, [&](double v) {
            return valley.toWorld(valley.bluffDistance(1, v) + 900 + 150 * std::sin(v / 2300), v);
        });
        painter.strokePath(road, pen(Road, 2));
    }

    void paintGrid(QPainter& painter) {
        const double right = frame_.left + frame_.width * frame_.pixelSize;
        const double bottom = frame_.top - frame_.height * frame_.pixelSize;
        const QPen gridPen = pen(Black, 1);
        for (double x = std::ceil(frame_.left / kGridSpacing) * kGridSpacing; x < right; x += kGridSpacing) {
            painter.setPen(gridPen);
            painter.drawLine(QPointF(x, bottom), QPointF(x, frame_.top));
            letter(painter, QString::number(x / 1000, 'f', 0), QPointF(x + 150, frame_.top - 200), 0, 220,
                   Black);
        }
        for (double y = std::ceil(bottom / kGridSpacing) * kGridSpacing; y < frame_.top; y += kGridSpacing) {
            painter.setPen(gridPen);
            painter.drawLine(QPointF(frame_.left, y), QPointF(right, y));
            letter(painter, QString::number(y / 1000, 'f', 0), QPointF(frame_.left + 200, y + 150), 0, 220,
                   Black);
        }
        painter.setPen(pen(Black, 4));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(QPointF(frame_.left, bottom), QPointF(right, frame_.top)));
        const QString title = QStringLiteral("FENMARK QUADRANGLE  1:100 000");
        const double titleHeight = 380;
        letter(painter, title, QPointF(right - 800 - letteringWidth(title) * titleHeight, bottom + 700), 0,
               titleHeight, Black);
    }

    void paintNames(QPainter& painter) {
        for (const PlaceName& name : reach_.names) {
            const bool watery =
                name.text.contains(QLatin1String("POOL")) || name.text.contains(QLatin1String("CREEK")) ||
                name.text.contains(QLatin1String("SLOUGH")) || name.text.contains(QLatin1String("LAKE"));
            letter(painter, name.text, name.at, name.angleDegrees, name.letterHeight,
                   watery ? WaterLine : Black);
        }
    }

    /// Letters text with its baseline's start at a world point, turned anticlockwise by angle.
    void letter(QPainter& painter, const QString& text, const QPointF& at, double angle, double height,
                Ink ink) {
        QTransform placement;
        placement.translate(at.x(), at.y());
        placement.rotate(angle);
        placement.scale(height, -height);
        placement.translate(0, -1);
        painter.strokePath(placement.map(strokeLettering(text)), pen(ink, height > 200 ? 2 : 1.5));
    }

    const Reach& reach_;
    const SheetFrame& frame_;
    QImage image_;
};

std::vector<GByte> paletteIndices(const QImage& image) {
    std::vector<GByte> indices(static_cast<size_t>(image.width()) * image.height());
    int last = Paper;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = row[x] | 0xff000000u;
            if (colour != kInks[last]) {
                last = Paper;
                for (int ink = 0; ink < InkCount; ++ink) {
                    if (kInks[ink] == colour)
                        last = ink;
                }
            }
            indices[static_cast<size_t>(y) * image.width() + x] = static_cast<GByte>(last);
        }
    }
    return indices;
}

void writeGeoTiff(const QString& path, const SheetFrame& frame, std::vector<GByte>& indices) {
    QFile::remove(path);
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    const char* options[] = {"TILED=YES", "COMPRESS=DEFLATE", nullptr};
    GDALDataset* dataset = driver ? driver->Create(path.toUtf8().constData(), frame.width, frame.height, 1,
                                                   GDT_Byte, const_cast<char**>(options))
                                  : nullptr;
    if (!dataset)
        throw std::runtime_error("cannot create the quadrangle sheet " + path.toStdString());
    double transform[6] = {frame.left, frame.pixelSize, 0, frame.top, 0, -frame.pixelSize};
    dataset->SetGeoTransform(transform);
    OGRSpatialReference srs;
    srs.importFromEPSG(26915);
    dataset->SetSpatialRef(&srs);
    GDALColorTable colours;
    for (int ink = 0; ink < InkCount; ++ink) {
        const GDALColorEntry entry{static_cast<short>(qRed(kInks[ink])),
                                   static_cast<short>(qGreen(kInks[ink])),
                                   static_cast<short>(qBlue(kInks[ink])), 255};
        colours.SetColorEntry(ink, &entry);
    }
    GDALRasterBand* band = dataset->GetRasterBand(1);
    band->SetColorTable(&colours);
    CPLErr error = band->RasterIO(GF_Write, 0, 0, frame.width, frame.height, indices.data(), frame.width,
                                  frame.height, GDT_Byte, 0, 0, nullptr);
    int levels[] = {2, 4, 8, 16};
    if (error == CE_None)
        error = dataset->BuildOverviews("NEAREST", 4, levels, 0, nullptr, nullptr, nullptr);
    GDALClose(dataset);
    if (error != CE_None)
        throw std::runtime_error("cannot write the quadrangle sheet " + path.toStdString());
}

} // namespace

void writeRasterSheet(const Reach& reach, const QString& folder) {
    const SheetFrame frame = frameAround(*reach.outline);
    const QImage image = SheetPainter(reach, frame).paint();
    std::vector<GByte> indices = paletteIndices(image);
    writeGeoTiff(QDir(folder).filePath(kQuadrangleLayer + QStringLiteral(".tif")), frame, indices);
}

} // namespace quillfen::sample_data
