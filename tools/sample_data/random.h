#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace quillfen::sample_data {

/// A small deterministic random generator (splitmix64). Every value the generator draws comes
/// from here, by integer arithmetic and exact scaling (no std:: distributions, whose results
/// differ between standard libraries), so that a seed gives the same data folder wherever the
/// same GDAL and GEOS versions run.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    /// A generator for one named part of the data, independent of the order in which parts
    /// are generated: the seed is mixed with a hash of the name.
    static Random forPart(std::uint64_t seed, const QString& part) {
        std::uint64_t hash = 1469598103934665603ull; // FNV-1a
        for (QChar c : part) {
            hash ^= c.unicode();
            hash *= 1099511628211ull;
        }
        return Random(seed ^ hash);
    }

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }

    /// Uniform in [0, 1), 53 random bits.
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    /// Uniform in [low, high).
    double between(double low, double high) { return low + (high - low) * unit(); }
    /// Uniform integer in [low, high], both ends included.
    int integer(int low, int high) {
        const std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
        return low + static_cast<int>(next() % span);
    }
    bool chance(double probability) { return unit() < probability; }
    /// A roughly bell-shaped value around centre (sum of three uniforms), within centre ± spread.
    double around(double centre, double spread) {
        return centre + spread * ((unit() + unit() + unit()) / 1.5 - 1.0);
    }
    const QString& pick(const QStringList& items) { return items.at(integer(0, items.size() - 1)); }

private:
    std::uint64_t state_;
};

} // namespace quillfen::sample_data
