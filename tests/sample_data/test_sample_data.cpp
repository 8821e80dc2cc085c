// Runs the demonstration data generator into temporary folders and reads what it wrote back
// through GDAL/OGR: the field types of every kind, samples in the reach's water, the realism and
// the planted cases the end-to-end tests and benchmarks rely on, the options and determinism.
// (That every file is present and readable with its fields, the viewer's --check tells.)

#include "file_records.h"

#include "catalogue/pick_lists.h"
#include "catalogue/sample_schema.h"
#include "support/file_bytes.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace datafiles;
using namespace quillfen;

namespace {

struct Run {
    int exitCode;
    QByteArray output;
    QByteArray errors;
    bool succeededSilently() const { return exitCode == 0 && output.isEmpty() && errors.isEmpty(); }
};

Run runGenerator(const QStringList& arguments) {
    QProcess generator;
    generator.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quillfen-sample-data"),
                    arguments);
    if (!generator.waitForFinished(300000)) {
        generator.kill();
        generator.waitForFinished();
        return {-1, {}, {}};
    }
    const int code = generator.exitStatus() == QProcess::NormalExit ? generator.exitCode() : -1;
    return {code, generator.readAllStandardOutput(), generator.readAllStandardError()};
}

/// The OGR type a field of a kind must have when read back; counts may also be integers.
OGRFieldType expectedType(SampleKind kind, const SchemaField& field) {
    if (field.field == QLatin1String("barcode"))
        return kind == SampleKind::Veg ? OFTString : OFTInteger;
    if (field.field == QLatin1String("date"))
        return OFTDate;
    const bool numericCode =
        kind == SampleKind::Water && QStringList{"samp_depth", "veg_cov", "veg_den"}.contains(field.field);
    return field.valueClass == ValueClass::Number || numericCode ? OFTReal : OFTString;
}

/// Fails unless the layer holds exactly the schema's fields (plus grid_code when asked) in
/// order, each with its type.
void checkFields(const QString& what, OGRLayer* layer, SampleKind kind, bool withGridCode) {
    QVector<SchemaField> expected = sampleSchema(kind);
    if (withGridCode)
        expected << SchemaField{};
    OGRFeatureDefn* definition = layer->GetLayerDefn();
    QCOMPARE(definition->GetFieldCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const OGRFieldDefn* field = definition->GetFieldDefn(i);
        const bool isGridCode = withGridCode && i == expected.size() - 1;
        QCOMPARE(QString(field->GetNameRef()), isGridCode ? QStringLiteral("grid_code") : expected[i].field);
        const OGRFieldType wanted = isGridCode ? OFTInteger : expectedType(kind, expected[i]);
        const bool countAsInteger =
            wanted == OFTReal && expected[i].unit == QLatin1String("count") && field->GetType() == OFTInteger;
        QVERIFY2(field->GetType() == wanted || countAsInteger,
                 qPrintable(QStringLiteral("%1.%2 has OGR type %3")
                                .arg(what, field->GetNameRef())
                                .arg(field->GetType())));
    }
}

/// The site codes of the records, or of those whose `field` holds `value`.
QSet<int> codesOf(const Records& records, const QString& field = {}, const QString& value = {}) {
    QSet<int> codes;
    for (const Record& record : records) {
        if (field.isEmpty() || record.value(field).toString() == value)
            codes.insert(record.gridCode());
    }
    return codes;
}

int countOf(const Records& records, const std::function<bool(const Record&)>& test) {
    return int(std::count_if(records.begin(), records.end(), test));
}

/// Whether every measured (not -99) value of the field lies within low..high.
bool measuredWithin(const Records& records, const QString& field, double low, double high) {
    return countOf(records, [&](const Record& r) {
               const double value = r.value(field).toDouble();
               return value != -99 && (value < low || value > high);
           }) == 0;
}

/// The share of the numeric water-quality measurements that hold -99 (not measured).
double missingShare(const Records& records) {
    int measurements = 0, missing = 0;
    for (const SchemaField& field : sampleSchema(SampleKind::Water)) {
        if (field.valueClass == ValueClass::Number) {
            measurements += int(records.size());
            missing +=
                countOf(records, [&](const Record& r) { return r.value(field.field).toDouble() == -99; });
        }
    }
    return double(missing) / measurements;
}

} // namespace

