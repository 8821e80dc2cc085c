#include "support/file_bytes.h"
#include "tabledb/dbase_like.h"
#include "tabledb/dbf_table_loader.h"
#include "tabledb/shape_driver.h"
#include "tabledb/table_database.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <sqlite3.h>

using tabledb::Engine;
using tabledb::RecordSet;
using tabledb::SelectResult;

namespace {

using Fields = QVector<std::pair<QString, OGRFieldType>>;

/// Writes a dBASE table through OGR, replacing the file. Row values are converted to their
/// field's type (a QDate to a date); an invalid QVariant is an empty (null) value. With
/// `recode` false, texts (a QByteArray) are written byte for byte.
bool writeDbf(const QString& path, const Fields& fields, const QVector<QVariantList>& rows,
              bool recode = true) {
    GDALAllRegister();
    QFile::remove(path);
    const GDALDatasetUniquePtr dataset(
        tabledb::shapeDriver()->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
    const QByteArray layerName = QFileInfo(path).completeBaseName().toUtf8();
    const char* unrecoded[] = {"ENCODING=", nullptr};
    OGRLayer* layer = dataset ? dataset->CreateLayer(layerName.constData(), nullptr, wkbNone,
                                                     recode ? nullptr : const_cast<char**>(unrecoded))
                              : nullptr;
    if (!layer)
        return false;
    for (const auto& [name, type] : fields) {
        OGRFieldDefn field(name.toUtf8().constData(), type);
        if (layer->CreateField(&field) != OGRERR_NONE)
            return false;
    }
    for (const QVariantList& row : rows) {
        OGRFeature feature(layer->GetLayerDefn());
        // OGR converts text to the field's type; a QDate turns into YYYY-MM-DD text.
        for (int i = 0; i < row.size(); ++i) {
            if (!row[i].isValid())
                feature.SetFieldNull(i);
            else if (row[i].typeId() == QMetaType::QByteArray)
                feature.SetField(i, row[i].toByteArray().constData());
            else
                feature.SetField(i, row[i].toString().toUtf8().constData());
        }
        if (layer->CreateFeature(&feature) != OGRERR_NONE)
            return false;
    }
    return true;
}

/// Moves a file's modification time a minute ahead: all that tells a rewrite of the same size.
bool touchLater(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
}

const Fields kCatchFields = {{"barcode", OFTInteger}, {"grid_code", OFTInteger}, {"stratum", OFTString},
                             {"date", OFTDate},       {"species", OFTString},    {"ave_len", OFTReal},
                             {"count", OFTInteger}};

/// A small catch table: sites 12 and 120 share a code prefix, one record has empty values.
const QVector<QVariantList> kCatchRows = {
    {1001, 12, "Main Channel", QDate(2001, 3, 4), "Bluegill", 120.5, 3},
    {1002, 120, "Backwater-offshore", QDate(1999, 12, 25), "bluegill", 80.0, 1},
    {1003, 13, "Backwater-offshore", QDate(2000, 10, 1), "Walleye", -99.0, 2},
    {1004, 120, "Main Channel", QVariant(), "Bluegill", QVariant(), QVariant()},
    {1005, 7, "", QDate(1998, 7, 14), "Largemouth Bass", 300.2, 5},
};

QVariantList column(SelectResult result, const QString& name) {
    QVariantList values;
    for (RecordSet& records = result.records; !records.atEnd(); records.next())
        values << records.value(name);
    return values;
}

/// Every record of a result as text: record number, then each value with its type, null or not.
QStringList dump(SelectResult result) {
    QStringList lines{result.error, result.records.columnNames().join(',')};
    for (RecordSet& records = result.records; !records.atEnd(); records.next()) {
        QStringList values{QString::number(records.rowNumber())};
        for (int i = 0; i < records.columnNames().size(); ++i) {
            const QVariant value = records.value(i);
            values << QString("%1:%2:%3").arg(value.typeName()).arg(value.isNull()).arg(value.toString());
        }
        lines << values.join('|');
    }
    return lines;
}

/// Loads a dBASE file into a new database the given way: each record's number, then each
/// value quoted with its type; the notes and whether the records were read directly.
QStringList loadedAs(const QString& path, tabledb::RecordReading reading, bool* readDirectly) {
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    tabledb::LoadedTable loaded;
    QString error;
    QStringList lines{
        tabledb::loadDbfTable(db, "t", path, {{"count"}, {}}, &loaded, &error, reading) ? "" : error};
    lines << loaded.notes;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid, typeof(count), quote(count) FROM t", -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < 3; ++i)
            values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
        lines << values.join('|');
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    *readDirectly = loaded.readDirectly;
    return lines;
}

} // namespace

class TableDatabaseTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder_;
    Engine engine_;
    tabledb::Database db_;

