#include "dbf_writer.h"

#include "tabledb/dbase_like.h"
#include "tabledb/table_database.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using tabledb::Database;
using tabledb::Engine;
using tabledb::RecordSet;
using tabledb::SelectResult;

namespace {

const QVector<FieldSpec> kCatchFields = {
    {"barcode", OFTInteger, 9, 0}, {"grid_code", OFTInteger, 9, 0}, {"stratum", OFTString, 30, 0},
    {"date", OFTDate, 8, 0},       {"species", OFTString, 30, 0},   {"ave_len", OFTReal, 10, 1},
    {"count", OFTInteger, 6, 0},
};

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

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TableDatabaseTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder_;
    Engine engine_;
    Database db_;

    QString pathOf(const QString& file) const { return folder_.filePath(file); }

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        QVERIFY(writeDbf(pathOf("kxr93sm.dbf"), kCatchFields, kCatchRows));
        QVERIFY(writeDbf(pathOf("KXV98D.DBF"),
                         {{"grid_code", OFTInteger, 9, 0}, {"Species", OFTString, 20, 0}},
                         {{12, "Wild celery"}, {40, "Coontail"}}));
        QString error;
        db_ = engine_.open(folder_.path(), &error);
        QVERIFY2(db_.isOpen(), qPrintable(error));
    }

    void logicalRecordsSelectReturnsTheMatchingRecordsInTableOrder() {
        const SelectResult result = db_.select(
            "SELECT * FROM kxr93sm WHERE stratum = 'Backwater-offshore' AND species = 'Bluegill';");
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(column(result, "barcode"), QVariantList{1002});

        const SelectResult numeric =
            db_.select("SELECT * FROM kxr93sm WHERE ave_len < 130 AND ave_len <> -99 OR count > 4;");
        QVERIFY2(numeric.ok(), qPrintable(numeric.error));
        QCOMPARE(column(numeric, "barcode"), (QVariantList{1001, 1002, 1005}));
        QCOMPARE(numeric.records.columnNames(),
                 (QStringList{"barcode", "grid_code", "stratum", "date", "species", "ave_len", "count"}));
    }

    void distinctGridCodesAreReadableByTheLowerCaseName() {
        const SelectResult result =
            db_.select("SELECT DISTINCT [GRID_CODE] FROM kxr93sm WHERE species = 'Bluegill';");
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.records.recordCount(), 2);
        QVariantList codes = column(result, "grid_code");
        std::sort(codes.begin(), codes.end(), [](auto& a, auto& b) { return a.toInt() < b.toInt(); });
        QCOMPARE(codes, (QVariantList{12, 120}));
        QCOMPARE(codes.first().toString(), QString("12"));
    }

    void likeWithTrailingStarReturnsEverySiteWhoseCodeStartsWithIt() {
        const SelectResult prefix = db_.select("SELECT * FROM kxr93sm WHERE grid_code LIKE '12*';");
        QVERIFY2(prefix.ok(), qPrintable(prefix.error));
        QCOMPARE(column(prefix, "barcode"), (QVariantList{1001, 1002, 1004}));

        QCOMPARE(column(db_.select("SELECT * FROM kxr93sm WHERE grid_code LIKE '12';"), "barcode"),
                 QVariantList{1001});
        QCOMPARE(column(db_.select("SELECT * FROM kxr93sm WHERE grid_code LIKE '1#';"), "barcode"),
                 (QVariantList{1001, 1003}));
        QCOMPARE(column(db_.select("SELECT * FROM kxr93sm WHERE grid_code LIKE '1?0';"), "barcode"),
                 (QVariantList{1002, 1004}));
        QCOMPARE(column(db_.select("SELECT * FROM kxr93sm WHERE species LIKE 'BLUE*';"), "barcode"),
                 (QVariantList{1001, 1002, 1004}));
    }

    void likePatternsFollowTheDbaseConvention_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star matches a run") << "Bluegill"
                                            << "Blue*" << true;
        QTest::newRow("star matches nothing") << "Blue"
                                              << "Blue*" << true;
        QTest::newRow("star inside") << "Largemouth Bass"
                                     << "L*B*s" << true;
        QTest::newRow("star needs backtracking") << "aXbXbc"
                                                 << "*Xbc" << true;
        QTest::newRow("question mark is one character") << "120"
                                                        << "1?0" << true;
        QTest::newRow("question mark is not zero characters") << "10"
                                                              << "1?0" << false;
        QTest::newRow("question mark takes a whole accented character") << "Ré"
                                                                        << "R?" << true;
        QTest::newRow("hash is one digit") << "13"
                                           << "1#" << true;
        QTest::newRow("hash is not a letter") << "1a"
                                              << "1#" << false;
        QTest::newRow("case is ignored") << "bluegill"
                                         << "BLUEGILL" << true;
        QTest::newRow("whole text must match") << "Bluegill"
                                               << "Blue" << false;
        QTest::newRow("percent is literal") << "Blue"
                                            << "B%" << false;
        QTest::newRow("underscore is literal") << "Bx"
                                               << "B_" << false;
        QTest::newRow("empty pattern matches empty text") << ""
                                                          << "" << true;
        QTest::newRow("star alone matches empty text") << ""
                                                       << "*" << true;
    }

    void likePatternsFollowTheDbaseConvention() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, matches);
        QCOMPARE(tabledb::dbaseLikeMatches(text.toStdString(), pattern.toStdString()), matches);
    }

    void likeEscapeMakesAWildcardLiteral() {
        QVERIFY(tabledb::dbaseLikeMatches("50*", "50!*", U'!'));
        QVERIFY(!tabledb::dbaseLikeMatches("500", "50!*", U'!'));
        const SelectResult result = db_.select("SELECT 'a*' LIKE 'a!*' ESCAPE '!' AS hit;");
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.records.value("hit").toInt(), 1);
        QVERIFY(!db_.select("SELECT 'a' LIKE 'a' ESCAPE 'xy';").ok());
    }

    void integerColumnEqualsAQuotedNumber() {
        QCOMPARE(column(db_.select("SELECT * FROM kxr93sm WHERE grid_code = '12';"), "barcode"),
                 QVariantList{1001});
    }

    void numbersWithoutDecimalsAreIntegersAndOthersReals() {
        SelectResult result = db_.select("SELECT * FROM kxr93sm;");
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.records.value("grid_code").typeId(), int(QMetaType::LongLong));
        QCOMPARE(result.records.value("grid_code").toString(), QString("12"));
        QCOMPARE(result.records.value("ave_len").typeId(), int(QMetaType::Double));
        QCOMPARE(result.records.value("ave_len").toDouble(), 120.5);
    }

    void datesReadAsMonthDayYearWithoutLeadingZeros() {
        QCOMPARE(column(db_.select("SELECT date FROM kxr93sm WHERE date IS NOT NULL;"), "date"),
                 (QVariantList{"3/4/2001", "12/25/1999", "10/1/2000", "7/14/1998"}));
    }

    void emptyValuesAreNullWhileEmptyTextIsNot() {
        SelectResult result = db_.select("SELECT *, '' AS blank FROM kxr93sm WHERE barcode IN (1004, 1005);");
        QVERIFY2(result.ok(), qPrintable(result.error));
        RecordSet& records = result.records;
        QVERIFY(records.isNull("date"));
        QVERIFY(records.isNull("ave_len"));
        QVERIFY(records.isNull("count"));
        QVERIFY(!records.isNull("blank"));
        QCOMPARE(records.value("blank").toString(), QString(""));
        records.next();
        QVERIFY(records.isNull("stratum"));
        QVERIFY(!records.value("count").isNull());
        QVERIFY(!records.value("no_such_field").isValid());
        QCOMPARE(column(db_.select("SELECT * FROM kxr93sm WHERE stratum IS NULL;"), "barcode"),
                 QVariantList{1005});
    }

    void tableAndColumnNamesAndTextsIgnoreCase() {
        QCOMPARE(column(db_.select("SELECT BARCODE FROM KXR93SM WHERE Species = 'BLUEGILL';"), "Barcode"),
                 (QVariantList{1001, 1002, 1004}));
        QCOMPARE(column(db_.select("SELECT * FROM kxv98d WHERE species = 'coontail';"), "SPECIES"),
                 QVariantList{"Coontail"});
    }

    void anythingButOneReadOnlySelectIsRefusedAndWritesNothing_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("two selects") << "SELECT * FROM kxr93sm; SELECT * FROM kxr93sm;";
        QTest::newRow("a delete after a select")
            << "SELECT * FROM kxr93sm WHERE species = 'x'; DELETE FROM kxr93sm";
        QTest::newRow("update") << "UPDATE kxr93sm SET species = 'Carp';";
        QTest::newRow("delete") << "DELETE FROM kxr93sm;";
        QTest::newRow("insert") << "INSERT INTO kxr93sm (barcode) VALUES (1);";
        QTest::newRow("drop") << "DROP TABLE kxr93sm;";
        QTest::newRow("create") << "CREATE TABLE other (a);";
        QTest::newRow("attach") << "ATTACH DATABASE '" + pathOf("attached.db") + "' AS other;";
        QTest::newRow("pragma") << "PRAGMA writable_schema = 1;";
        QTest::newRow("vacuum into a file") << "VACUUM INTO '" + pathOf("copy.db") + "';";
        QTest::newRow("transaction") << "BEGIN;";
        QTest::newRow("extension") << "SELECT load_extension('" + pathOf("x") + "');";
        QTest::newRow("empty") << " ; ";
    }

    void anythingButOneReadOnlySelectIsRefusedAndWritesNothing() {
        QFETCH(QString, sql);
        const QStringList filesBefore = QDir(folder_.path()).entryList(QDir::Files);
        const QByteArray bytesBefore = contentsOf(pathOf("kxr93sm.dbf"));

        const SelectResult result = db_.select(sql);
        QVERIFY(!result.ok());
        QCOMPARE(result.records.recordCount(), 0);

        QCOMPARE(contentsOf(pathOf("kxr93sm.dbf")), bytesBefore);
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), filesBefore);
        QCOMPARE(column(db_.select("SELECT * FROM kxr93sm WHERE species = 'Bluegill';"), "barcode"),
                 (QVariantList{1001, 1002, 1004}));
        QCOMPARE(db_.recordCount("kxr93sm"), kCatchRows.size());
    }

    void conditionOfSelectRecordsCannotSmuggleInAStatement() {
        const SelectResult result = db_.selectRecords("kxr93sm", "1); DELETE FROM kxr93sm; SELECT (1");
        QVERIFY(!result.ok());
        QCOMPARE(db_.recordCount("kxr93sm"), kCatchRows.size());
    }

    void missingTableMissingColumnAndBadSyntaxAreNamedInTheError() {
        const SelectResult noTable = db_.select("SELECT * FROM kxr99zz WHERE species = 'Bluegill';");
        QCOMPARE(noTable.error,
                 QString("table kxr99zz not found in %1").arg(QDir(folder_.path()).canonicalPath()));
        QCOMPARE(db_.select("SELECT * FROM kxr93sm WHERE abc = 1;").error, QString("no such column: abc"));
        QVERIFY(db_.select("SELECT * FROM kxr93sm WHERE species = ;").error.contains("syntax error"));
        QVERIFY(db_.select("SELECT * FROM kxr93sm WHERE species = 'it's';").error.contains("syntax error"));
        QCOMPARE(db_.recordCount("kxr99zz"), -1);
        QVERIFY(!db_.selectRecords("../kxr93sm").ok());
    }

    void truncatedTableFileGivesAnErrorNamingTheTable() {
        const QByteArray bytes = contentsOf(pathOf("kxr93sm.dbf"));
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

    void changedFileIsReadAgainAndDeletedFileIsForgotten() {
        const QString path = pathOf("kxr94sp.dbf");
        const QVector<FieldSpec> fields = {{"grid_code", OFTInteger, 9, 0}, {"species", OFTString, 20, 0}};
        QVERIFY(writeDbf(path, fields, {{12, "Bluegill"}}));
        QCOMPARE(column(db_.select("SELECT * FROM kxr94sp;"), "species"), QVariantList{"Bluegill"});

        QVERIFY(writeDbf(path, fields, {{12, "Walleye"}, {13, "Carp"}}));
        QCOMPARE(column(db_.select("SELECT * FROM kxr94sp;"), "species"), (QVariantList{"Walleye", "Carp"}));

        // Same size, other content: only the modification time tells.
        QVERIFY(writeDbf(path, fields, {{12, "Sauger"}, {13, "Perch"}}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(
            file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(column(db_.select("SELECT * FROM kxr94sp;"), "species"), (QVariantList{"Sauger", "Perch"}));

        QVERIFY(QFile::remove(path));
        QVERIFY(db_.select("SELECT * FROM kxr94sp;").error.startsWith("table kxr94sp not found"));
    }

    void selectRecordsGivesEachRecordItsPositionInTheFile() {
        SelectResult result = db_.selectRecords("kxr93sm", "grid_code = 120 OR grid_code = 13;");
        QVERIFY2(result.ok(), qPrintable(result.error));
        QVector<int> rowNumbers;
        for (RecordSet& records = result.records; !records.atEnd(); records.next())
            rowNumbers << records.rowNumber();
        QCOMPARE(rowNumbers, (QVector<int>{1, 2, 3}));
        QCOMPARE(result.records.columnNames().first(), QString("barcode"));

        SelectResult all = db_.selectRecords("KXR93SM");
        QCOMPARE(all.records.recordCount(), kCatchRows.size());
        all.records.moveFirst();
        QCOMPARE(all.records.rowNumber(), 0);
        QCOMPARE(db_.select("SELECT * FROM kxr93sm;").records.rowNumber(), -1);
    }

    void aFolderOpensUnderAnySpellingAndAMissingOneDoesNot() {
        Engine engine;
        const Database first = engine.open(folder_.path());
        QCOMPARE(first.recordCount("kxr93sm"), kCatchRows.size());
        const Database again = engine.open(folder_.path() + "/.");
        QCOMPARE(again.folder(), first.folder());
        QCOMPARE(again.recordCount("KXV98D"), 2);

        QString error;
        const Database missing = engine.open(pathOf("no_such_folder"), &error);
        QVERIFY(!missing.isOpen());
        QVERIFY(error.contains("no_such_folder"));
        QVERIFY(!missing.select("SELECT 1;").ok());
    }
};

QTEST_GUILESS_MAIN(TableDatabaseTest)
#include "test_table_database.moc"
