// Broken data folders, as a clumsy or hostile user leaves them: each row builds a small folder
// with one fault, opens the main window on it, uses the faulty layer or table, and checks that
// the window tells what is wrong (naming the file and the reason) and lists exactly the records
// that can be read. A crash fails the program; a hang runs into the test's timeout.

#include "../mapcontrol/test_data.h"

#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "support/file_bytes.h"
#include "support/main_window_harness.h"
#include "support/test_main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gdal_priv.h>

#include <cmath>
#include <functional>

#include <sys/stat.h>

using testing::WindowDriver;

namespace {

// Four water samples along a diagonal; dissolved oxygen below 5 at A and C only (D not measured).
const QStringList kSamplePoints = {"POINT (100 100)", "POINT (200 200)", "POINT (300 300)",
                                   "POINT (400 400)"};
const QVector<QVariant> kBarcodes = {"A", "B", "C", "D"};
const QVector<QVariant> kOxygen = {4.0, 6.0, 3.0, -99.0};

/// The folder of one row, written with GDAL.
class DataFolder {
public:
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

    /// The white base and the land/water layer that every start-up loads.
    void writeBase(const QString& outline = "POLYGON ((0 0, 0 500, 500 500, 500 0, 0 0))") {
        testdata::writeShapes(path(), "kx_out", {outline});
        testdata::writeShapes(path(), "kxlw", {"POLYGON ((0 0, 0 500, 500 500, 500 0, 0 0))"}, {{"lw", {1}}});
    }
    void writeWater(const QString& name = "kxw93sm", const std::vector<testdata::Column>& columns = {
                                                         {"barcode", kBarcodes}, {"dis_oxygen", kOxygen}}) {
        testdata::writeShapes(path(), name, kSamplePoints, columns);
    }
    /// Fish sites 12 to 15, one per sample point.
    void writeFishSites() {
        testdata::writeShapes(path(), "kxf93sm", kSamplePoints, {{"grid_code", {12, 13, 14, 15}}});
    }
    /// A dBASE table alone, under `fileName` as spelled.
    void writeTable(const QString& fileName, const std::vector<testdata::Column>& columns) {
        testdata::writeShapes(path(), "table", QStringList(columns.front().values.size(), QString()),
                              columns);
        if (!QFile::remove(file("table.shp")) || !QFile::remove(file("table.shx")) ||
            !QFile::rename(file("table.dbf"), file(fileName)))
            qFatal("cannot write %s", qPrintable(fileName));
    }
    void writeNamedPipe(const QString& name) {
        if (mkfifo(QFile::encodeName(file(name)).constData(), 0600) != 0)
            qFatal("cannot make %s", qPrintable(name));
    }
    void writeBytes(const QString& name, const QByteArray& bytes) {
        QFile out(file(name));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
    }
    QByteArray readBytes(const QString& name) const { return testing::fileBytes(file(name)); }
    /// Every coordinate `from` of a shapefile made `to`: shapes with coordinates that are not
    /// numbers cannot be written through GDAL, only patched in.
    void replaceCoordinate(const QString& name, double from, double to) {
        QByteArray bytes = readBytes(name);
        const QByteArray before(reinterpret_cast<const char*>(&from), sizeof from);
        const QByteArray after(reinterpret_cast<const char*>(&to), sizeof to);
        writeBytes(name, bytes.replace(before, after));
    }
    /// A little-endian 32-bit number written over the file at `offset`.
    void patch(const QString& name, int offset, quint32 value) {
        const quint32 little = qToLittleEndian(value);
        writeBytes(name,
                   readBytes(name).replace(offset, 4, QByteArray(reinterpret_cast<const char*>(&little), 4)));
    }
    void writeRaster(const QString& name, const double (&geo)[6]) {
        testdata::writePaletteRaster(file(name), 4, 4, QVector<int>(16, 1), {Qt::white, Qt::blue},
                                     QPointF(0, 500), 125);
        GDALDatasetUniquePtr raster(GDALDataset::Open(file(name).toUtf8().constData(), GDAL_OF_UPDATE));
        raster->SetGeoTransform(const_cast<double*>(geo));
    }

private:
    QTemporaryDir dir_;
};

const double kNorthUp[6] = {0, 125, 0, 500, 0, -125};

/// The records of two fish sites in a catch table.
std::vector<testdata::Column> catchOfSites(const QVector<QVariant>& barcodes,
                                           const QVector<QVariant>& species) {
    return {{"barcode", barcodes}, {"grid_code", {12, 13}}, {"species", species}, {"count", {4321, 2}}};
}

/// A dBASE table of two records and no fields.
QByteArray tableWithoutFields() {
    QByteArray header(32, '\0');
    header[0] = 3;
    qToLittleEndian<quint32>(2, header.data() + 4);
    qToLittleEndian<quint16>(33, header.data() + 8);
    qToLittleEndian<quint16>(1, header.data() + 10);
    return header + "\r  \x1A";
}
/// A coordinate no sound shape of these folders has, patched to not-a-number after writing.
constexpr int kNotANumber = 987654;

/// A virtual raster whose single band reads from `source`.
QByteArray virtualRaster(const QString& source) {
    return QStringLiteral("<VRTDataset rasterXSize=\"4\" rasterYSize=\"4\">"
                          "<GeoTransform>0, 125, 0, 500, 0, -125</GeoTransform>"
                          "<VRTRasterBand dataType=\"Byte\" band=\"1\"><SimpleSource>"
                          "<SourceFilename relativeToVRT=\"0\">%1</SourceFilename><SourceBand>1</SourceBand>"
                          "</SimpleSource></VRTRasterBand></VRTDataset>")
        .arg(source)
        .toUtf8();
}

/// What a row does once the window is open on its folder.
enum class Use {
    QueryLowOxygen,  ///< the boxes ticked, then Dissolved Oxygen < 5
    SelectAllInView, ///< the boxes ticked, then a polygon round the whole view
    SelectSampleB,   ///< the boxes ticked, then a polygon round the second sample only
    ZoomOutFar,      ///< the boxes ticked, then "Zoom Out" far beyond the data
};

struct Row {
    const char* name;
    std::function<void(DataFolder&)> write;
    QStringList boxes;
    Use use;
    QStringList messages; ///< fragments that the messages shown must hold, in order; none: no message
    QStringList barcodes; ///< the records listed, in grid order
};

std::vector<Row> rows(quint16 listeningPort) {
    const QString url = QStringLiteral("/vsicurl/http://127.0.0.1:%1/drg.tif").arg(listeningPort);
    const QStringList waterBox = {"chkwater_0"};
    return {
        {"sound folder",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
         },
         waterBox,
         Use::QueryLowOxygen,
         {},
         {"A", "C"}},
        // Missing and unreadable.
        {"sample layer missing",
         [](DataFolder& d) { d.writeBase(); },
         waterBox,
         Use::QueryLowOxygen,
         {"kxw93sm.shp (missing)", "left off the map", "The selection leaves out kxw93sm"},
         {}},
        {"sample layer without its .shx",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
             QFile::remove(d.file("kxw93sm.shx"));
         },
         waterBox,
         Use::QueryLowOxygen,
         {"kxw93sm.shp (not a readable shapefile", "The selection leaves out kxw93sm"},
         {}},
        {"fish catch table missing",
         [](DataFolder& d) {
             d.writeBase();
             testdata::writeShapes(d.path(), "kxf93sm", kSamplePoints, {{"grid_code", {1, 2, 3, 4}}});
         },
         {"chkfish_0"},
         Use::SelectAllInView,
         {"The records of kxr93sm could not be read: table kxr93sm not found"},
         {}},
        {"one of two periods unreadable",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
             d.writeWater("kxw93fl");
             d.writeBytes("kxw93fl.shp", "not a shapefile");
         },
         {"chkwater_0", "chkwater_1"},
         Use::QueryLowOxygen,
         {"kxw93fl.shp (not a readable shapefile", "The selection leaves out kxw93fl"},
         {"A", "C"}},
        {"quadrangle missing",
         [](DataFolder& d) { d.writeBase(); },
         {"Check_drg"},
         Use::ZoomOutFar,
         {"kx_drg.tif (missing)"},
         {}},
        {"quadrangle not an image",
         [](DataFolder& d) {
             d.writeBase();
             d.writeBytes("kx_drg.tif", "II*\0garbage");
         },
         {"Check_drg"},
         Use::ZoomOutFar,
         {"kx_drg.tif (not a readable GeoTIFF image"},
         {}},
        // Truncated files and lying headers.
        {"sample .shp cut short",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
             QFile::resize(d.file("kxw93sm.shp"), 100 + 2 * 28);
         },
         waterBox,
         Use::QueryLowOxygen,
         {"kxw93sm.shp (2 of its shapes could not be read"},
         {"A", "C"}},
        {"sample .dbf header claims fewer records",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
             d.patch("kxw93sm.dbf", 4, 2);
         },
         waterBox,
         Use::SelectAllInView,
         {"kxw93sm.shp (only 2 of its 4 shapes have a record"},
         {"A", "B"}},
        // The reader trusts the file's length over the header's count.
        {"sample .dbf header claims more records",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
             d.patch("kxw93sm.dbf", 4, 1000);
         },
         waterBox,
         Use::QueryLowOxygen,
         {},
         {"A", "C"}},
        {"sample .shx header claims more records",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
             d.patch("kxw93sm.shx", 24, 0x7FFFFFF0);
         },
         waterBox,
         Use::QueryLowOxygen,
         {"kxw93sm.shp ("},
         {}},
        // Wrong types.
        {"oxygen stored as text",
         [](DataFolder& d) {
             d.writeBase();
             testdata::writeShapes(d.path(), "kxw93sm",
                                   kSamplePoints + QStringList{"POINT (50 50)", "POINT (60 60)"},
                                   {{"barcode", {"A", "B", "C", "D", "E", "F"}},
                                    {"dis_oxygen", {"4", "6", " 3.0", "-99", "10", "n/a"}}});
         },
         waterBox,
         Use::QueryLowOxygen,
         {"kxw93sm.dbf (field dis_oxygen holds numbers stored as text; they are compared as numbers, and the "
          "texts that are not numbers (1) are left empty)"},
         {"A", "C"}},
        {"quadrangle with a georeferencing of not-a-numbers",
         [](DataFolder& d) {
             d.writeBase();
             const double geo[6] = {NAN, 125, 0, NAN, 0, -125};
             d.writeRaster("kx_drg.tif", geo);
         },
         {"Check_drg"},
         Use::ZoomOutFar,
         {"kx_drg.tif (its georeferencing is missing or not a north-up grid"},
         {}},
        {"quadrangle zoomed out far",
         [](DataFolder& d) {
             d.writeBase();
             d.writeRaster("kx_drg.tif", kNorthUp);
         },
         {"Check_drg"},
         Use::ZoomOutFar,
         {},
         {}},
        // Non-finite coordinates.
        {"base polygon with vertices that are not numbers",
         [](DataFolder& d) {
             QStringList ring{"0 0", "0 500"};
             for (int i = 0; i < 400; ++i)
                 ring << QStringLiteral("%1 %1").arg(kNotANumber);
             ring << "500 500"
                  << "500 0"
                  << "0 0";
             d.writeBase("POLYGON ((" + ring.join(", ") + "))");
             d.replaceCoordinate("kx_out.shp", kNotANumber, NAN);
             d.writeWater();
         },
         waterBox,
         Use::QueryLowOxygen,
         {"kx_out.shp (vertices whose coordinates are not numbers are left out of their shapes (400))"},
         {"A", "C"}},
        // A point whose coordinates are both not-a-number reads as a point without a shape.
        {"sample points that are not numbers",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
             d.replaceCoordinate("kxw93sm.shp", 200, NAN);
             d.replaceCoordinate("kxw93sm.shp", 400, INFINITY);
         },
         waterBox,
         Use::SelectAllInView,
         {"kxw93sm.shp (vertices whose coordinates are not numbers are left out of their shapes (1))"},
         {"A", "C"}},
        // Hostile field names.
        {"sample layer with a field named ROWID",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater("kxw93sm",
                          {{"ROWID", {7, 8, 9, 10}}, {"barcode", kBarcodes}, {"dis_oxygen", kOxygen}});
         },
         waterBox,
         Use::SelectSampleB,
         {},
         {"B"}},
        {"sample layer whose fields take every record-number name",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater("kxw93sm", {{"rowid", {7, 8, 9, 10}},
                                      {"_rowid_", {1, 2, 3, 4}},
                                      {"oid", {5, 6, 7, 8}},
                                      {"barcode", kBarcodes},
                                      {"dis_oxygen", kOxygen}});
         },
         waterBox,
         Use::QueryLowOxygen,
         {"The search of layer kxw93sm failed: table kxw93sm has no record numbers"},
         {}},
        // Other formats under the expected names.
        {"quadrangle that is a virtual raster naming a URL",
         [url](DataFolder& d) {
             d.writeBase();
             d.writeBytes("kx_drg.tif", virtualRaster(url));
         },
         {"Check_drg"},
         Use::ZoomOutFar,
         {"kx_drg.tif (not a readable GeoTIFF image"},
         {}},
        // One file per table and only regular files: what is listed is what was named.
        {"catch table in two spellings",
         [](DataFolder& d) {
             d.writeBase();
             d.writeFishSites();
             d.writeTable("Kxr93sm.DBF", catchOfSites({"F1", "F2"}, {"Bluegill", "Walleye"}));
             d.writeTable("Kxr93sm.dbf", catchOfSites({"F9", "F8"}, {"Carp", "Gar"}));
             // A form of number that is read through OGR, not straight from the file's bytes.
             d.writeBytes("Kxr93sm.DBF", d.readBytes("Kxr93sm.DBF").replace(" 4321", "+4321"));
         },
         {"chkfish_0"},
         Use::SelectAllInView,
         {"kxr93sm.dbf is read from Kxr93sm.DBF (also present: Kxr93sm.dbf)"},
         {"F1", "F2"}},
        {"catch table that is a named pipe",
         [](DataFolder& d) {
             d.writeBase();
             d.writeFishSites();
             d.writeNamedPipe("kxr93sm.dbf");
         },
         {"chkfish_0"},
         Use::SelectAllInView,
         {"The records of kxr93sm could not be read: ", "kxr93sm.dbf is a named pipe, not a regular file"},
         {}},
        {"folder named like a catch table",
         [](DataFolder& d) {
             d.writeBase();
             d.writeFishSites();
             QDir(d.path()).mkdir("KXR93SM.DBF");
         },
         {"chkfish_0"},
         Use::SelectAllInView,
         {"The records of kxr93sm could not be read: ", "KXR93SM.DBF is a folder, not a regular file"},
         {}},
        {"sample layer linked to a device",
         [](DataFolder& d) {
             d.writeBase();
             QFile::link("/dev/urandom", d.file("kxw93sm.shp"));
         },
         waterBox,
         Use::QueryLowOxygen,
         {"kxw93sm.shp (not a readable shapefile: kxw93sm.shp is a device, not a regular file)",
          "The selection leaves out kxw93sm"},
         {}},
        {"sample layer whose table is a named pipe",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
             QFile::remove(d.file("kxw93sm.dbf"));
             d.writeNamedPipe("kxw93sm.dbf");
         },
         waterBox,
         Use::QueryLowOxygen,
         {"kxw93sm.shp (not a readable shapefile: kxw93sm.dbf is a named pipe, not a regular file)",
          "The selection leaves out kxw93sm"},
         {}},
        {"catch table without fields",
         [](DataFolder& d) {
             d.writeBase();
             d.writeFishSites();
             d.writeBytes("kxr93sm.dbf", tableWithoutFields());
         },
         {"chkfish_0"},
         Use::SelectAllInView,
         {"The records of kxr93sm could not be read: cannot read table kxr93sm from ", ": it has no fields"},
         {}},
        {"catch table with two fields named alike",
         [](DataFolder& d) {
             d.writeBase();
             d.writeFishSites();
             std::vector<testdata::Column> columns = catchOfSites({"F1", "F2"}, {"Bluegill", "Walleye"});
             columns.push_back({"specieX", {"Carp", "Gar"}});
             d.writeTable("kxr93sm.dbf", columns);
             d.writeBytes("kxr93sm.dbf", d.readBytes("kxr93sm.dbf").replace("specieX", "SPECIES"));
         },
         {"chkfish_0"},
         Use::SelectAllInView,
         {"kxr93sm.dbf (field SPECIES is left out: its name differs from that of field species only in case, "
          "and "
          "the first of the two is read)"},
         {"F1", "F2"}},
        {"sample layer that is a virtual vector file",
         [](DataFolder& d) {
             d.writeBase();
             d.writeWater();
             d.writeBytes("kxw93sm.shp", "<OGRVRTDataSource><OGRVRTLayer name=\"x\"><SrcDataSource>" +
                                             d.file("kxw93sm.dbf").toUtf8() +
                                             "</SrcDataSource></OGRVRTLayer>"
                                             "</OGRVRTDataSource>");
         },
         waterBox,
         Use::QueryLowOxygen,
         {"kxw93sm.shp (not a readable shapefile"},
         {}},
    };
}

