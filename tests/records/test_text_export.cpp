#include "app/user_prompts.h"
#include "records/grid_layout.h"
#include "records/record_grid_model.h"
#include "records/text_export.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillfen;

namespace {

QByteArray quotedLine(const QStringList& texts) {
    QByteArray line;
    for (const QString& text : texts)
        line += (line.isEmpty() ? "\"" : ",\"") + text.toUtf8() + '"';
    return line + "\r\n";
}

const QByteArray kWaterHeadings = quotedLine({"Barcode",
                                              "Location Code",
                                              "Date",
                                              "Time",
                                              "Sample Depth",
                                              "Z",
                                              "Z Max",
                                              "Substrate",
                                              "Stratum",
                                              "Secchi",
                                              "Veg Coverage",
                                              "Veg Density",
                                              "Veg Name",
                                              "Temperature",
                                              "Dissolved Oxygen",
                                              "ph",
                                              "Turbidity",
                                              "Conductivity",
                                              "Velocity",
                                              "Soluble Reactive P",
                                              "Total P",
                                              "Total N",
                                              "Ammonium N",
                                              "Nitrate Nitrite",
                                              "Suspended Solids",
                                              "Volatile Suspended Solids",
                                              "Silica",
                                              "Chloride",
                                              "Chlorophyll fl1"});
const QByteArray kFishHeadings =
    quotedLine({"Barcode", "Location Code", "Stratum", "Date", "Gear", "Depth", "Velocity", "Veg Density",
                "Substrate", "Species", "Average Length", "Count", "Catch Effort"});
const QByteArray kInvertHeadings =
    quotedLine({"Barcode", "Date", "Stratum", "Depth", "Percent Veg", "Percent Open", "Percent Sub",
                "Percent Float", "Percent Emerg", "Shells", "Detritus", "Fine Organics", "Substrate",
                "Mayflies", "Fingernail Clams", "Corbicula", "midges", "Zebra Mussels"});
const QByteArray kVegHeadings =
    quotedLine({"Barcode", "Date", "Detritus", "Substrate", "Stratum", "Unvegetated", "Submergents",
                "Rooted Floating Veg", "Emergents", "Algae", "Non Rooted Floating Veg",
                "Percent Non Rooted Floating Veg", "Percent Cover Rooted Floating", "Percent Cover Emergents",
                "Water Depth", "Average Submergent Density", "Species", "Additional Species",
                "Percent Cover Rooted and Floating Emergents"});

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void fillWaterGrid(RecordGridModel& grid) {
    layOutGrid(grid, SampleKind::Water);
    writeLayerRecordRow(grid, 1,
                        {1234,
                         "KX01",
                         "7/14/1993",
                         "10:30",
                         0.5,
                         "1.2",
                         "3",
                         "Silt \"fine\" é",
                         "Main channel, border",
                         7.5,
                         "",
                         "",
                         "Coon's Tail",
                         21.0,
                         -99.0,
                         3.14159265,
                         1234567.8,
                         0.0000001,
                         -0.5,
                         0.05,
                         0.0,
                         12345678.0,
                         QVariant(),
                         "n/a",
                         100,
                         2.5,
                         0.0001,
                         0.00001,
                         1.5});
    writeLayerRecordRow(grid, 2, {-99});
}

} // namespace

class TextExportTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void cleanup() { QFile::remove(path()); }

    void numberFieldsAreShortSinglePrecisionDecimals_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("fraction") << "7.5" << QByteArray("7.5");
        QTest::newRow("below one") << "0.5" << QByteArray(".5");
        QTest::newRow("negative below one") << "-0.5" << QByteArray("-.5");
        QTest::newRow("hundredths") << "0.05" << QByteArray(".05");
        QTest::newRow("whole") << "1234" << QByteArray("1234");
        QTest::newRow("missing value") << "-99" << QByteArray("-99");
        QTest::newRow("zero") << "0" << QByteArray("0");
        QTest::newRow("negative zero") << "-0" << QByteArray("0");
        QTest::newRow("seven digits") << "3.14159265" << QByteArray("3.141593");
        QTest::newRow("rounded to whole") << "1234567.8" << QByteArray("1234568");
        QTest::newRow("trailing zeros") << "2.500" << QByteArray("2.5");
        QTest::newRow("very small") << "0.0000001" << QByteArray("1e-07");
        QTest::newRow("very large") << "12345678" << QByteArray("1.234568e+07");
        QTest::newRow("single precision") << "0.1" << QByteArray(".1");
        QTest::newRow("surrounding blanks") << " 7.5 " << QByteArray("7.5");
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("not a number") << "n/a" << QByteArray("\"n/a\"");
        QTest::newRow("beyond single precision") << "1e40" << QByteArray("\"1e40\"");
        QTest::newRow("infinity") << "inf" << QByteArray("\"inf\"");
    }
    void numberFieldsAreShortSinglePrecisionDecimals() {
        QFETCH(QString, cell);
        QFETCH(QByteArray, field);
        QCOMPARE(numberField(cell), field);
    }

    void integerFieldsAre32BitDecimals_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("positive") << "1234" << QByteArray("1234");
        QTest::newRow("negative") << "-99" << QByteArray("-99");
        QTest::newRow("half rounds to even down") << "2.5" << QByteArray("2");
        QTest::newRow("half rounds to even up") << "3.5" << QByteArray("4");
        QTest::newRow("largest") << "2147483647" << QByteArray("2147483647");
        QTest::newRow("beyond 32 bits") << "2147483648" << QByteArray("\"2147483648\"");
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("not a number") << "12a" << QByteArray("\"12a\"");
    }
    void integerFieldsAre32BitDecimals() {
        QFETCH(QString, cell);
        QFETCH(QByteArray, field);
        QCOMPARE(integerField(cell), field);
    }

    void textFieldsAreQuotedWithInnerQuotesDoubledInUtf8() {
        QCOMPARE(textField("a, b"), QByteArray("\"a, b\""));
        QCOMPARE(textField("say \"hi\""), QByteArray("\"say \"\"hi\"\"\""));
        QCOMPARE(textField(""), QByteArray("\"\""));
        QCOMPARE(textField(QStringLiteral("Gr\u00f6\u00dfe")), QByteArray("\"Gr\xc3\xb6\xc3\x9f"
                                                                          "e\""));
    }

    void aWaterGridIsWrittenWithItsHeadingsAndEncodings() {
        RecordGridModel grid;
        fillWaterGrid(grid);
        const ExportResult result = appendGridToFile(grid, SampleKind::Water, path());
        QVERIFY(result.ok());
        QCOMPARE(result.recordsWritten, 2);
        const QByteArray first =
            "1234,\"KX01\",\"7/14/1993\",\"10:30\",.5,\"1.2\",\"3\",\"Silt \"\"fine\"\" \xc3\xa9\","
            "\"Main channel, border\",7.5,\"\",\"\",\"Coon's Tail\",21,-99,3.141593,1234568,"
            "1e-07,-.5,.05,0,1.234568e+07,,\"n/a\",100,2.5,.0001,1e-05,1.5\r\n";
        const QByteArray second =
            "-99,\"\",\"\",\"\",,\"\",\"\",\"\",\"\",,\"\",\"\",\"\",,,,,,,,,,,,,,,,\r\n";
        QCOMPARE(readFile(path()), kWaterHeadings + first + second);
    }

    void aFishGridSkipsTheEmptyRowBelowItsRecords() {
        RecordGridModel grid;
        layOutGrid(grid, SampleKind::Fish);
        const QVector<QVariant> catchRecord = {
            55,       "F-1", "Side channel", "8/2/1995", "Electrofishing", 1.25,
            0.333333, "Low", "Sand",         "Bluegill", QVariant(),       12,
            0.25};
        writeTableRecordRow(grid, 1, catchRecord);
        writeTableRecordRow(grid, 2, catchRecord);
        QCOMPARE(grid.rows(), 4);
        QVERIFY(appendGridToFile(grid, SampleKind::Fish, path()).ok());
        const QByteArray record =
            "55,\"F-1\",\"Side channel\",\"8/2/1995\",\"Electrofishing\",1.25,.333333,\"Low\","
            "\"Sand\",\"Bluegill\",,12,.25\r\n";
        QCOMPARE(readFile(path()), kFishHeadings + record + record);
    }

    void anInvertebrateGridWritesAllEighteenColumns() {
        RecordGridModel grid;
        layOutGrid(grid, SampleKind::Invert);
        writeLayerRecordRow(grid, 1,
                            {77, "5/20/1997", "Main Channel", 0.75, "1-25", "26-50", "0", "0", "0", "1-25",
                             "51-75", "Yes", "Silt", 3, 0, 1, 250, 9});
        QVERIFY(appendGridToFile(grid, SampleKind::Invert, path()).ok());
        const QByteArray record =
            "77,\"5/20/1997\",\"Main Channel\",.75,\"1-25\",\"26-50\",\"0\",\"0\",\"0\","
            "\"1-25\",\"51-75\",\"Yes\",\"Silt\",3,0,1,250,9\r\n";
        QCOMPARE(readFile(path()), kInvertHeadings + record);
    }

    void aVegetationGridQuotesEveryFieldTheBarcodeToo() {
        RecordGridModel grid;
        layOutGrid(grid, SampleKind::Veg);
        QVector<QVariant> site(19, QStringLiteral("x"));
        site[0] = 120;
        site[14] = 1.5;
        writeTableRecordRow(grid, 1, site);
        QVERIFY(appendGridToFile(grid, SampleKind::Veg, path()).ok());
        QStringList fields(19, QStringLiteral("x"));
        fields[0] = "120";
        fields[14] = "1.5";
        QCOMPARE(readFile(path()), kVegHeadings + quotedLine(fields));
    }

    void savingTwiceAppendsTwoBlocks() {
        RecordGridModel grid;
        fillWaterGrid(grid);
        ScriptedPrompts prompts;
        prompts.saveAnswers = {path(), path()};
        saveGridAsText(nullptr, grid, "w");
        const QByteArray once = readFile(path());
        QVERIFY(once.startsWith(kWaterHeadings));
        saveGridAsText(nullptr, grid, "w");
        QCOMPARE(readFile(path()), once + once);
        QVERIFY(prompts.messages.isEmpty());
    }

    void theSaveDialogAsksForATextFileInTheHomeFolder() {
        RecordGridModel grid;
        fillWaterGrid(grid);
        ScriptedPrompts prompts;
        saveGridAsText(nullptr, grid, "w");
        QCOMPARE(prompts.dialogs.size(), 1);
        const SaveDialogOptions& options = prompts.dialogs.first();
        QCOMPARE(options.title, QStringLiteral("Save Selected Records as Text"));
        QCOMPARE(options.defaultSuffix, QStringLiteral(".txt"));
        QCOMPARE(options.proposedName, QStringLiteral(".txt"));
        QCOMPARE(options.startFolder, QDir::homePath());
        QVERIFY(options.filter.isEmpty());
    }

    void aCancelledDialogOrAnUnknownKindWritesNothing() {
        RecordGridModel grid;
        fillWaterGrid(grid);
        ScriptedPrompts prompts;
        prompts.saveAnswers = {QString(), path()};
        saveGridAsText(nullptr, grid, "w");
        saveGridAsText(nullptr, grid, "");
        QCOMPARE(prompts.dialogs.size(), 2);
        QVERIFY(!QFile::exists(path()));
        QVERIFY(prompts.messages.isEmpty());
    }

    void aGridWithoutRecordsCreatesNoFile() {
        RecordGridModel grid;
        layOutGrid(grid, SampleKind::Fish);
        grid.setRows(3);
        grid.setRow(2);
        grid.setCol(5);
        grid.setText("left over without a record number");
        const ExportResult result = appendGridToFile(grid, SampleKind::Fish, path());
        QVERIFY(result.ok());
        QCOMPARE(result.recordsWritten, 0);
        QVERIFY(!QFile::exists(path()));
    }

    void aFileThatCannotBeOpenedIsReportedByName() {
        RecordGridModel grid;
        fillWaterGrid(grid);
        ScriptedPrompts prompts;
        const QString unreachable = m_dir.filePath("no such folder/records.txt");
        prompts.saveAnswers = {unreachable};
        saveGridAsText(nullptr, grid, "w");
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY2(prompts.messages.first().contains(QDir::toNativeSeparators(unreachable)),
                 qPrintable(prompts.messages.first()));
        QVERIFY(!QFile::exists(unreachable));
    }

    void aFileThatCannotBeWrittenIsReported() {
        if (!QFile::exists("/dev/full"))
            QSKIP("needs a device that refuses every write");
        RecordGridModel grid;
        fillWaterGrid(grid);
        const ExportResult result = appendGridToFile(grid, SampleKind::Water, "/dev/full");
        QVERIFY(!result.ok());
        QVERIFY(!result.failure.isEmpty());
    }

private:
    QString path() const { return m_dir.filePath("records.txt"); }
    QTemporaryDir m_dir;
};

int runTextExportTests(int argc, char** argv) {
    TextExportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_text_export.moc"
