#include "reach_geometry.h"

#include <cmath>
#include <functional>

namespace quillfen::sample_data {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTurnDegrees = 38.0;
constexpr double kDamEasting = 652400.0;
constexpr double kDamNorthing = 4838600.0;
constexpr double kStep = 40.0; ///< spacing of generated outline and centre-line points (m)
constexpr double kMetresPerMile = 1609.344;
constexpr double kDamMile = 611.6;
constexpr double kPoolTop = 4200.0;
constexpr double kBackwatersFrom = 4900.0;
constexpr double kShorelineWidth = 45.0;
constexpr double kBorderWidth = 110.0;
constexpr double kSafetyMargin = 6.0;    ///< samples keep this far inside the water's edge
constexpr double kSmallestPiece = 100.0; ///< m²; slivers of the overlays are dropped

using Points = std::vector<QPointF>;

OGRGeometryUniquePtr take(OGRGeometry* geometry) {
    return OGRGeometryUniquePtr(geometry ? geometry : new OGRGeometryCollection());
}
OGRGeometryUniquePtr unite(const OGRGeometry& a, const OGRGeometry& b) {
    return take(a.Union(&b));
}
OGRGeometryUniquePtr minus(const OGRGeometry& a, const OGRGeometry& b) {
    return take(a.Difference(&b));
}
OGRGeometryUniquePtr overlap(const OGRGeometry& a, const OGRGeometry& b) {
    return take(a.Intersection(&b));
}
OGRGeometryUniquePtr grow(const OGRGeometry& a, double distance) {
    return take(a.Buffer(distance, 8));
}

OGRGeometryUniquePtr lineFrom(const Points& points) {
    auto line = std::make_unique<OGRLineString>();
    for (const QPointF& p : points)
        line->addPoint(p.x(), p.y());
    return OGRGeometryUniquePtr(line.release());
}

OGRGeometryUniquePtr polygonFrom(const Points& points) {
    auto ring = std::make_unique<OGRLinearRing>();
    for (const QPointF& p : points)
        ring->addPoint(p.x(), p.y());
    ring->closeRings();
    auto polygon = std::make_unique<OGRPolygon>();
    polygon->addRingDirectly(ring.release());
    return OGRGeometryUniquePtr(polygon.release());
}

OGRGeometryUniquePtr emptyGeometry() {
    return OGRGeometryUniquePtr(new OGRGeometryCollection());
}

/// Calls visit for every polygon of a polygon, multipolygon or collection.
void forEachPolygon(const OGRGeometry& geometry, const std::function<void(const OGRPolygon&)>& visit) {
    const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
    if (type == wkbPolygon) {
        visit(*geometry.toPolygon());
    } else if (type == wkbMultiPolygon || type == wkbGeometryCollection) {
        for (const OGRGeometry* part : *geometry.toGeometryCollection())
            forEachPolygon(*part, visit);
    }
}

/// A lake-like shape: an ellipse in the valley frame whose radius wanders a little.
OGRGeometryUniquePtr blob(const ValleyFrame& frame, double u, double v, double radiusU, double radiusV,
                          Random& random) {
    const double p1 = random.between(0, 2 * kPi), p2 = random.between(0, 2 * kPi);
    Points points;
    for (int i = 0; i < 48; ++i) {
        const double a = 2 * kPi * i / 48;
        const double wobble = 1.0 + 0.14 * std::sin(3 * a + p1) + 0.08 * std::sin(5 * a + p2);
        points.push_back(
            frame.toWorld(u + radiusU * wobble * std::cos(a), v + radiusV * wobble * std::sin(a)));
    }
    return polygonFrom(points);
}

/// A body of water of the valley, remembered in valley coordinates so that vegetation beds can
/// be placed inside it.
struct WaterBody {
    double u, v, radius;
};

class ReachBuilder {
public:
    ReachBuilder(Reach& reach, Random& random) : reach_(reach), frame_(reach.frame), random_(random) {}

    void build() {
        buildOutline();
        buildMainChannel();
        buildPool();
        buildSideChannels();
        buildTributaryAndDeltaLake();
        buildContiguousBackwaters();
        buildIsolatedBackwaters();
        assembleWater();
        buildStructures();
        buildRegions();
        buildWaterCover();
        buildLandCover();
        buildMiles();
        nameFeatures();
    }

private:
    void buildOutline() {
        Points points;
        for (double v = -ValleyFrame::kTailwater; v <= ValleyFrame::kLength; v += kStep)
            points.push_back(frame_.toWorld(-frame_.bluffDistance(-1, v), v));
        for (double v = ValleyFrame::kLength; v >= -ValleyFrame::kTailwater; v -= kStep)
            points.push_back(frame_.toWorld(frame_.bluffDistance(1, v), v));
        reach_.outline = polygonFrom(points);
    }