class TestSampleData : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temporary_;
    QString folder_;

    QString path(const QString& name) const { return QDir(folder_).filePath(name); }
    Records records(const QString& name) const { return readRecords(path(name)); }

    /// Whether every coded and species field of every kind holds only labels of its list, and
    /// some, in the third period of the kind.
    bool codedFieldsHoldListedLabels() const {
        for (SampleKind kind : allSampleKinds()) {
            const QString period = samplingPeriods(kind).at(2).periodCode;
            const QString table = companionTable(kind, period);
            const Records found =
                records(table.isEmpty() ? layerCode(kind, period) + ".shp" : table + ".dbf");
            for (const SchemaField& field : sampleSchema(kind)) {
                if (field.valueClass != ValueClass::CodedText && field.valueClass != ValueClass::Species)
                    continue;
                const QStringList& labels = pickList(field.pickList).labels;
                const auto value = [&](const Record& r) { return r.value(field.field).toString(); };
                if (countOf(found,
                            [&](const Record& r) {
                                return !value(r).isEmpty() && !labels.contains(value(r));
                            }) > 0 ||
                    countOf(found, [&](const Record& r) { return !value(r).isEmpty(); }) == 0)
                    return false;
            }
        }
        return true;
    }

private slots:
    void initTestCase() {
        GDALAllRegister();
        QVERIFY(temporary_.isValid());
        folder_ = temporary_.filePath(QStringLiteral("data"));
        QVERIFY2(runGenerator({folder_}).succeededSilently(), "the generator failed or printed something");
    }

    void cleanupTestCase() { OGRCleanupAll(); }

    void everySampleLayerAndTableHasTheFieldsOfItsKindAndEverySampleLiesInTheReachsWater() {
        std::vector<OGRPreparedGeometryUniquePtr> water;
        for (const Record& piece : records("kxlw.shp")) {
            if (piece.value("lw").toInt() == 2)
                water.emplace_back(OGRCreatePreparedGeometry(OGRGeometry::ToHandle(piece.geometry.get())));
        }
        QVERIFY(!water.empty());
        int shapeless = 0;
        for (SampleKind kind : allSampleKinds()) {
            for (const SamplingPeriod& period : samplingPeriods(kind)) {
                const QString code = layerCode(kind, period.periodCode);
                for (const Record& sample : records(code + ".shp")) {
                    const auto inPiece = [&](const OGRPreparedGeometryUniquePtr& piece) {
                        return OGRPreparedGeometryContains(piece.get(),
                                                           OGRGeometry::ToHandle(sample.geometry.get()));
                    };
                    shapeless += !sample.geometry;
                    QVERIFY2(!sample.geometry || std::any_of(water.begin(), water.end(), inPiece),
                             qPrintable(QStringLiteral("a point of %1 lies on land").arg(code)));
                }
                const QString table = companionTable(kind, period.periodCode);
                const QString file = table.isEmpty() ? code + ".shp" : table + ".dbf";
                const GDALDatasetUniquePtr dataset(
                    GDALDataset::Open(path(file).toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
                QVERIFY2(dataset, qPrintable(file));
                checkFields(file, dataset->GetLayer(0), kind, !table.isEmpty());
            }
        }
        QCOMPARE(shapeless, 1); // the planted sample of kxw93sm
    }

    void theDataIsRealisticAndHoldsThePlantedCases() {
        OGREnvelope reach;
        records("kx_out.shp").at(0).geometry->getEnvelope(&reach);
        const GDALDatasetUniquePtr sheet(
            GDALDataset::Open(path("kx_drg.tif").toUtf8().constData(), GDAL_OF_RASTER | GDAL_OF_READONLY));
        double t[6] = {};
        QVERIFY(sheet && sheet->GetGeoTransform(t) == CE_None);
        const Records fishSites = records("kxf93sm.shp");
        const Records catches = records("kxr93sm.dbf");
        const Records vegetationSites = records("kxv98.shp");
        QSet<QString> fish;
        for (const SamplingPeriod& period : samplingPeriods(SampleKind::Fish)) {
            for (const Record& record : records(companionTable(SampleKind::Fish, period.periodCode) + ".dbf"))
                fish.insert(record.value("species").toString());
        }
        const auto catchesAt = [&catches](int site) {
            return countOf(catches, [site](const Record& r) { return r.gridCode() == site; });
        };

        const struct {
            const char* what;
            bool holds;
        } facts[] = {
            {"the quadrangle sheet covers the reach",
             t[0] < reach.MinX && t[3] > reach.MaxY && t[0] + t[1] * sheet->GetRasterXSize() > reach.MaxX &&
                 t[3] + t[5] * sheet->GetRasterYSize() < reach.MinY},
            {"the sheet has overviews for views zoomed out",
             sheet->GetRasterBand(1)->GetOverviewCount() >= 3},
            {"winter water is cold", measuredWithin(records("kxw97wn.shp"), "temp", -1, 4)},
            {"summer water is warm", measuredWithin(records("kxw97sm.shp"), "temp", 20, 40)},
            {"oxygen stays within what a river holds",
             measuredWithin(records("kxw99sm.shp"), "dis_oxygen", 1, 15)},
            {"about 5% of the measurements are missing (-99)",
             missingShare(records("kxw99sm.shp")) > 0.03 && missingShare(records("kxw99sm.shp")) < 0.08},
            {"some catch-table values are left empty", countOf(records("kxr99sm.dbf"),
                                                               [](const Record& r) {
                                                                   return r.value("substrat").isNull() ||
                                                                          r.value("velocity").isNull();
                                                               }) > 0},
            {"coded fields hold labels of their lists", codedFieldsHoldListedLabels()},
            {"fish species come from the full list, not only the common ones", fish.size() > 60},
            {"every catch belongs to a site, and some sites caught nothing",
             codesOf(catches).size() < int(fishSites.size()) &&
                 codesOf(catches).subtract(codesOf(fishSites)).isEmpty()},
            {"every vegetation site has records in its table",
             codesOf(records("kxv01d.dbf")) == codesOf(records("kxv01.shp"))},
            {"fish sites 7, 12 and 120 are sampled", codesOf(fishSites).contains({7, 12, 120})},
            {"fish site 7 caught nothing", catchesAt(7) == 0},
            {"fish site 12 has several catch records", catchesAt(12) >= 2},
            {"Bluegill is caught at several sites", codesOf(catches, "species", "Bluegill").size() >= 3},
            {"vegetation sites 12 and 120 are sampled", codesOf(vegetationSites).contains({12, 120})},
            {"the sample without a point has low oxygen",
             countOf(records("kxw93sm.shp"),
                     [](const Record& r) {
                         const double oxygen = r.value("dis_oxygen").toDouble();
                         return !r.geometry && oxygen < 5 && oxygen != -99;
                     }) == 1},
        };
        for (const auto& fact : facts)
            QVERIFY2(fact.holds, fact.what);
    }

    void theScaleOptionMultipliesSamplesAndRecords() {
        const QString doubled = temporary_.filePath(QStringLiteral("doubled"));
        QVERIFY(runGenerator({doubled, QStringLiteral("--scale"), QStringLiteral("2")}).succeededSilently());
        auto countIn = [](const QString& folder, const QString& file) {
            return int(readRecords(QDir(folder).filePath(file)).size());
        };
        // The planted shapeless sample comes once at any scale.
        QCOMPARE(countIn(doubled, "kxw93sm.shp") - 1, 2 * (countIn(folder_, "kxw93sm.shp") - 1));
        for (const char* file : {"kxi02.shp", "kxf00sp.shp", "kxv99.shp"})
            QCOMPARE(countIn(doubled, file), 2 * countIn(folder_, file));
        const double ratio = double(countIn(doubled, "kxr00sp.dbf")) / countIn(folder_, "kxr00sp.dbf");
        QVERIFY(ratio > 1.6 && ratio < 2.4);
        // At scale 2 the fish layer reaches code 120 by counting; it is still there once.
        const Records sites = readRecords(QDir(doubled).filePath("kxf93sm.shp"));
        QCOMPARE(int(codesOf(sites).size()), int(sites.size()));
        QVERIFY(codesOf(sites).contains(120));
    }

    void wrongArgumentsAreRefusedWithAUsageLine() {
        const QString folder = temporary_.filePath(QStringLiteral("refused"));
        for (const QStringList& arguments :
             {QStringList{}, QStringList{folder, "--scale", "0"}, QStringList{folder, "--seed", "x"},
              QStringList{folder, "--colour"}}) {
            const Run run = runGenerator(arguments);
            QVERIFY(run.exitCode != 0);
            QVERIFY(run.errors.startsWith("usage: quillfen-sample-data FOLDER"));
        }
        QVERIFY(!QFile::exists(folder));
    }

    void theSameSeedGivesTheSameBytesAndAnotherSeedDoesNot() {
        const QString again = temporary_.filePath(QStringLiteral("again"));
        const QString other = temporary_.filePath(QStringLiteral("other"));
        QVERIFY(runGenerator({again}).succeededSilently());
        QVERIFY(runGenerator({other, QStringLiteral("--seed"), QStringLiteral("20")}).succeededSilently());
        const QStringList names = QDir(folder_).entryList(QDir::Files, QDir::Name);
        QCOMPARE(QDir(again).entryList(QDir::Files, QDir::Name), names);
        QVERIFY(names.size() >= 82 * 4 + 34 + 1);
        int differing = 0;
        for (const QString& name : names) {
            const QByteArray bytes = testing::fileBytes(path(name));
            QVERIFY2(bytes == testing::fileBytes(QDir(again).filePath(name)), qPrintable(name));
            differing += bytes != testing::fileBytes(QDir(other).filePath(name));
        }
        QVERIFY(testing::fileBytes(path("kx_drg.tif")) !=
                testing::fileBytes(QDir(other).filePath("kx_drg.tif")));
        QVERIFY(differing > names.size() / 2);
    }
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "test_sample_data.moc"