void use(WindowDriver& driver, Use how) {
    if (how == Use::QueryLowOxygen)
        driver.selectLogically("Dissolved Oxygen", "<", "5");
    else if (how == Use::SelectAllInView)
        testing::selectEverythingInView(driver.window);
    else if (how == Use::SelectSampleB)
        testing::selectInside(driver.window, {{150, 150}, {150, 250}, {250, 250}, {250, 150}});
    // Far enough that the raster's cell positions leave an int's range.
    for (int i = 0; how == Use::ZoomOutFar && i < 150; ++i)
        driver.clickToolbar("Zoom Out");
    driver.settle();
}

} // namespace

class BrokenDataTest : public QObject {
    Q_OBJECT

    QTcpServer server_; // stands for the network: nothing may connect to it

private slots:
    void initTestCase() { QVERIFY(server_.listen(QHostAddress::LocalHost)); }

    void eachFaultIsReportedAndTheReadableRecordsListed_data() {
        QTest::addColumn<int>("row");
        const std::vector<Row> table = rows(server_.serverPort());
        for (int i = 0; i < int(table.size()); ++i)
            QTest::newRow(table[size_t(i)].name) << i;
    }

    void eachFaultIsReportedAndTheReadableRecordsListed() {
        QFETCH(int, row);
        const Row fault = rows(server_.serverPort())[size_t(row)];
        DataFolder folder;
        fault.write(folder);

        WindowDriver driver(folder.path());
        for (const QString& box : fault.boxes)
            driver.clickBox(box);
        use(driver, fault.use);

        const QString shown = driver.prompts.messages.join("\n");
        if (fault.messages.isEmpty())
            QVERIFY2(shown.isEmpty(), qPrintable(shown));
        qsizetype from = 0;
        for (const QString& expected : fault.messages) {
            const qsizetype at = shown.indexOf(expected, from);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("'%1' not in: %2").arg(expected, shown)));
            from = at + expected.size();
        }
        // Each fault is told once, however often the layer is drawn again.
        for (const QString& message : driver.prompts.messages)
            QCOMPARE(driver.prompts.messages.count(message), 1);
        QStringList barcodes;
        for (int r = 1; r < driver.grid().rows(); ++r) {
            if (!driver.grid().textMatrix(r, 0).isEmpty())
                barcodes << driver.grid().textMatrix(r, 1);
        }
        QCOMPARE(barcodes, fault.barcodes);
        // A search that failed cancels the request: the caption shows no selection.
        if (shown.contains("The search of layer"))
            QCOMPARE(driver.title(), QStringLiteral("Kesselby"));
        QVERIFY(!server_.hasPendingConnections());
    }
};

QUILLFEN_TEST(BrokenDataTest)

#include "test_broken_data.moc"