    void buildMainChannel() {
        Points centre;
        for (double v = -ValleyFrame::kTailwater - 400; v <= ValleyFrame::kLength + 400; v += kStep)
            centre.push_back(frame_.toWorld(frame_.channelCentre(v), v));
        mainChannel_ = overlap(*grow(*lineFrom(centre), ValleyFrame::kChannelHalfWidth), *reach_.outline);
    }

    /// The pool above the dam floods the whole valley floor but for a margin and a few islands.
    void buildPool() {
        Points points;
        const double margin = 160.0;
        for (double v = 0; v <= kPoolTop - 500; v += kStep)
            points.push_back(frame_.toWorld(-frame_.bluffDistance(-1, v) + margin, v));
        for (int i = 0; i <= 20; ++i) {
            const double t = i / 20.0;
            const double left = -frame_.bluffDistance(-1, kPoolTop) + margin;
            const double right = frame_.bluffDistance(1, kPoolTop) - margin;
            points.push_back(
                frame_.toWorld(left + t * (right - left), kPoolTop - 500 + 500 * std::sin(kPi * t)));
        }
        for (double v = kPoolTop - 500; v >= 0; v -= kStep)
            points.push_back(frame_.toWorld(frame_.bluffDistance(1, v) - margin, v));
        pool_ = polygonFrom(points);
        for (int placed = 0, tries = 0; placed < 6 && tries < 200; ++tries) {
            const double v = random_.between(500, kPoolTop - 600);
            const double u = random_.between(-1300, 1300);
            const double radius = random_.between(70, 240);
            if (std::abs(u - frame_.channelCentre(v)) < ValleyFrame::kChannelHalfWidth + radius + 80)
                continue;
            pool_ = minus(*pool_, *blob(frame_, u, v, radius * 1.6, radius, random_));
            ++placed;
        }
    }

    /// Side channels leave the main channel and join it again, enclosing long islands.
    void buildSideChannels() {
        sideChannels_ = emptyGeometry();
        const double starts[] = {5300, 10400, 15600, 20500};
        for (double start : starts) {
            const double end = start + random_.between(2800, 4300);
            const double middle = frame_.channelCentre((start + end) / 2);
            const int side = middle > 0 ? -1 : 1;
            const double reach = random_.between(450, 750);
            Points centre;
            for (double v = start; v <= end; v += kStep) {
                const double t = (v - start) / (end - start);
                double u = frame_.channelCentre(v) + side * reach * std::sin(kPi * t);
                const double limit = frame_.bluffDistance(side, v) - 150;
                u = std::clamp(u, -limit, limit);
                centre.push_back(frame_.toWorld(u, v));
            }
            sideChannels_ = unite(*sideChannels_, *grow(*lineFrom(centre), random_.between(45, 70)));
        }
        sideChannels_ = overlap(*sideChannels_, *reach_.outline);
    }

    void buildTributaryAndDeltaLake() {
        const double v = 16800;
        const double bank = frame_.bluffDistance(-1, v);
        Points course;
        for (int i = 0; i <= 60; ++i) {
            const double t = i / 60.0;
            const double u = -bank + 60 - t * 5200;
            course.push_back(frame_.toWorld(u, v + t * 2600 + 260 * std::sin(6 * t + 1.3)));
        }
        reach_.tributary = lineFrom(course);
        const double channelEdge = frame_.channelCentre(v) - ValleyFrame::kChannelHalfWidth;
        const double radius = (channelEdge + bank) / 2 + 60;
        const double u = (channelEdge - bank) / 2;
        deltaLake_ = unite(*blob(frame_, u, v, radius, radius * 1.4, random_), *grow(*reach_.tributary, 28));
        deltaLake_ = overlap(*deltaLake_, *reach_.outline);
        waterBodies_.push_back({u, v, radius});
    }

