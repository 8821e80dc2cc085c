// Runs the demonstration data generator into temporary folders and reads what it wrote back
// through GDAL/OGR: datasets, fields and types, the reach's water, the planted cases and the
// generator's determinism.

#include "layer_selection/sampling_periods.h"
#include "layers/sample_schema.h"
#include "query_builder/pick_lists.h"
#include "query_builder/species_lists.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace quillfen;

namespace {

struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<GDALDataset, DatasetCloser>;

/// One record read back: field values as OGR gives them, plus the geometry.
struct Record {
    QMap<QString, QVariant> values; ///< null QVariant for an unset field
    OGRGeometryUniquePtr geometry;
};

struct Run {
    int exitCode;
    QByteArray output;
    QByteArray errors;
};

Run runWith(const QStringList& arguments) {
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

/// Runs the generator into folder; true when it succeeded without printing anything.
bool runGenerator(const QString& folder, const QStringList& extra = {}) {
    const Run run = runWith(QStringList{folder} + extra);
    return run.exitCode == 0 && run.output.isEmpty() && run.errors.isEmpty();
}

Dataset openVector(const QString& path) {
    return Dataset(GDALDataset::Open(path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
}

QVariant fieldValue(const OGRFeature& feature, int i) {
    if (!feature.IsFieldSetAndNotNull(i))
        return QVariant();
    switch (feature.GetFieldDefnRef(i)->GetType()) {
    case OFTInteger:
        return feature.GetFieldAsInteger(i);
    case OFTReal:
        return feature.GetFieldAsDouble(i);
    default:
        return QString::fromUtf8(feature.GetFieldAsString(i));
    }
}

std::vector<Record> readRecords(const QString& path) {
    std::vector<Record> records;
    Dataset dataset = openVector(path);
    if (!dataset)
        return records;
    OGRLayer* layer = dataset->GetLayer(0);
    for (const auto& feature : *layer) {
        Record record;
        for (int i = 0; i < feature->GetFieldCount(); ++i)
            record.values.insert(QString::fromUtf8(feature->GetFieldDefnRef(i)->GetNameRef()),
                                 fieldValue(*feature, i));
        if (const OGRGeometry* geometry = feature->GetGeometryRef())
            record.geometry.reset(geometry->clone());
        records.push_back(std::move(record));
    }
    return records;
}

/// The OGR type a field of a kind must have when read back.
OGRFieldType expectedType(SampleKind kind, const SchemaField& field) {
    if (field.field == QLatin1String("barcode"))
        return kind == SampleKind::Veg ? OFTString : OFTInteger;
    if (field.field == QLatin1String("date"))
        return OFTDate;
    if (field.valueClass == ValueClass::Number)
        return OFTReal; // counts may also be integers: see checkFields
    if (kind == SampleKind::Water &&
        (field.field == QLatin1String("samp_depth") || field.field == QLatin1String("veg_cov") ||
         field.field == QLatin1String("veg_den")))
        return OFTReal;
    return OFTString;
}

QStringList fieldNames(OGRLayer* layer) {
    QStringList names;
    OGRFeatureDefn* definition = layer->GetLayerDefn();
    for (int i = 0; i < definition->GetFieldCount(); ++i)
        names << QString::fromUtf8(definition->GetFieldDefn(i)->GetNameRef());
    return names;
}

/// Fails unless the layer holds exactly the schema's fields (plus grid_code when asked) in
/// order, each with its type.
void checkFields(const QString& what, OGRLayer* layer, SampleKind kind, bool withGridCode) {
    QStringList expected;
    for (const SchemaField& field : sampleSchema(kind))
        expected << field.field;
    if (withGridCode)
        expected << QStringLiteral("grid_code");
    QCOMPARE(fieldNames(layer), expected);
    OGRFeatureDefn* definition = layer->GetLayerDefn();
    for (const SchemaField& field : sampleSchema(kind)) {
        const OGRFieldType type =
            definition->GetFieldDefn(definition->GetFieldIndex(field.field.toUtf8()))->GetType();
        const OGRFieldType wanted = expectedType(kind, field);
        const bool countAsInteger =
            wanted == OFTReal && field.unit == QLatin1String("count") && type == OFTInteger;
        if (type != wanted && !countAsInteger)
            QFAIL(qPrintable(QStringLiteral("%1.%2 has OGR type %3").arg(what, field.field).arg(type)));
    }
    if (withGridCode)
        QCOMPARE(definition->GetFieldDefn(definition->GetFieldIndex("grid_code"))->GetType(), OFTInteger);
}

QString recordsSource(SampleKind kind, const QString& period) {
    return kind == SampleKind::Fish || kind == SampleKind::Veg ? companionTable(kind, period) + ".dbf"
                                                               : layerCode(kind, period) + ".shp";
}

QSet<int> codesOf(const std::vector<Record>& records) {
    QSet<int> codes;
    for (const Record& record : records)
        codes.insert(record.values.value("grid_code").toInt());
    return codes;
}

QMap<int, int> recordsPerCode(const std::vector<Record>& records) {
    QMap<int, int> counts;
    for (const Record& record : records)
        ++counts[record.values.value("grid_code").toInt()];
    return counts;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSampleData : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temporary_;
    QString folder_;

    QString path(const QString& name) const { return QDir(folder_).filePath(name); }

private slots:
    void initTestCase() {
        GDALAllRegister();
        QVERIFY(temporary_.isValid());
        folder_ = temporary_.filePath(QStringLiteral("data"));
        QVERIFY2(runGenerator(folder_), "the generator failed or printed something");
    }

    void cleanupTestCase() { OGRCleanupAll(); }

    void everySampleLayerAndTableHasTheFieldsOfItsKind() {
        for (SampleKind kind : allSampleKinds()) {
            for (const SamplingPeriod& period : samplingPeriods(kind)) {
                const QString code = layerCode(kind, period.periodCode);
                Dataset layer = openVector(path(code + ".shp"));
                QVERIFY2(layer, qPrintable(code));
                QCOMPARE(layer->GetLayer(0)->GetGeomType(), wkbPoint);
                QVERIFY(layer->GetLayer(0)->GetSpatialRef());
                QCOMPARE(QString(layer->GetLayer(0)->GetSpatialRef()->GetAuthorityCode(nullptr)),
                         QString("26915"));
                const QString table = companionTable(kind, period.periodCode);
                if (table.isEmpty()) {
                    checkFields(code, layer->GetLayer(0), kind, false);
                    continue;
                }
                QCOMPARE(fieldNames(layer->GetLayer(0)), QStringList{"grid_code"});
                QCOMPARE(layer->GetLayer(0)->GetLayerDefn()->GetFieldDefn(0)->GetType(), OFTInteger);
                QVERIFY2(!QFile::exists(path(table + ".shp")), "a companion table is a plain dBASE file");
                Dataset companion = openVector(path(table + ".dbf"));
                QVERIFY2(companion, qPrintable(table));
                checkFields(table, companion->GetLayer(0), kind, true);
            }
        }
    }

    void theBaseLayersCarryTheirFieldsAndGeometries() {
        Dataset outline = openVector(path("kx_out.shp"));
        QVERIFY(outline);
        QCOMPARE(outline->GetLayer(0)->GetGeomType(), wkbPolygon);
        QCOMPARE(outline->GetLayer(0)->GetFeatureCount(), GIntBig(1));

        Dataset structures = openVector(path("kxstruc.shp"));
        QVERIFY(structures);
        QCOMPARE(structures->GetLayer(0)->GetGeomType(), wkbLineString);
        QVERIFY(structures->GetLayer(0)->GetFeatureCount() > 10);

        const std::vector<Record> miles = readRecords(path("kxmiles.shp"));
        QVERIFY(miles.size() >= 14);
        for (size_t i = 0; i < miles.size(); ++i)
            QCOMPARE(miles[i].values.value("mile").toDouble(),
                     miles.front().values.value("mile").toDouble() + i);

        const std::vector<Record> cover = readRecords(path("kxlw.shp"));
        QSet<int> classes;
        for (const Record& piece : cover) {
            const int lw = piece.values.value("lw").toInt();
            const int coverClass = piece.values.value("class").toInt();
            QVERIFY(lw == 1 || lw == 2);
            QVERIFY2(lw == 2 ? coverClass >= 1 && coverClass <= 8 : coverClass >= 9 && coverClass <= 13,
                     qPrintable(QStringLiteral("lw %1 with class %2").arg(lw).arg(coverClass)));
            classes.insert(coverClass);
        }
        for (int coverClass : {1, 2, 4, 9, 10, 11, 12, 13})
            QVERIFY2(classes.contains(coverClass), qPrintable(QString::number(coverClass)));
    }

    void theQuadrangleSheetIsAGeoreferencedPaletteImageWithOverviews() {
        Dataset sheet(
            GDALDataset::Open(path("kx_drg.tif").toUtf8().constData(), GDAL_OF_RASTER | GDAL_OF_READONLY));
        QVERIFY(sheet);
        const int longSide = std::max(sheet->GetRasterXSize(), sheet->GetRasterYSize());
        QVERIFY(longSide >= 2000 && longSide <= 3000);
        GDALRasterBand* band = sheet->GetRasterBand(1);
        QCOMPARE(band->GetColorInterpretation(), GCI_PaletteIndex);
        QVERIFY(band->GetColorTable());
        QVERIFY(band->GetOverviewCount() >= 3);
        QCOMPARE(QString(sheet->GetMetadataItem("COMPRESSION", "IMAGE_STRUCTURE")), QString("DEFLATE"));
        QCOMPARE(QString(sheet->GetSpatialRef()->GetAuthorityCode(nullptr)), QString("26915"));

        // The sheet covers the whole reach.
        double transform[6];
        QCOMPARE(sheet->GetGeoTransform(transform), CE_None);
        Dataset outline = openVector(path("kx_out.shp"));
        OGREnvelope reach;
        QCOMPARE(outline->GetLayer(0)->GetExtent(&reach), OGRERR_NONE);
        QVERIFY(transform[0] < reach.MinX && transform[3] > reach.MaxY);
        QVERIFY(transform[0] + transform[1] * sheet->GetRasterXSize() > reach.MaxX);
        QVERIFY(transform[3] + transform[5] * sheet->GetRasterYSize() < reach.MinY);
        QVERIFY(!QFile::exists(path("kx_drg.tif.aux.xml")));
    }

    void everySamplePointLiesInTheReachsWater() {
        std::vector<OGRGeometryUniquePtr> water;
        std::vector<OGRPreparedGeometryUniquePtr> prepared;
        std::vector<OGREnvelope> envelopes;
        for (Record& piece : readRecords(path("kxlw.shp"))) {
            if (piece.values.value("lw").toInt() != 2)
                continue;
            OGREnvelope envelope;
            piece.geometry->getEnvelope(&envelope);
            envelopes.push_back(envelope);
            prepared.emplace_back(OGRCreatePreparedGeometry(OGRGeometry::ToHandle(piece.geometry.get())));
            water.push_back(std::move(piece.geometry));
        }
        QVERIFY(!water.empty());
        int shapeless = 0;
        for (SampleKind kind : allSampleKinds()) {
            for (const SamplingPeriod& period : samplingPeriods(kind)) {
                const QString code = layerCode(kind, period.periodCode);
                for (const Record& sample : readRecords(path(code + ".shp"))) {
                    if (!sample.geometry) {
                        ++shapeless;
                        continue;
                    }
                    OGRPoint& point = *sample.geometry->toPoint();
                    bool inWater = false;
                    for (size_t i = 0; i < water.size() && !inWater; ++i) {
                        const OGREnvelope& box = envelopes[i];
                        inWater =
                            point.getX() >= box.MinX && point.getX() <= box.MaxX &&
                            point.getY() >= box.MinY && point.getY() <= box.MaxY &&
                            OGRPreparedGeometryContains(prepared[i].get(), OGRGeometry::ToHandle(&point));
                    }
                    if (!inWater)
                        QFAIL(qPrintable(QStringLiteral("a point of %1 lies on land at %2 %3")
                                             .arg(code)
                                             .arg(point.getX(), 0, 'f', 1)
                                             .arg(point.getY(), 0, 'f', 1)));
                }
            }
        }
        QCOMPARE(shapeless, 1); // the planted sample of kxw93sm
    }

    void wingDamSitesLieBesideAWingDam() {
        std::vector<OGRGeometryUniquePtr> wingDams;
        for (Record& structure : readRecords(path("kxstruc.shp"))) {
            if (structure.values.value("type").toString() == QLatin1String("Wing Dam"))
                wingDams.push_back(std::move(structure.geometry));
        }
        QVERIFY(wingDams.size() >= 10);
        QMap<int, QString> strata;
        for (const Record& record : readRecords(path("kxr96fl.dbf")))
            strata.insert(record.values.value("grid_code").toInt(),
                          record.values.value("stratum").toString());
        int checked = 0;
        for (const Record& site : readRecords(path("kxf96fl.shp"))) {
            if (strata.value(site.values.value("grid_code").toInt()) !=
                QLatin1String("Main chan border-wing dam"))
                continue;
            double nearest = 1e9;
            for (const OGRGeometryUniquePtr& dam : wingDams)
                nearest = std::min(nearest, dam->Distance(site.geometry.get()));
            QVERIFY2(nearest < 100, qPrintable(QString::number(nearest)));
            ++checked;
        }
        QVERIFY(checked > 0);
    }

    void layersHoldTheUsualNumbersOfSamplesAndRecords() {
        QVERIFY(std::abs(int(readRecords(path("kxw95sp.shp")).size()) - 140) <= 10);
        QVERIFY(std::abs(int(readRecords(path("kxi97.shp")).size()) - 120) <= 10);
        QVERIFY(std::abs(int(readRecords(path("kxf98fl.shp")).size()) - 90) <= 10);
        QVERIFY(std::abs(int(readRecords(path("kxv01.shp")).size()) - 450) <= 20);

        const QMap<int, int> catches = recordsPerCode(readRecords(path("kxr98fl.dbf")));
        for (int records : catches)
            QVERIFY(records >= 1 && records <= 8);
        const std::vector<Record> sites = readRecords(path("kxf98fl.shp"));
        QVERIFY2(catches.size() < int(sites.size()), "some sites caught nothing");
        QVERIFY(codesOf(readRecords(path("kxr98fl.dbf"))).subtract(codesOf(sites)).isEmpty());

        const std::vector<Record> vegetation = readRecords(path("kxv01d.dbf"));
        const QMap<int, int> found = recordsPerCode(vegetation);
        QCOMPARE(QSet<int>(found.keyBegin(), found.keyEnd()), codesOf(readRecords(path("kxv01.shp"))));
        for (int records : found)
            QVERIFY(records >= 1 && records <= 3);
    }

    void codedFieldsHoldListedLabelsAndSpecies() {
        for (SampleKind kind : allSampleKinds()) {
            const QString period = samplingPeriods(kind).at(2).periodCode;
            const std::vector<Record> records = readRecords(path(recordsSource(kind, period)));
            QVERIFY(!records.empty());
            for (const SchemaField& field : sampleSchema(kind)) {
                if (field.valueClass != ValueClass::CodedText && field.valueClass != ValueClass::Species)
                    continue;
                const QStringList& allowed = pickList(field.pickList).labels;
                QSet<QString> seen;
                for (const Record& record : records) {
                    const QVariant value = record.values.value(field.field);
                    if (value.isNull())
                        continue;
                    seen.insert(value.toString());
                    QVERIFY2(allowed.contains(value.toString()),
                             qPrintable(QStringLiteral("%1 = '%2'").arg(field.field, value.toString())));
                }
                QVERIFY2(!seen.isEmpty(), qPrintable(field.field));
            }
        }
        // Species come from the full lists, not only from the common ones.
        QSet<QString> fish;
        for (const SamplingPeriod& period : samplingPeriods(SampleKind::Fish)) {
            for (const Record& record :
                 readRecords(path(companionTable(SampleKind::Fish, period.periodCode) + ".dbf")))
                fish.insert(record.values.value("species").toString());
        }
        QVERIFY(fish.size() > 60);
    }

    void measurementsFollowTheSeasonsAndSomeAreMissing() {
        auto temperatures = [&](const QString& code) {
            QList<double> values;
            for (const Record& record : readRecords(path(code + ".shp"))) {
                const double t = record.values.value("temp").toDouble();
                if (t != -99)
                    values << t;
            }
            return values;
        };
        for (double t : temperatures("kxw97wn"))
            QVERIFY(t >= 0 && t <= 4);
        for (double t : temperatures("kxw97sm"))
            QVERIFY(t >= 20);

        int measurements = 0, missing = 0, lowOxygen = 0;
        for (const Record& record : readRecords(path("kxw99sm.shp"))) {
            for (const SchemaField& field : sampleSchema(SampleKind::Water)) {
                if (field.valueClass != ValueClass::Number)
                    continue;
                ++measurements;
                const double value = record.values.value(field.field).toDouble();
                missing += value == -99;
                if (field.field == QLatin1String("dis_oxygen")) {
                    QVERIFY(value == -99 || (value >= 1 && value <= 15));
                    lowOxygen += value != -99 && value < 5;
                }
            }
        }
        QVERIFY(missing > measurements * 0.03 && missing < measurements * 0.08);
        QVERIFY(lowOxygen > 0);

        int empty = 0;
        for (const Record& record : readRecords(path("kxr99sm.dbf")))
            empty += record.values.value("substrat").isNull() || record.values.value("velocity").isNull();
        QVERIFY2(empty > 0, "some catch-table values are left empty");
    }

    void thePlantedFishCasesArePresent() {
        const std::vector<Record> sites = readRecords(path("kxf93sm.shp"));
        const std::vector<Record> catches = readRecords(path("kxr93sm.dbf"));
        const QSet<int> siteCodes = codesOf(sites);
        QVERIFY(siteCodes.contains(12) && siteCodes.contains(120));
        const QMap<int, int> perSite = recordsPerCode(catches);
        QVERIFY(siteCodes.contains(7));
        QCOMPARE(perSite.value(7), 0);
        QVERIFY(perSite.value(12) >= 2);
        QSet<int> bluegillSites;
        for (const Record& record : catches) {
            if (record.values.value("species").toString() == QLatin1String("Bluegill"))
                bluegillSites.insert(record.values.value("grid_code").toInt());
        }
        QVERIFY(bluegillSites.size() >= 3);
        QVERIFY(QFile::exists(path("kxf94sm.shp")) && QFile::exists(path("kxr94sm.dbf")));
    }

    void thePlantedVegetationAndWaterCasesArePresent() {
        const QSet<int> vegetationSites = codesOf(readRecords(path("kxv98.shp")));
        QVERIFY(vegetationSites.contains(12) && vegetationSites.contains(120));
        QSet<int> wildRice;
        for (const Record& record : readRecords(path("kxv98d.dbf"))) {
            if (record.values.value("species").toString() == QLatin1String("Wild Rice"))
                wildRice.insert(record.values.value("grid_code").toInt());
        }
        QCOMPARE(wildRice.size(), 1);

        int shapelessLowOxygen = 0;
        for (const Record& record : readRecords(path("kxw93sm.shp"))) {
            const double oxygen = record.values.value("dis_oxygen").toDouble();
            shapelessLowOxygen += !record.geometry && oxygen < 5 && oxygen != -99;
        }
        QCOMPARE(shapelessLowOxygen, 1);
        QVERIFY(QFile::exists(path("kxw02fl.shp")));
    }

    void theScaleOptionMultipliesSamplesAndRecords() {
        const QString doubled = temporary_.filePath(QStringLiteral("doubled"));
        QVERIFY(runGenerator(doubled, {QStringLiteral("--scale"), QStringLiteral("2")}));
        auto countIn = [](const QString& folder, const QString& file) {
            return int(readRecords(QDir(folder).filePath(file)).size());
        };
        // The planted shapeless sample comes once at any scale.
        QCOMPARE(countIn(doubled, "kxw93sm.shp") - 1, 2 * (countIn(folder_, "kxw93sm.shp") - 1));
        QCOMPARE(countIn(doubled, "kxi02.shp"), 2 * countIn(folder_, "kxi02.shp"));
        QCOMPARE(countIn(doubled, "kxf00sp.shp"), 2 * countIn(folder_, "kxf00sp.shp"));
        QCOMPARE(countIn(doubled, "kxv99.shp"), 2 * countIn(folder_, "kxv99.shp"));
        const double ratio = double(countIn(doubled, "kxr00sp.dbf")) / countIn(folder_, "kxr00sp.dbf");
        QVERIFY(ratio > 1.6 && ratio < 2.4);
        // At scale 2 the fish layer reaches code 120 by counting; it is still there once.
        const std::vector<Record> sites = readRecords(QDir(doubled).filePath("kxf93sm.shp"));
        QCOMPARE(int(codesOf(sites).size()), int(sites.size()));
        QVERIFY(codesOf(sites).contains(120));
    }

    void wrongArgumentsAreRefusedWithAUsageLine() {
        const QString folder = temporary_.filePath(QStringLiteral("refused"));
        for (const QStringList& arguments :
             {QStringList{}, QStringList{folder, "--scale", "0"}, QStringList{folder, "--seed", "x"},
              QStringList{folder, "--colour"}}) {
            const Run run = runWith(arguments);
            QVERIFY(run.exitCode != 0);
            QVERIFY(run.errors.startsWith("usage: quillfen-sample-data FOLDER"));
        }
        QVERIFY(!QFile::exists(folder));
    }

    void theSameSeedGivesTheSameBytesAndAnotherSeedDoesNot() {
        const QString again = temporary_.filePath(QStringLiteral("again"));
        const QString other = temporary_.filePath(QStringLiteral("other"));
        QVERIFY(runGenerator(again));
        QVERIFY(runGenerator(other, {QStringLiteral("--seed"), QStringLiteral("20")}));
        QStringList names = QDir(folder_).entryList(QDir::Files, QDir::Name);
        QCOMPARE(QDir(again).entryList(QDir::Files, QDir::Name), names);
        QVERIFY(names.size() >= 82 * 4 + 34 + 1);
        int differing = 0;
        for (const QString& name : names) {
            const QByteArray bytes = fileBytes(path(name));
            QVERIFY2(bytes == fileBytes(QDir(again).filePath(name)), qPrintable(name));
            differing += bytes != fileBytes(QDir(other).filePath(name));
        }
        QVERIFY(fileBytes(path("kxw93sm.dbf")) != fileBytes(QDir(other).filePath("kxw93sm.dbf")));
        QVERIFY(fileBytes(path("kx_drg.tif")) != fileBytes(QDir(other).filePath("kx_drg.tif")));
        QVERIFY(differing > names.size() / 2);
    }
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "test_sample_data.moc"
