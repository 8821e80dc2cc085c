// Times the catch-table select of a logical fish query, on a freshly loaded table (cold) and
// on the cached table (warm), against ogrinfo answering the same select on the same file.
//
//   bench_tabledb [DATA_FOLDER]
//
// Scale 1 uses DATA_FOLDER/kxr93sm.dbf (default: the data folder beside the executable) when it
// exists; every other scale, and scale 1 without that file, uses a catch table written here.

#include "tabledb/shape_driver.h"
#include "tabledb/table_database.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

const QString kTable = QStringLiteral("kxr93sm");
const QString kSelect = QStringLiteral("SELECT * FROM kxr93sm WHERE species = 'Bluegill';");
/// The same select for ogrinfo, whose SQL dialect takes no statement terminator.
const QString kReferenceSelect = QStringLiteral("SELECT * FROM kxr93sm WHERE species = 'Bluegill'");
/// Catch records per unit of scale, about what the demonstration data holds per fish period.
constexpr int kRecordsPerScale = 400;
constexpr int kScales[] = {1, 10, 100};
constexpr int kEngineRuns = 9;
constexpr int kReferenceRuns = 5;

const char* const kSpecies[] = {"Bluegill",    "Largemouth Bass", "Walleye",
                                "Sauger",      "Yellow Perch",    "White Bass",
                                "Common Carp", "Channel Catfish", "Freshwater Drum"};
const char* const kStrata[] = {"Main Channel", "Side Channel", "Backwater-offshore", "Backwater-shoreline"};
const char* const kGears[] = {"Electrofishing", "Fyke Net", "Seine", "Trawl"};

struct CatchField {
    const char* name;
    OGRFieldType type;
    int width;
    int precision;
};

const CatchField kCatchFields[] = {
    {"barcode", OFTInteger, 9, 0}, {"loc_code", OFTString, 12, 0},  {"stratum", OFTString, 30, 0},
    {"date", OFTDate, 8, 0},       {"gear", OFTString, 20, 0},      {"depth", OFTReal, 8, 2},
    {"velocity", OFTReal, 8, 2},   {"veg_den", OFTString, 12, 0},   {"substrat", OFTString, 12, 0},
    {"species", OFTString, 30, 0}, {"ave_len", OFTReal, 8, 1},      {"count", OFTInteger, 6, 0},
    {"catch_eff", OFTReal, 8, 2},  {"grid_code", OFTInteger, 9, 0},
};

template <size_t N> const char* pick(QRandomGenerator& random, const char* const (&values)[N]) {
    return values[random.bounded(int(N))];
}

void fillCatchRecord(OGRFeature& feature, int index, QRandomGenerator& random) {
    const QDate date = QDate(1993, 6, 1).addDays(random.bounded(90));
    feature.SetField("barcode", 100000 + index);
    feature.SetField("loc_code", QByteArray::number(random.bounded(1000000)).constData());
    feature.SetField("stratum", pick(random, kStrata));
    feature.SetField("date", date.year(), date.month(), date.day());
    feature.SetField("gear", pick(random, kGears));
    feature.SetField("depth", random.bounded(500) / 100.0);
    feature.SetField("velocity", random.bounded(120) / 100.0);
    feature.SetField("veg_den", "Moderate");
    feature.SetField("substrat", "Silt");
    feature.SetField("species", pick(random, kSpecies));
    feature.SetField("ave_len", 20 + random.bounded(4000) / 10.0);
    feature.SetField("count", 1 + random.bounded(40));
    feature.SetField("catch_eff", 0.25 + random.bounded(100) / 100.0);
    feature.SetField("grid_code", 1 + index / 4);
}

/// Writes a catch table of `records` records into `folder`; false when OGR cannot.
bool writeCatchTable(const QString& folder, int records) {
    GDALDriver* driver = tabledb::shapeDriver();
    const QByteArray path = QDir(folder).filePath(kTable + ".dbf").toUtf8();
    const GDALDatasetUniquePtr dataset(driver->Create(path.constData(), 0, 0, 0, GDT_Unknown, nullptr));
    OGRLayer* layer =
        dataset ? dataset->CreateLayer(kTable.toUtf8().constData(), nullptr, wkbNone, nullptr) : nullptr;
    if (!layer)
        return false;
    for (const CatchField& column : kCatchFields) {
        OGRFieldDefn field(column.name, column.type);
        field.SetWidth(column.width);
        field.SetPrecision(column.precision);
        if (layer->CreateField(&field) != OGRERR_NONE)
            return false;
    }
    QRandomGenerator random(93);
    for (int i = 0; i < records; ++i) {
        OGRFeature feature(layer->GetLayerDefn());
        fillCatchRecord(feature, i, random);
        if (layer->CreateFeature(&feature) != OGRERR_NONE)
            return false;
    }
    return true;
}

double medianMilliseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Measurement {
    int records = 0;
    int matches = 0;
    int referenceMatches = 0;
    double coldMs = 0;
    double warmMs = 0;
    double referenceMs = 0;
    QString error;
};

Measurement measure(const QString& folder) {
    Measurement result;
    tabledb::Engine probe;
    const tabledb::Database database = probe.open(folder, &result.error);
    result.records = database.recordCount(kTable, &result.error);
    const tabledb::SelectResult first = database.select(kSelect);
    if (!first.ok()) {
        result.error = first.error;
        return result;
    }
    result.matches = first.records.recordCount();

    result.coldMs = medianMilliseconds(kEngineRuns, [&] {
        tabledb::Engine engine;
        engine.open(folder).select(kSelect);
    });
    result.warmMs = medianMilliseconds(kEngineRuns, [&] { probe.open(folder).select(kSelect); });

    const QString file = QDir(folder).filePath(kTable + ".dbf");
    result.referenceMs = medianMilliseconds(kReferenceRuns, [&] {
        QProcess ogrinfo;
        ogrinfo.start("ogrinfo", {"-ro", "-q", "-sql", kReferenceSelect, file});
        if (!ogrinfo.waitForFinished(-1) || ogrinfo.exitCode() != 0)
            result.error = "ogrinfo failed: " + ogrinfo.errorString();
        // Every feature printed is one match; ogrinfo reports a bad select only on stderr.
        result.referenceMatches = int(ogrinfo.readAllStandardOutput().count("\nOGRFeature("));
        const QByteArray errors = ogrinfo.readAllStandardError();
        if (errors.contains("ERROR"))
            result.error = "ogrinfo: " + QString::fromUtf8(errors).trimmed();
    });
    return result;
}

/// The folder holding kxr93sm.dbf for a scale: the data folder at scale 1 when it has the
/// table, otherwise a subfolder of `scratch` with a table written for the scale.
QString folderForScale(int scale, const QString& dataFolder, const QTemporaryDir& scratch, QString* origin) {
    if (scale == 1 && QFileInfo::exists(QDir(dataFolder).filePath(kTable + ".dbf"))) {
        *origin = dataFolder;
        return dataFolder;
    }
    const QString folder = scratch.filePath(QStringLiteral("scale%1").arg(scale));
    QDir().mkpath(folder);
    if (!writeCatchTable(folder, kRecordsPerScale * scale))
        return QString();
    *origin = QStringLiteral("written here");
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    GDALAllRegister();
    QTextStream out(stdout);
    const QStringList arguments = app.arguments();
    const QString dataFolder =
        arguments.size() > 1 ? arguments[1] : QDir(app.applicationDirPath()).filePath(QStringLiteral("data"));
    QTemporaryDir scratch;

    out << "Select: " << kSelect << "\n"
        << "Median of " << kEngineRuns << " engine runs and " << kReferenceRuns << " ogrinfo runs; "
        << "cold = new engine (open, load, select), warm = cached table (open, select).\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9  %10\n")
               .arg("scale", 5)
               .arg("records", 8)
               .arg("matches", 8)
               .arg("ogr hits", 8)
               .arg("cold ms", 9)
               .arg("warm ms", 9)
               .arg("ogrinfo ms", 11)
               .arg("cold/ogr", 9)
               .arg("warm/ogr", 9)
               .arg("table");
    int failures = 0;
    for (const int scale : kScales) {
        QString origin;
        const QString folder = folderForScale(scale, dataFolder, scratch, &origin);
        Measurement m;
        if (folder.isEmpty())
            m.error = QStringLiteral("cannot write the table");
        else
            m = measure(folder);
        if (!m.error.isEmpty()) {
            out << QStringLiteral("%1 error: %2\n").arg(scale, 5).arg(m.error);
            ++failures;
            continue;
        }
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9  %10\n")
                   .arg(scale, 5)
                   .arg(m.records, 8)
                   .arg(m.matches, 8)
                   .arg(m.referenceMatches, 8)
                   .arg(m.coldMs, 9, 'f', 2)
                   .arg(m.warmMs, 9, 'f', 3)
                   .arg(m.referenceMs, 11, 'f', 2)
                   .arg(m.coldMs / m.referenceMs, 9, 'f', 3)
                   .arg(m.warmMs / m.referenceMs, 9, 'f', 4)
                   .arg(origin);
        out.flush();
    }
    return failures == 0 ? 0 : 1;
}