    void buildContiguousBackwaters() {
        contiguous_ = emptyGeometry();
        for (int i = 0; i < 13; ++i) {
            const double v = kBackwatersFrom + 300 + i * 1550 + random_.between(0, 900);
            const double radius = random_.between(200, 520);
            int side = random_.chance(0.5) ? 1 : -1;
            const double centre = frame_.channelCentre(v);
            double u = centre + side * (ValleyFrame::kChannelHalfWidth + radius * 0.6);
            if (std::abs(u) + radius > frame_.bluffDistance(side, v) - 100) {
                side = -side;
                u = centre + side * (ValleyFrame::kChannelHalfWidth + radius * 0.6);
            }
            contiguous_ = unite(*contiguous_, *blob(frame_, u, v, radius, radius * 1.5, random_));
            waterBodies_.push_back({u, v, radius});
        }
        contiguous_ = overlap(*contiguous_, *reach_.outline);
    }

    void buildIsolatedBackwaters() {
        isolated_ = emptyGeometry();
        const OGRGeometryUniquePtr inner = grow(*reach_.outline, -60);
        OGRGeometryUniquePtr taken =
            unite(*unite(*mainChannel_, *sideChannels_), *unite(*contiguous_, *deltaLake_));
        taken = unite(*taken, *pool_);
        firstIsolated_ = waterBodies_.size();
        for (int placed = 0, tries = 0; placed < 10 && tries < 600; ++tries) {
            const double v = random_.between(kBackwatersFrom, ValleyFrame::kLength - 300);
            const double u = random_.between(-1600, 1600);
            const double radius = random_.between(90, 240);
            OGRGeometryUniquePtr lake = blob(frame_, u, v, radius, radius * 1.3, random_);
            if (!inner->Contains(lake.get()) || grow(*lake, 70)->Intersects(taken.get()))
                continue;
            taken = unite(*taken, *lake);
            isolated_ = unite(*isolated_, *lake);
            waterBodies_.push_back({u, v, radius});
            ++placed;
        }
    }

    void assembleWater() {
        OGRGeometryUniquePtr water = unite(*mainChannel_, *sideChannels_);
        water = unite(*water, *pool_);
        water = unite(*water, *deltaLake_);
        water = unite(*water, *contiguous_);
        water = unite(*water, *isolated_);
        reach_.water = overlap(*water, *reach_.outline);
    }

    void buildStructures() {
        wingDams_ = emptyGeometry();
        for (int cluster = 0; cluster < 6; ++cluster) {
            const double v0 = 5600 + cluster * 3300 + random_.between(0, 1200);
            const int side = frame_.channelCentre(v0) > 0 ? 1 : -1;
            const int count = random_.integer(3, 5);
            for (int i = 0; i < count; ++i) {
                const double v = v0 + i * 160;
                const double centre = frame_.channelCentre(v);
                OGRGeometryUniquePtr dam = lineFrom(
                    {frame_.toWorld(centre + side * (ValleyFrame::kChannelHalfWidth + 25), v),
                     frame_.toWorld(centre + side * (ValleyFrame::kChannelHalfWidth - 120), v - 25)});
                wingDams_ = unite(*wingDams_, *dam);
                reach_.structures.push_back({std::move(dam), QStringLiteral("Wing Dam")});
            }
        }
        Points levee;
        for (double v = 6200; v <= 15200; v += kStep)
            levee.push_back(frame_.toWorld(frame_.bluffDistance(1, v) - 240, v));
        const OGRGeometryUniquePtr land = minus(*reach_.outline, *reach_.water);
        reach_.structures.push_back({overlap(*lineFrom(levee), *land), QStringLiteral("Levee")});
        reach_.structures.push_back({lineFrom({frame_.toWorld(-frame_.bluffDistance(-1, 0), 0),
                                               frame_.toWorld(frame_.bluffDistance(1, 0), 0)}),
                                     QStringLiteral("Lock and Dam")});
        const double lockU = frame_.channelCentre(0) + ValleyFrame::kChannelHalfWidth - 40;
        for (double offset : {0.0, 35.0})
            reach_.structures.push_back(
                {lineFrom({frame_.toWorld(lockU + offset, -180), frame_.toWorld(lockU + offset, 180)}),
                 QStringLiteral("Lock Wall")});
    }

    void setRegion(Region region, OGRGeometryUniquePtr geometry) {
        reach_.regions[region] = overlap(*geometry, *safeWater_);
    }

    void splitShoreline(Region whole, Region shoreline, Region offshore) {
        const OGRGeometry& body = *reach_.regions[whole];
        const OGRGeometryUniquePtr inner = grow(body, -kShorelineWidth);
        reach_.regions[shoreline] = minus(body, *inner);
        reach_.regions[offshore] = overlap(body, *inner);
    }