    QString pathOf(const QString& file) const { return folder_.filePath(file); }

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        QVERIFY(writeDbf(pathOf("kxr93sm.dbf"), kCatchFields, kCatchRows));
        QVERIFY(writeDbf(pathOf("KXV98D.DBF"), {{"grid_code", OFTInteger}, {"Species", OFTString}},
                         {{12, "Wild celery"}, {40, "Coontail"}}));
        QString error;
        db_ = engine_.open(folder_.path(), &error);
        QVERIFY2(db_.isOpen(), qPrintable(error));
    }

    void selectGivesTheMatchingValuesInTableOrder_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariantList>("values");
        const QString where = "SELECT * FROM kxr93sm WHERE ";
        QTest::newRow("logic, text ignoring case")
            << where + "stratum = 'Backwater-offshore' AND species = 'Bluegill';"
            << "barcode" << QVariantList{1002};
        QTest::newRow("numbers") << where + "ave_len < 130 AND ave_len <> -99 OR count > 4;"
                                 << "barcode" << QVariantList{1001, 1002, 1005};
        QTest::newRow("code and star: sites 12, 120") << where + "grid_code LIKE '12*';"
                                                      << "barcode" << QVariantList{1001, 1002, 1004};
        QTest::newRow("code alone: site 12") << where + "grid_code LIKE '12';"
                                             << "barcode" << QVariantList{1001};
        QTest::newRow("integer equals quoted number") << where + "grid_code = '12'"
                                                      << "barcode" << QVariantList{1001};
        QTest::newRow("empty text is null") << where + "stratum IS NULL"
                                            << "barcode" << QVariantList{1005};
        QTest::newRow("names of tables and fields in any case")
            << "SELECT BARCODE FROM KXR93SM WHERE Species = 'BLUEGILL';"
            << "Barcode" << QVariantList{1001, 1002, 1004};
        QTest::newRow("a table named in capitals") << "SELECT * FROM kxv98d WHERE species = 'coontail';"
                                                   << "SPECIES" << QVariantList{"Coontail"};
        QTest::newRow("distinct codes read by the lower-case name")
            << "SELECT DISTINCT [GRID_CODE] FROM kxr93sm WHERE species = 'Bluegill' ORDER BY 1;"
            << "grid_code" << QVariantList{12, 120};
        QTest::newRow("dates as M/D/YYYY")
            << "SELECT date FROM kxr93sm WHERE date IS NOT NULL;"
            << "date" << QVariantList{"3/4/2001", "12/25/1999", "10/1/2000", "7/14/1998"};
        QTest::newRow("an escaped wildcard is literal") << "SELECT '5*' LIKE '5!*' ESCAPE '!' AS v;"
                                                        << "v" << QVariantList{1};
        QTest::newRow("and matches only itself") << "SELECT '50' LIKE '5!*' ESCAPE '!' AS v;"
                                                 << "v" << QVariantList{0};
        // An escape that ends the pattern stands for itself, also when it is a wildcard.
        QTest::newRow("a trailing escape") << "SELECT '5!' LIKE '5!' ESCAPE '!' AS v;"
                                           << "v" << QVariantList{1};
        QTest::newRow("a wildcard as escape") << "SELECT '5x' LIKE '5?' ESCAPE '?' AS v;"
                                              << "v" << QVariantList{0};
    }
    void selectGivesTheMatchingValuesInTableOrder() {
        QFETCH(QString, sql);
        QFETCH(QString, field);
        QFETCH(QVariantList, values);
        const SelectResult result = db_.select(sql);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(column(result, field), values);
    }

    void likePatternsFollowTheDbaseConvention() {
        // "*" any run (backtracking as needed), "?" one whole character, "#" one digit, case
        // ignored, the whole text matched, SQL's own wildcards literal.
        const std::tuple<const char*, const char*, bool> cases[] = {
            {"Bluegill", "Blue*", true},
            {"Largemouth Bass", "L*B*s", true},
            {"aXbXbc", "*Xbc", true},
            {"", "*", true},
            {"120", "1?0", true},
            {"10", "1?0", false},
            {"Ré", "R?", true},
            {"13", "1#", true},
            {"1a", "1#", false},
            {"bluegill", "BLUEGILL", true},
            {"Bluegill", "Blue", false},
            {"Blue", "B%", false},
            {"Bx", "B_", false},
            {"", "", true},
            // A byte outside a well-formed character is a character equal only to itself.
            {"\xC3", "?", true},
            {"\x03", "\xC3", false},
            {"\xC3\xA9", "\xC3?", false},
            {"a\xC3", "a\xC3", true}};
        for (const auto& [text, pattern, matches] : cases)
            QVERIFY2(tabledb::dbaseLikeMatches(text, pattern) == matches,
                     qPrintable(QString("'%1' LIKE '%2'").arg(text, pattern)));
        // A pattern that backtracks asks whether to stop, and stops.
        const std::string text(200000, 'a');
        const std::string pattern = "*" + std::string(100000, 'a') + "b";
        int questions = 0;
        const auto outcome = tabledb::dbaseLike(text, pattern, 0, [&questions] { return ++questions == 3; });
        QCOMPARE(outcome, tabledb::LikeOutcome::Stopped);
        QCOMPARE(questions, 3);
    }

    void fieldsReadInFileOrderWithTheirDbaseTypesAndEmptyValuesAsNull() {
        SelectResult result = db_.select("SELECT * FROM kxr93sm WHERE barcode IN (1001, 1004);");
        RecordSet& records = result.records;
        QCOMPARE(records.columnNames(),
                 (QStringList{"barcode", "grid_code", "stratum", "date", "species", "ave_len", "count"}));
        QCOMPARE(records.value("grid_code").typeId(), int(QMetaType::LongLong));
        QCOMPARE(records.value("grid_code").toString(), QString("12"));
        QCOMPARE(records.value("ave_len").typeId(), int(QMetaType::Double));
        QCOMPARE(records.value("ave_len").toDouble(), 120.5);
        QVERIFY(!records.value("no_such_field").isValid());
        records.next();
        for (const char* empty : {"date", "ave_len", "count"})
            QVERIFY(records.isNull(empty));
    }

    void aRefusedOrRunawaySelectNamesWhyWritesNothingAndLeavesTheDatabaseUsable_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("error"); // empty: any error
        const QString refused = "only a single read-only SELECT statement is accepted";
        const QString tooLong = "the search took longer than 0.3 seconds and was stopped";
        for (const QString& sql : QStringList{
                 "SELECT * FROM kxr93sm; SELECT * FROM kxr93sm;",
                 "SELECT * FROM kxr93sm WHERE species = 'x'; DELETE FROM kxr93sm",
                 "UPDATE kxr93sm SET species = 'Carp';",
                 "ATTACH DATABASE '" + pathOf("attached.db") + "' AS other;", "PRAGMA writable_schema = 1;",
                 "VACUUM INTO '" + pathOf("copy.db") + "';", "BEGIN;",
                 "SELECT load_extension('" + pathOf("x") + "');", " ; ", "REINDEX;",
                 "EXPLAIN SELECT * FROM kxr93sm;", "WITH t AS (SELECT * FROM kxr93sm) SELECT * FROM t;",
                 "SELECT fts3_tokenizer('simple', x'4141414141414141');", "SELECT fts3_tokenizer('porter');",
                 "SELECT * FROM sqlite_master;", "SELECT * FROM pragma_table_info('kxr93sm');",
                 "SELECT * FROM kxr93sm WHERE length(zeroblob(999999)) > 0;",
                 "SELECT 'a' LIKE 'a' ESCAPE 'xy';"})
            QTest::newRow(qPrintable(sql.left(40))) << sql << QString();
        QString joins = "kxr93sm";
        for (int i = 0; i < 11; ++i)
            joins += ", kxr93sm t" + QString::number(i);
        QTest::newRow("counting a table joined to itself")
            << "SELECT count(*) FROM " + joins + ";" << tooLong;
        QTest::newRow("a LIKE that backtracks")
            << QString("SELECT '%1' LIKE '*%2b';").arg(QString(200000, 'a'), QString(100000, 'a')) << tooLong;
        QTest::newRow("records of a table joined to itself")
            << "SELECT * FROM kxr93sm a, kxr93sm b, kxr93sm c, kxr93sm d, kxr93sm e, kxr93sm f;"
            << "the search found more records than 1 MB can hold and was stopped";
        QTest::newRow("a recursive sub-select")
            << "SELECT * FROM kxr93sm WHERE EXISTS (WITH RECURSIVE n(i) AS "
               "(SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i FROM n);"
            << refused;
        QTest::newRow("a blob maker") << "SELECT * FROM kxr93sm WHERE length(randomblob(100000000)) > 0;"
                                      << "the function length is not available in a search";
        QTest::newRow("a missing table")
            << "SELECT * FROM kxr99zz WHERE species = 'Bluegill';"
            << "table kxr99zz not found in " + QDir(folder_.path()).canonicalPath();
        QTest::newRow("a missing field") << "SELECT * FROM kxr93sm WHERE abc = 1;"
                                         << "no such column: abc";
        QTest::newRow("a missing value") << "SELECT * FROM kxr93sm WHERE species = ;"
                                         << "near \";\": syntax error";
        QTest::newRow("an unpaired quote") << "SELECT * FROM kxr93sm WHERE species = 'it's';"
                                           << "near \"s\": syntax error";
    }
    void aRefusedOrRunawaySelectNamesWhyWritesNothingAndLeavesTheDatabaseUsable() {
        QFETCH(QString, sql);
        QFETCH(QString, error);
        const QStringList filesBefore = QDir(folder_.path()).entryList(QDir::Files);
        const QByteArray bytesBefore = testing::fileBytes(pathOf("kxr93sm.dbf"));
        Engine engine;
        engine.setSelectLimits({std::chrono::milliseconds(300), 1 << 20});
        const tabledb::Database db = engine.open(folder_.path());
        const SelectResult result = db.select(sql);
        QVERIFY(!result.ok());
        if (!error.isEmpty())
            QCOMPARE(result.error, error);
        QCOMPARE(result.records.recordCount(), 0);
        QCOMPARE(testing::fileBytes(pathOf("kxr93sm.dbf")), bytesBefore);
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), filesBefore);
        QCOMPARE(column(db.select("SELECT * FROM kxr93sm WHERE species = 'Bluegill';"), "barcode"),
                 (QVariantList{1001, 1002, 1004}));
    }

    void selectRecordsGivesEachRecordItsPositionInTheFileAndTakesOnlyACondition() {
        SelectResult result = db_.selectRecords("kxr93sm", "grid_code = 120 OR grid_code = 13;");
        QVector<int> rowNumbers;
        for (RecordSet& records = result.records; !records.atEnd(); records.next())
            rowNumbers << records.rowNumber();
        QCOMPARE(rowNumbers, (QVector<int>{1, 2, 3}));
        QCOMPARE(result.records.columnNames().first(), QString("barcode"));

        SelectResult all = db_.selectRecords("KXR93SM");
        QCOMPARE(all.records.recordCount(), kCatchRows.size());
        QCOMPARE(all.records.rowNumber(), 0);
        QCOMPARE(db_.select("SELECT * FROM kxr93sm;").records.rowNumber(), -1);

        // A field of the file named like SQLite's row number keeps its values and takes nothing.
        QVERIFY(writeDbf(pathOf("kxr95sp.dbf"), {{"ROWID", OFTInteger}, {"grid_code", OFTInteger}},
                         {{70, 12}, {80, 13}, {90, 14}}));
        SelectResult shadowed = db_.selectRecords("kxr95sp", "grid_code = 13");
        QCOMPARE(shadowed.records.recordCount(), 1);
        QCOMPARE(shadowed.records.rowNumber(), 1);
        QCOMPARE(shadowed.records.value("rowid").toInt(), 80);

        // Records asked for by number (in record order, once each, unknown numbers giving none),
        // by key or by a condition: their numbers in the order the records themselves would
        // come, each record read back from the table handed out with them.
        const auto listed = [](const auto& stream) {
            QVector<int> numbers;
            tabledb::HeldTablePtr held;
            const QString error =
                stream([&](const tabledb::RowReader& row) { numbers << row.rowNumber(); }, &held);
            if (!error.isEmpty() || !held)
                return QStringList{error};
            QStringList seen;
            for (const int n : numbers) {
                held->readRecord(n, [&](const tabledb::RowReader& row) {
                    seen << QStringLiteral("%1:%2").arg(n).arg(row.integer(0));
                });
            }
            return seen;
        };
        using Visit = tabledb::RowVisitor;
        using Held = tabledb::HeldTablePtr;
        QCOMPARE(listed([&](const Visit& v, Held* h) {
                     return db_.streamRecordNumbersAt("kxr93sm", {3, 1, 99, 1, -1}, v, h);
                 }),
                 (QStringList{"1:1002", "3:1004"}));
        QCOMPARE(
            listed([&](const Visit& v, Held* h) { return db_.streamRecordNumbersAt("kxr95sp", {2}, v, h); }),
            QStringList{"2:90"});
        QCOMPARE(
            listed([&](const Visit& v, Held* h) { return db_.streamRecordNumbersAt("kxr95sp", {}, v, h); }),
            QStringList());
        QCOMPARE(listed([&](const Visit& v, Held* h) {
                     return db_.streamRecordNumbersByKeys("kxr93sm", "grid_code", {"120", "12"}, v, h);
                 }),
                 (QStringList{"1:1002", "3:1004", "0:1001"}));
        // The join by key leaves an index on the key, which a select of its distinct values walks.
        const QString distinctCodes = "SELECT DISTINCT [grid_code] FROM kxr93sm WHERE species = 'Bluegill';";
        QVERIFY(db_.walksWholeIndex(distinctCodes, "kxr93sm", "grid_code"));
        QVERIFY(!db_.walksWholeIndex(distinctCodes, "kxr93sm", "species"));
        QVERIFY(!db_.walksWholeIndex("SELECT DISTINCT species FROM kxr93sm;", "kxr93sm", "grid_code"));
        QVERIFY(!db_.walksWholeIndex("SELECT DISTINCT grid_code FROM kxr93sm WHERE nosuch = 1;", "kxr93sm",
                                     "grid_code"));
        QCOMPARE(listed([&](const Visit& v, Held* h) {
                     return db_.streamRecordNumbers("kxr93sm", "grid_code = 120 OR grid_code = 13", v, h);
                 }),
                 (QStringList{"1:1002", "2:1003", "3:1004"}));
        QCOMPARE(listed([&](const Visit& v, Held* h) {
                     return db_.streamRecordNumbersWhere("kxr93sm", "species = 'Bluegill'", v, h);
                 }),
                 (QStringList{"0:1001", "1:1002", "3:1004"}));

        QVERIFY(!db_.selectRecords("kxr93sm", "1); DELETE FROM kxr93sm; SELECT (1").ok());
        QCOMPARE(db_.recordCount("kxr93sm"), kCatchRows.size());
        QCOMPARE(db_.recordCount("kxr99zz"), -1);
        QVERIFY(!db_.selectRecords("../kxr93sm").ok());
    }

    void truncatedTableFileGivesAnErrorNamingTheTable() {
        const QByteArray bytes = testing::fileBytes(pathOf("kxr93sm.dbf"));
        for (const int keep : {int(bytes.size()) - 20, 200, 40}) {
            QFile truncated(pathOf("broken.dbf"));
            QVERIFY(truncated.open(QIODevice::WriteOnly | QIODevice::Truncate));
            truncated.write(bytes.left(keep));
            truncated.close();
            Engine engine;
            const SelectResult result = engine.open(folder_.path()).select("SELECT * FROM broken;");
            QVERIFY2(!result.ok(), qPrintable(QString::number(keep)));
            QVERIFY2(result.error.contains("broken"), qPrintable(result.error));
        }
        QFile::remove(pathOf("broken.dbf"));
    }

    void valuesReadStraightFromTheFileAreThoseOgrReads() {
        // A field "count" of a type, the bytes of its value in the second record (the first is
        // marked deleted), and whether that form is read straight from the file (the others
        // are left to OGR). A character field "count" holds numbers stored as text.
        const struct {
            OGRFieldType type;
            QByteArray bytes;
            bool direct;
        } cases[] = {
            {OFTInteger, "      123", true},
            {OFTInteger, "-42", true},
            {OFTInteger, "0000007", true},
            {OFTInteger, "", true},
            {OFTInteger, "*********", true},
            {OFTInteger, "**1", false},
            {OFTInteger, "+5", false},
            {OFTInteger, "1e3", false},
            {OFTInteger, "12 34", false},
            {OFTInteger, "-", false},
            {OFTReal, "1.5", true},
            {OFTReal, "-.25", true},
            {OFTReal, "5.", true},
            {OFTReal, "0.1", true},
            {OFTReal, "1e3", false},
            {OFTReal, "1,5", false},
            {OFTReal, ".", false},
            {OFTReal, "1.2.3", false},
            {OFTReal, "nan", false},
            {OFTString, "  12  ", true},
            {OFTString, "n/a", true},
            {OFTString, "\xC9", true},
            {OFTString, "", true},
            {OFTDate, "20230115", true},
            {OFTDate, "00000000", true},
            {OFTDate, "        ", true},
            {OFTDate, "20231340", true},
            {OFTDate, "0", false},
            {OFTDate, "2023-1-1", false},
            {OFTDate, "-2023011", false},
            {OFTDate, QByteArray("2023\0\0\0\0", 8), false},
        };
        // Each value alone, and followed by a field whose name differs only in case (of which
        // the first is read); the second field's bytes are ones the direct read leaves to OGR.
        for (const auto& c : cases) {
            for (const bool namedTwice : {false, true}) {
                QTemporaryDir folder;
                const QString path = folder.filePath("kxr93sm.dbf");
                const Fields fields =
                    namedTwice ? Fields{{"count", c.type}, {"other", c.type}} : Fields{{"count", c.type}};
                QVERIFY(writeDbf(path, fields, {QVariantList(fields.size()), QVariantList(fields.size())}));
                QFile bytes(path);
                char header[12];
                QVERIFY(bytes.open(QIODevice::ReadWrite) && bytes.read(header, 12) == 12);
                const int width = (qFromLittleEndian<quint16>(header + 10) - 1) / int(fields.size());
                if (namedTwice)
                    QVERIFY(bytes.seek(64) && bytes.write("COUNT") == 5);
                QVERIFY(bytes.seek(qFromLittleEndian<quint16>(header + 8)));
                const QByteArray second =
                    namedTwice ? QByteArray("1e3").leftJustified(width, ' ') : QByteArray();
                bytes.write("*" + QByteArray(width, '1') + second + " " +
                            c.bytes.leftJustified(width, ' ', true) + second);
                bytes.close();
                bool direct = false, throughOgr = true;
                const QStringList read = loadedAs(path, tabledb::RecordReading::DirectWherePlain, &direct);
                QCOMPARE(read, loadedAs(path, tabledb::RecordReading::ThroughOgr, &throughOgr));
                QVERIFY2(direct == c.direct && !throughOgr, c.bytes.constData());
                QCOMPARE(read.contains(
                             "field COUNT is left out: its name differs from that of field count only in "
                             "case, and the first of the two is read"),
                         namedTwice);
            }
        }
        // A file of records without fields is refused by either reading, naming the file.
        QTemporaryDir folder;
        const QString path = folder.filePath("kxr93sm.dbf");
        QByteArray header(32, '\0');
        header[0] = 3;
        qToLittleEndian<quint32>(2, header.data() + 4);
        qToLittleEndian<quint16>(33, header.data() + 8);
        qToLittleEndian<quint16>(1, header.data() + 10);
        QFile fieldless(path);
        QVERIFY(fieldless.open(QIODevice::WriteOnly) && fieldless.write(header + "\r  \x1A") == 36);
        fieldless.close();
        bool direct = false;
        const QStringList refused = loadedAs(path, tabledb::RecordReading::DirectWherePlain, &direct);
        QCOMPARE(refused, loadedAs(path, tabledb::RecordReading::ThroughOgr, &direct));
        QCOMPARE(refused.value(0), "cannot read table t from " + path + ": it has no fields");
    }

    void changedFileIsReadAgainAndDeletedFileIsForgotten() {
        const QString path = pathOf("kxr94sp.dbf");
        const auto rewrite = [&](const QVector<QVariantList>& rows) {
            return writeDbf(path, {{"grid_code", OFTInteger}, {"species", OFTString}}, rows);
        };
        const auto species = [&] { return column(db_.select("SELECT * FROM kxr94sp;"), "species"); };
        QVERIFY(rewrite({{12, "Bluegill"}}));
        QCOMPARE(species(), QVariantList{"Bluegill"});
        // A held table keeps the records its holder was given, whatever becomes of the file.
        tabledb::HeldTablePtr held;
        QVERIFY(db_.streamRecordNumbersAt(
                       "kxr94sp", {0}, [](const tabledb::RowReader&) {}, &held)
                    .isEmpty());
        const auto heldSpecies = [&] {
            QString text = "none";
            held->readRecord(0, [&](const tabledb::RowReader& row) {
                text = QString::fromUtf8(row.text(held->columnIndex("SPECIES")));
            });
            return text;
        };
        // Same size, other content: only the modification time tells.
        QVERIFY(rewrite({{12, "Perch"}}) && touchLater(path));
        QCOMPARE(species(), QVariantList{"Perch"});
        QCOMPARE(heldSpecies(), QString("Bluegill"));
        QVERIFY(QFile::remove(path));
        QVERIFY(db_.select("SELECT * FROM kxr94sp;").error.startsWith("table kxr94sp not found"));
        QCOMPARE(heldSpecies(), QString("Bluegill"));
        held.reset();
    }

    void aNumberFieldStoredAsTextIsComparedAsANumberAndNoted() {
        QVERIFY(writeDbf(
            pathOf("kxr96sp.dbf"), {{"count", OFTString}, {"species", OFTString}},
            {{"3", "Bluegill"}, {" 10 ", "Perch"}, {"-99", "Walleye"}, {"n/a", "Carp"}, {"", "Gar"}}));
        Engine engine;
        engine.setNumericFields({"Count"});
        const tabledb::Database db = engine.open(folder_.path());
        QCOMPARE(column(db.select("SELECT * FROM kxr96sp WHERE count < 5 AND count <> -99;"), "species"),
                 QVariantList{"Bluegill"});
        QCOMPARE(column(db.select("SELECT * FROM kxr96sp WHERE count > 5;"), "species"),
                 QVariantList{"Perch"});
        QCOMPARE(
            db.notesOf("KXR96SP"),
            QStringList{"field count holds numbers stored as text; they are compared as numbers, and the "
                        "texts that are not numbers (1) are left empty"});
        // Without the program's word that the field holds numbers, text stays text.
        QCOMPARE(column(db_.select("SELECT * FROM kxr96sp WHERE count < 5 AND count <> -99;"), "species"),
                 (QVariantList{"Bluegill", "Perch"}));
        QVERIFY(db_.notesOf("kxr96sp").isEmpty());
    }

    void tablesReadAheadGiveWhatAPlainLoadGives() {
        QTemporaryDir folder;
        const auto path = [&](const QString& file) { return folder.filePath(file); };
        QVector<QVariantList> many;
        for (int i = 0; i < 3000; ++i)
            many << kCatchRows[i % kCatchRows.size()];
        QVERIFY(writeDbf(path("kxr95sm.dbf"), kCatchFields, many));
        QVERIFY(writeDbf(path("kxr93sm.dbf"), kCatchFields, kCatchRows));
        // A field called rowid hides that name of the record number, not the number itself.
        QVERIFY(writeDbf(path("kxv99d.dbf"), {{"rowid", OFTInteger}, {"grid_code", OFTInteger}},
                         {{7, 12}, {8, 40}}));
        QFile broken(path("kxr96sm.dbf"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(testing::fileBytes(path("kxr93sm.dbf")).left(200));
        broken.close();
        const QStringList tables{"kxr95sm", "KXR93SM", "kxv99d", "kxr96sm", "kxr_missing"};
        const auto statements = [&tables](const tabledb::Database& db) {
            QStringList results;
            for (const QString& table : tables)
                results << dump(db.selectRecords(table)) << dump(db.selectRecords(table, "grid_code = 120"));
            results << dump(
                db.select("SELECT * FROM kxr95sm WHERE species LIKE 'blue*' AND grid_code = 12;"));
            return results;
        };

        Engine plain;
        const QStringList expected = statements(plain.open(folder.path()));
        // Asked for at once, while the tables are still being read, and again once they are.
        Engine ahead;
        const tabledb::Database db = ahead.open(folder.path());
        db.loadAhead(tables);
        QCOMPARE(statements(db), expected);
        db.loadAhead(tables);
        QCOMPARE(statements(db), expected);

        // A file rewritten after its read began is read again.
        db.loadAhead({"kxr93sm"});
        QVERIFY(writeDbf(path("kxr93sm.dbf"), kCatchFields, kCatchRows.mid(0, 2)) &&
                touchLater(path("kxr93sm.dbf")));
        db.loadAhead({"kxr93sm"});
        QCOMPARE(db.selectRecords("kxr93sm").records.recordCount(), 2);

        // A file replaced just as the store judges the read ahead of it: the read ahead is
        // dropped and the new file read, once and for good.
        QVERIFY(writeDbf(path("kxr97sm.dbf"), kCatchFields, many));
        db.loadAhead({"kxr97sm"});
        int checks = 0;
        tabledb::setReadAheadCheckHook([&](const QString& file) {
            if (checks++ == 0)
                QVERIFY(writeDbf(file, kCatchFields, kCatchRows.mid(0, 3)) && touchLater(file));
        });
        QCOMPARE(db.recordCount("kxr97sm"), 3);
        tabledb::setReadAheadCheckHook({});
        QCOMPARE(checks, 1);
        QCOMPARE(column(db.selectRecords("kxr97sm"), "barcode"), (QVariantList{1001, 1002, 1003}));
    }

    void aSearchNeedingMoreMemoryThanTheCeilingIsStoppedSayingSo() {
        QTemporaryDir folder;
        QVector<QVariantList> rows;
        for (int i = 0; i < 400; ++i)
            rows << QVariantList{i, QString::number(i).repeated(80).left(80)};
        QVERIFY(writeDbf(folder.filePath("kxr98sm.dbf"), {{"grid_code", OFTInteger}, {"species", OFTString}},
                         rows));
        Engine engine;
        const tabledb::Database db = engine.open(folder.path());
        QCOMPARE(db.recordCount("kxr98sm"), 400);
        // Every distinct pair of texts of the table joined to itself: some 25 MB.
        const QString hungry =
            "(SELECT count(*) FROM (SELECT DISTINCT a.species, b.species FROM kxr98sm a, kxr98sm b)) > 0";
        const QString stopped =
            "the search needed more than the 8 MB of memory that searches and tables may take "
            "together and was stopped";
        Engine::setMemoryCeiling(8 << 20);
        const auto ignore = [](const tabledb::RowReader&) {};
        // As the window searches a table, its sites and records, and a layer's records.
        const SelectResult sites =
            db.select("SELECT DISTINCT [GRID_CODE] FROM kxr98sm WHERE " + hungry + ";");
        const QString records = db.stream("SELECT * FROM kxr98sm WHERE " + hungry + ";", ignore);
        const QString layerRecords = db.streamRecords("kxr98sm", hungry, ignore);
        Engine::setMemoryCeiling(qint64(2) << 30);
        QCOMPARE(sites.error, stopped);
        QCOMPARE(records, stopped);
        QCOMPARE(layerRecords, stopped);
        QCOMPARE(db.select("SELECT * FROM kxr98sm WHERE grid_code = 7;").records.recordCount(), 1);
    }

    void textIsReadInTheEncodingTheTableDeclares() {
        // The table's file name, its bytes, the language byte of its header; the code page
        // file's name and text (none when empty); the text read.
        const struct {
            const char *table, *bytes;
            char languageByte;
            const char *codePageFile, *codePage, *text;
        } cases[] = {
            {"kxr93sm.dbf", "\xC9tang", 0x57, "", "", "Étang"},
            {"kxr93sm.dbf", "\x8E\xAA\xE3\xAD\xEC", 0x26, "", "", "Окунь"},
            {"kxr93sm.dbf", "\x80 \xC9tang", 0, "kxr93sm.cpg", "1252", "€ Étang"},
            {"kxr93sm.dbf", "\xC3\x89tang", 0x57, "kxr93sm.cpg", "UTF-8\n", "Étang"}, // the file rules
            {"KXR93SM.DBF", "\x80", 0, "KXR93SM.CPG", "1252", "€"},
            {"kxr93sm.dbf", "\x80", 0, "KXR93SM.CPG", "1252", "€"},
            {"Kxr93SM.dbf", "\xC3\x89", 0x57, "kxr93sm.Cpg", "UTF-8", "É"}};
        for (const auto& c : cases) {
            QTemporaryDir folder;
            const QString written = folder.filePath("written.dbf");
            QVERIFY(writeDbf(written, {{"species", OFTString}}, {{QByteArray(c.bytes)}}, false));
            constexpr int kLanguageByteOffset = 29;
            QFile table(written);
            QVERIFY(table.open(QIODevice::ReadWrite) && table.seek(kLanguageByteOffset) &&
                    table.write(&c.languageByte, 1) == 1);
            table.close();
            QVERIFY(QFile::rename(written, folder.filePath(c.table)));
            QFile codePage(folder.filePath(c.codePageFile));
            QVERIFY(!*c.codePageFile ||
                    (codePage.open(QIODevice::WriteOnly) && codePage.write(c.codePage) > 0));
            codePage.close();
            Engine engine;
            const SelectResult result = engine.open(folder.path()).select("SELECT species FROM kxr93sm;");
            QVERIFY2(result.ok(), qPrintable(result.error));
            QCOMPARE(column(result, "species"), QVariantList{QString::fromUtf8(c.text)});
        }
    }

    void aFolderOpensUnderAnySpellingAndAMissingOneDoesNot() {
        Engine engine;
        const tabledb::Database first = engine.open(folder_.path());
        QCOMPARE(first.recordCount("kxr93sm"), kCatchRows.size());
        const tabledb::Database again = engine.open(folder_.path() + "/.");
        QCOMPARE(again.folder(), first.folder());
        QCOMPARE(again.recordCount("KXV98D"), 2);
        QString error;
        const tabledb::Database missing = engine.open(pathOf("no_such_folder"), &error);
        QVERIFY(!missing.isOpen());
        QVERIFY(error.contains("no_such_folder"));
        QVERIFY(!missing.select("SELECT 1;").ok());
    }
};

QTEST_GUILESS_MAIN(TableDatabaseTest)
#include "test_table_database.moc"
