// Runs the demonstration data generator into temporary folders and reads what it wrote back
// through GDAL/OGR: datasets, fields and types, the reach's water, the planted cases and the
// generator's determinism.

#include "file_records.h"

#include "catalogue/sampling_periods.h"
#include "catalogue/sample_schema.h"
#include "catalogue/pick_lists.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace datafiles;
using namespace quillfen;

namespace {

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

GDALDatasetUniquePtr openDataset(const QString& path, unsigned int kind = GDAL_OF_VECTOR) {
    return GDALDatasetUniquePtr(GDALDataset::Open(path.toUtf8().constData(), kind | GDAL_OF_READONLY));
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

QMap<int, int> recordsPerCode(const Records& records) {
    QMap<int, int> counts;
    for (const Record& record : records)
        ++counts[record.gridCode()];
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
    Records records(const QString& name) const { return readRecords(path(name)); }

private slots:
    void initTestCase() {
        GDALAllRegister();
        QVERIFY(temporary_.isValid());
        folder_ = temporary_.filePath(QStringLiteral("data"));
        QVERIFY2(runGenerator(folder_), "the generator failed or printed something");
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
                        return OGRPreparedGeometryContains(piece.get(), OGRGeometry::ToHandle(sample.geometry.get()));
                    };
                    shapeless += !sample.geometry;
                    QVERIFY2(!sample.geometry || std::any_of(water.begin(), water.end(), inPiece),
                             qPrintable(QStringLiteral("a point of %1 lies on land").arg(code)));
                }
                const GDALDatasetUniquePtr layer = openDataset(path(code + ".shp"));
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
                QCOMPARE(layer->GetLayer(0)->GetLayerDefn()->GetFieldCount(), 1);
                QCOMPARE(layer->GetLayer(0)->GetLayerDefn()->GetFieldDefn(0)->GetType(), OFTInteger);
                QVERIFY2(!QFile::exists(path(table + ".shp")), "a companion table is a plain dBASE file");
                const GDALDatasetUniquePtr companion = openDataset(path(table + ".dbf"));
                QVERIFY2(companion, qPrintable(table));
                checkFields(table, companion->GetLayer(0), kind, true);
            }
        }
        QCOMPARE(shapeless, 1); // the planted sample of kxw93sm
    }

    void theBaseLayersAndTheSheetCarryTheirFieldsGeometriesAndPlaces() {
        const GDALDatasetUniquePtr outline = openDataset(path("kx_out.shp"));
        QVERIFY(outline);
        QCOMPARE(outline->GetLayer(0)->GetGeomType(), wkbPolygon);
        QCOMPARE(outline->GetLayer(0)->GetFeatureCount(), GIntBig(1));
        const GDALDatasetUniquePtr structures = openDataset(path("kxstruc.shp"));
        QVERIFY(structures);
        QCOMPARE(structures->GetLayer(0)->GetGeomType(), wkbLineString);

        // The quadrangle sheet is a georeferenced palette image covering the reach.
        const GDALDatasetUniquePtr sheet = openDataset(path("kx_drg.tif"), GDAL_OF_RASTER);
        QVERIFY(sheet);
        GDALRasterBand* band = sheet->GetRasterBand(1);
        QCOMPARE(band->GetColorInterpretation(), GCI_PaletteIndex);
        QVERIFY(band->GetColorTable());
        QVERIFY(band->GetOverviewCount() >= 3);
        QCOMPARE(QString(sheet->GetSpatialRef()->GetAuthorityCode(nullptr)), QString("26915"));

        double transform[6];
        QCOMPARE(sheet->GetGeoTransform(transform), CE_None);
        OGREnvelope reach;
        QCOMPARE(openDataset(path("kx_out.shp"))->GetLayer(0)->GetExtent(&reach), OGRERR_NONE);
        QVERIFY(transform[0] < reach.MinX && transform[3] > reach.MaxY);
        QVERIFY(transform[0] + transform[1] * sheet->GetRasterXSize() > reach.MaxX);
        QVERIFY(transform[3] + transform[5] * sheet->GetRasterYSize() < reach.MinY);
        QVERIFY(!QFile::exists(path("kx_drg.tif.aux.xml")));
    }

    void everyTableRecordBelongsToASiteAndSomeFishSitesCaughtNothing() {
        const Records catches = records("kxr98fl.dbf");
        const Records sites = records("kxf98fl.shp");
        QVERIFY2(codesOf(catches).size() < int(sites.size()), "some sites caught nothing");
        QVERIFY(codesOf(catches).subtract(codesOf(sites)).isEmpty());
        QCOMPARE(codesOf(records("kxv01d.dbf")), codesOf(records("kxv01.shp")));
    }

    void codedFieldsHoldListedLabelsAndSpecies() {
        for (SampleKind kind : allSampleKinds()) {
            const QString period = samplingPeriods(kind).at(2).periodCode;
            const QString table = companionTable(kind, period);
            const Records found =
                table.isEmpty() ? records(layerCode(kind, period) + ".shp") : records(table + ".dbf");
            QVERIFY(!found.empty());
            for (const SchemaField& field : sampleSchema(kind)) {
                if (field.valueClass != ValueClass::CodedText && field.valueClass != ValueClass::Species)
                    continue;
                bool seen = false;
                for (const Record& record : found) {
                    const QString value = record.value(field.field).toString();
                    seen = seen || !value.isEmpty();
                    QVERIFY2(value.isEmpty() || pickList(field.pickList).labels.contains(value),
                             qPrintable(QStringLiteral("%1 = '%2'").arg(field.field, value)));
                }
                QVERIFY2(seen, qPrintable(field.field));
            }
        }
        // Species come from the full lists, not only from the common ones.
        QSet<QString> fish;
        for (const SamplingPeriod& period : samplingPeriods(SampleKind::Fish)) {
            for (const Record& record : records(companionTable(SampleKind::Fish, period.periodCode) + ".dbf"))
                fish.insert(record.value("species").toString());
        }
        QVERIFY(fish.size() > 60);
    }

    void measurementsFollowTheSeasonsAndSomeAreMissing() {
        // Winter water is cold, summer water warm, oxygen within what a river holds; -99 is missing.
        const std::tuple<const char*, const char*, double, double> ranges[] = {
            {"kxw97wn.shp", "temp", -1, 4}, {"kxw97sm.shp", "temp", 20, 40}, {"kxw99sm.shp", "dis_oxygen", 1, 15}};
        for (const auto& [file, field, low, high] : ranges) {
            for (const Record& record : records(file)) {
                const double value = record.value(field).toDouble();
                QVERIFY2(value == -99 || (value >= low && value <= high), qPrintable(QString("%1 %2").arg(file).arg(value)));
            }
        }
        int measurements = 0, missing = 0;
        for (const Record& record : records("kxw99sm.shp")) {
            for (const SchemaField& field : sampleSchema(SampleKind::Water)) {
                measurements += field.valueClass == ValueClass::Number;
                missing += field.valueClass == ValueClass::Number && record.value(field.field).toDouble() == -99;
            }
        }
        QVERIFY(missing > measurements * 0.03 && missing < measurements * 0.08);
        int empty = 0;
        for (const Record& record : records("kxr99sm.dbf"))
            empty += record.value("substrat").isNull() || record.value("velocity").isNull();
        QVERIFY2(empty > 0, "some catch-table values are left empty");
    }

    void thePlantedCasesArePresent() {
        const QSet<int> fishSites = codesOf(records("kxf93sm.shp"));
        const Records catches = records("kxr93sm.dbf");
        QVERIFY(fishSites.contains({7, 12, 120}));
        QCOMPARE(recordsPerCode(catches).value(7), 0);
        QVERIFY(recordsPerCode(catches).value(12) >= 2);
        QVERIFY(codesOf(catches, "species", "Bluegill").size() >= 3);
        QVERIFY(codesOf(records("kxv98.shp")).contains({12, 120}));
        QCOMPARE(codesOf(records("kxv98d.dbf"), "species", "Wild Rice").size(), 1);

        int shapelessLowOxygen = 0;
        for (const Record& record : records("kxw93sm.shp")) {
            const double oxygen = record.value("dis_oxygen").toDouble();
            shapelessLowOxygen += !record.geometry && oxygen < 5 && oxygen != -99;
        }
        QCOMPARE(shapelessLowOxygen, 1);
    }

    void theScaleOptionMultipliesSamplesAndRecords() {
        const QString doubled = temporary_.filePath(QStringLiteral("doubled"));
        QVERIFY(runGenerator(doubled, {QStringLiteral("--scale"), QStringLiteral("2")}));
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
        const QStringList names = QDir(folder_).entryList(QDir::Files, QDir::Name);
        QCOMPARE(QDir(again).entryList(QDir::Files, QDir::Name), names);
        QVERIFY(names.size() >= 82 * 4 + 34 + 1);
        int differing = 0;
        for (const QString& name : names) {
            const QByteArray bytes = fileBytes(path(name));
            QVERIFY2(bytes == fileBytes(QDir(again).filePath(name)), qPrintable(name));
            differing += bytes != fileBytes(QDir(other).filePath(name));
        }
        QVERIFY(fileBytes(path("kx_drg.tif")) != fileBytes(QDir(other).filePath("kx_drg.tif")));
        QVERIFY(differing > names.size() / 2);
    }
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "test_sample_data.moc"