    void buildRegions() {
        safeWater_ = grow(*reach_.water, -kSafetyMargin);
        setRegion(Region::MainChannel, take(mainChannel_->clone()));
        setRegion(Region::MainChannelBorder, minus(*mainChannel_, *grow(*mainChannel_, -kBorderWidth)));
        setRegion(Region::WingDamBorder,
                  overlap(*reach_.regions[Region::MainChannelBorder], *grow(*wingDams_, 90)));
        OGRGeometryUniquePtr taken = unite(*mainChannel_, *pool_);
        setRegion(Region::Impounded, minus(*pool_, *mainChannel_));
        setRegion(Region::SideChannel, minus(*sideChannels_, *taken));
        taken = unite(*taken, *sideChannels_);
        setRegion(Region::TributaryDeltaLake, minus(*deltaLake_, *taken));
        taken = unite(*taken, *deltaLake_);
        setRegion(Region::ContiguousBackwater, minus(*contiguous_, *taken));
        setRegion(Region::IsolatedBackwater, minus(*isolated_, *taken));
        splitShoreline(Region::ContiguousBackwater, Region::BackwaterShoreline, Region::BackwaterOffshore);
        splitShoreline(Region::Impounded, Region::ImpoundedShoreline, Region::ImpoundedOffshore);
    }

    void addCover(const OGRGeometry& geometry, int landWater, int coverClass) {
        forEachPolygon(geometry, [&](const OGRPolygon& polygon) {
            if (polygon.get_Area() >= kSmallestPiece)
                reach_.cover.push_back({OGRGeometryUniquePtr(polygon.clone()), landWater, coverClass});
        });
    }

    /// Aquatic vegetation beds in the backwaters and the pool; the rest of the water is open.
    void buildWaterCover() {
        static const int kBedClasses[] = {2, 2, 2, 3, 5, 5, 6, 7, 7, 8};
        OGRGeometryUniquePtr open = take(reach_.water->clone());
        const OGRGeometryUniquePtr vegetable = minus(*reach_.water, *mainChannel_);
        for (int i = 0; i < 90; ++i) {
            const bool inPool = i % 4 == 0;
            double u, v, radius;
            if (inPool) {
                v = random_.between(300, kPoolTop - 300);
                u = frame_.channelCentre(v) + (random_.chance(0.5) ? 1 : -1) * random_.between(350, 1000);
                radius = random_.between(80, 260);
            } else {
                const WaterBody& body =
                    waterBodies_[random_.integer(0, static_cast<int>(waterBodies_.size()) - 1)];
                u = body.u + random_.between(-0.5, 0.5) * body.radius;
                v = body.v + random_.between(-0.5, 0.5) * body.radius;
                radius = random_.between(0.25, 0.6) * body.radius;
            }
            const int coverClass = i < 3 ? 4 : kBedClasses[random_.integer(0, 9)];
            const OGRGeometryUniquePtr bed =
                overlap(*overlap(*blob(frame_, u, v, radius, radius * 0.8, random_), *vegetable), *open);
            addCover(*bed, 2, coverClass);
            open = minus(*open, *bed);
        }
        addCover(*open, 2, 1);
    }

    int landClassAt(double u, double v) {
        if (v < 2600 && u < -700)
            return 12; // the town beside the dam
        const double farmland = std::abs(u) > 1000 ? 0.45 : 0.15;
        const double draw = random_.unit();
        if (draw < farmland)
            return 11;
        return draw < farmland + (1 - farmland) * 0.65 ? 10 : 9;
    }

    /// Land cover in fields and woods: bands across the valley of varying depth, each cut at a
    /// few places; sand and mud line the main channel's banks.
    void buildLandCover() {
        const OGRGeometryUniquePtr land = minus(*reach_.outline, *reach_.water);
        const OGRGeometryUniquePtr banks = overlap(*land, *grow(*mainChannel_, 40));
        addCover(*banks, 1, 13);
        const OGRGeometryUniquePtr rest = minus(*land, *banks);
        const double wide = 2400;
        double v = -ValleyFrame::kTailwater - 300, slant = 0;
        while (v < ValleyFrame::kLength + 300) {
            const bool last = v + 1600 >= ValleyFrame::kLength + 300;
            const double nextV = last ? ValleyFrame::kLength + 300 : v + random_.between(600, 1600);
            const double nextSlant = last ? 0 : random_.between(-200, 200);
            std::vector<double> cuts = {-wide};
            for (int i = random_.integer(2, 4); i > 0; --i)
                cuts.push_back(std::min(wide, cuts.back() + random_.between(500, 1400)));
            cuts.push_back(wide);
            for (size_t i = 0; i + 1 < cuts.size(); ++i) {
                const double u0 = cuts[i], u1 = cuts[i + 1];
                const OGRGeometryUniquePtr cell = polygonFrom(
                    {frame_.toWorld(u0, v + slant * u0 / wide), frame_.toWorld(u1, v + slant * u1 / wide),
                     frame_.toWorld(u1, nextV + nextSlant * u1 / wide),
                     frame_.toWorld(u0, nextV + nextSlant * u0 / wide)});
                if (u1 > u0 && cell->Intersects(rest.get()))
                    addCover(*overlap(*rest, *cell), 1, landClassAt((u0 + u1) / 2, (v + nextV) / 2));
            }
            v = nextV;
            slant = nextSlant;
        }
    }

    void buildMiles() {
        QPointF previous = frame_.toWorld(frame_.channelCentre(0), 0);
        double travelled = 0;
        double nextMile = std::ceil(kDamMile);
        for (double v = 1; v <= ValleyFrame::kLength; v += 1) {
            const QPointF here = frame_.toWorld(frame_.channelCentre(v), v);
            travelled += std::hypot(here.x() - previous.x(), here.y() - previous.y());
            previous = here;
            if (kDamMile + travelled / kMetresPerMile >= nextMile) {
                reach_.miles.push_back({here, nextMile});
                nextMile += 1.0;
            }
        }
    }

    void nameFeatures() {
        const double along = frame_.angleDegrees() - 90.0; // downstream, readable
        auto name = [&](const QString& text, double u, double v, double angle, double height) {
            reach_.names.push_back({text, frame_.toWorld(u, v), angle, height});
        };
        name(QStringLiteral("FENMARK"), -1700, 1300, 0, 260);
        name(QStringLiteral("LOCK AND DAM 11"), 500, -420, frame_.angleDegrees(), 120);
        name(QStringLiteral("FENMARK POOL"), frame_.channelCentre(2200) + 450, 2200, along, 170);
        name(QStringLiteral("PINE CREEK"), -frame_.bluffDistance(-1, 17600) - 1800, 18400, along - 25, 140);
        const WaterBody& slough = waterBodies_[3];
        name(QStringLiteral("HERON SLOUGH"), slough.u + slough.radius + 60, slough.v, along, 110);
        name(QStringLiteral("WILLOW ISLAND"), frame_.channelCentre(12000) * 0.3, 12000, along, 110);
        if (waterBodies_.size() > firstIsolated_) {
            const WaterBody& lake = waterBodies_[firstIsolated_];
            name(QStringLiteral("OTTER LAKE"), lake.u + lake.radius * 1.4 + 120, lake.v, along, 100);
        }
        name(QStringLiteral("QUARRY RIDGE"), 3200, 9000, along, 150);
        name(QStringLiteral("MARSH BOTTOMS"), -2600, 22000, along, 150);
    }

    Reach& reach_;
    const ValleyFrame& frame_;
    Random& random_;
    OGRGeometryUniquePtr mainChannel_, pool_, sideChannels_, deltaLake_, contiguous_, isolated_;
    OGRGeometryUniquePtr wingDams_, safeWater_;
    std::vector<WaterBody> waterBodies_; ///< the delta lake, the contiguous, then the isolated backwaters
    size_t firstIsolated_ = 0;
};

} // namespace

ValleyFrame::ValleyFrame(Random& random) {
    for (double& phase : phase_)
        phase = random.between(0, 2 * kPi);
}

QPointF ValleyFrame::toWorld(double u, double v) const {
    // The valley axis points upstream towards the north-west.
    const double a = kTurnDegrees * kPi / 180.0;
    return QPointF(kDamEasting - u * std::cos(a) - v * std::sin(a),
                   kDamNorthing - u * std::sin(a) + v * std::cos(a));
}

double ValleyFrame::bluffDistance(int side, double v) const {
    const int k = side > 0 ? 0 : 2;
    return 1750 + 130 * std::sin(2 * kPi * v / 5300 + phase_[k]) +
           70 * std::sin(2 * kPi * v / 1900 + phase_[k + 1]);
}

double ValleyFrame::channelCentre(double v) const {
    return 640 * std::sin(2 * kPi * v / 7400 + phase_[4]) + 210 * std::sin(2 * kPi * v / 3100 + phase_[5]);
}

double ValleyFrame::angleDegrees() const {
    return kTurnDegrees;
}

Reach buildReach(Random& random) {
    Reach reach(random);
    ReachBuilder(reach, random).build();
    return reach;
}

} // namespace quillfen::sample_data
