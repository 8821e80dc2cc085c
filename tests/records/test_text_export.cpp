#include "records/grid_layout.h"
#include "records/record_grid_model.h"
#include "records/text_export.h"
#include "support/file_bytes.h"
#include "support/scripted_prompts.h"
#include "support/small_filesystem.h"
#include "support/test_main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace quillfen;

namespace {} // namespace

class TextExportTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir_.isValid()); }
    void cleanup() { QFile::remove(path()); }

    // The common number forms are in the lines of eachKindIsWritten...; these are the edge cases.
    void numberAndIntegerFieldsHandleTheEdgeCases_data() {
        QTest::addColumn<bool>("integer");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("negative zero") << false << "-0" << QByteArray("0");
        QTest::newRow("trailing zeros") << false << "2.500" << QByteArray("2.5");
        QTest::newRow("single precision") << false << "0.1" << QByteArray(".1");
        QTest::newRow("surrounding blanks") << false << " 7.5 " << QByteArray("7.5");
        QTest::newRow("beyond single precision") << false << "1e40" << QByteArray("\"1e40\"");
        QTest::newRow("infinity") << false << "inf" << QByteArray("\"inf\"");
        QTest::newRow("half rounds to even down") << true << "2.5" << QByteArray("2");
        QTest::newRow("half rounds to even up") << true << "3.5" << QByteArray("4");
        QTest::newRow("largest integer") << true << "2147483647" << QByteArray("2147483647");
        QTest::newRow("beyond 32 bits") << true << "2147483648" << QByteArray("\"2147483648\"");
        QTest::newRow("empty integer") << true << "" << QByteArray();
        QTest::newRow("integer that is not a number") << true << "12a" << QByteArray("\"12a\"");
    }
    void numberAndIntegerFieldsHandleTheEdgeCases() {
        QFETCH(bool, integer);
        QFETCH(QString, cell);
        QFETCH(QByteArray, field);
        QCOMPARE(integer ? integerField(cell) : numberField(cell), field);
    }

    // Every kind's heading line is checked byte for byte by the exports of real selections;
    // these are the encodings of the record lines.
    void eachKindIsWrittenWithItsHeadingsAndEncodingsRecordRowsOnly_data() {
        QTest::addColumn<SampleKind>("kind");
        QTest::addColumn<QVector<QVariant>>("values");
        QTest::addColumn<QByteArray>("record");
        // clang-format off
        const QVector<QVariant> water = {1234, "KX01", "7/14/1993", "10:30", 0.5, "1.2", "3", "Silt \"fine\" \u00e9",
            "Main channel, border", 7.5, "", QVariant(), "Coon's Tail", 21.0, -99.0, 3.14159265, 1234567.8, 1e-7,
            -0.5, 0.05, 0.0, 12345678.0, QVariant(), "n/a", 100, 2.5, 0.0001, 0.00001, 1.5};
        // clang-format on
        QTest::newRow("water quality")
            << SampleKind::Water << water
            << QByteArray(
                   "1234,\"KX01\",\"7/14/1993\",\"10:30\",.5,\"1.2\",\"3\",\"Silt \"\"fine\"\" \xc3\xa9\","
                   "\"Main channel, border\",7.5,\"\",\"\",\"Coon's Tail\",21,-99,3.141593,1234568,"
                   "1e-07,-.5,.05,0,1.234568e+07,,\"n/a\",100,2.5,.0001,1e-05,1.5\r\n");
        // Fish and vegetation listings leave an empty row below each record that is not written.
        QTest::newRow("fish")
            << SampleKind::Fish
            << QVector<QVariant>{55,       "F-1", "Side channel", "8/2/1995", "Electrofishing", 1.25,
                                 0.333333, "Low", "Sand",         "Bluegill", QVariant(),       12,
                                 0.25}
            << QByteArray("55,\"F-1\",\"Side channel\",\"8/2/1995\",\"Electrofishing\",1.25,.333333,\"Low\","
                          "\"Sand\",\"Bluegill\",,12,.25\r\n");
        QVector<QVariant> site(19, QStringLiteral("x"));
        site[0] = 120;
        site[14] = 1.5;
        QTest::newRow("vegetation quotes every field, the barcode too")
            << SampleKind::Veg << site
            << "\"120\"," + QByteArray("\"x\",").repeated(13) + "\"1.5\"," +
                   QByteArray("\"x\",").repeated(3) + "\"x\"\r\n";
    }
    void eachKindIsWrittenWithItsHeadingsAndEncodingsRecordRowsOnly() {
        QFETCH(SampleKind, kind);
        QFETCH(QVector<QVariant>, values);
        QFETCH(QByteArray, record);
        RecordGridModel grid;
        layOutGrid(grid, kind);
        const bool companion = kind == SampleKind::Fish || kind == SampleKind::Veg;
        for (int n = 1; n <= 2; ++n)
            companion ? writeTableRecordRow(grid, n, values) : writeLayerRecordRow(grid, n, values);
        QCOMPARE(grid.rows(), companion ? 4 : 3);
        const ExportResult result = appendGridToFile(grid, kind, path());
        QVERIFY(result.ok());
        QCOMPARE(result.recordsWritten, 2);
        const QByteArray written = testing::fileBytes(path());
        const QByteArray headings = written.left(written.indexOf('\n') + 1);
        QVERIFY2(headings.startsWith("\"Barcode\",\"") && headings.endsWith("\"\r\n"), headings.constData());
        QCOMPARE(written, headings + record + record);
    }

    // A cancelled dialog or an unknown kind writes nothing; each save appends a block, the first
    // on a new line after a last line without its end; a file that cannot be opened is named.
    void theSaveDialogAsksForATextFileAndEachSaveAppendsABlock() {
        RecordGridModel grid;
        layOutGrid(grid, SampleKind::Water);
        writeLayerRecordRow(grid, 1, {1234, "KX01", "7/14/1993", "10:30", 0.5});
        const QByteArray notes = "notes of the day";
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(notes) == notes.size());
        file.close();
        ScriptedPrompts prompts;
        const QString unreachable = dir_.filePath("no such folder/records.txt");
        prompts.saveAnswers = {QString(), path(), path(), path(), unreachable};
        saveGridAsText(nullptr, grid, "w");
        saveGridAsText(nullptr, grid, "");
        QCOMPARE(testing::fileBytes(path()), notes);
        saveGridAsText(nullptr, grid, "w");
        const QByteArray block = testing::fileBytes(path()).mid(notes.size() + 2);
        QVERIFY(block.startsWith("\"Barcode\",\"Location Code\""));
        QCOMPARE(testing::fileBytes(path()), notes + "\r\n" + block);
        saveGridAsText(nullptr, grid, "w");
        QCOMPARE(testing::fileBytes(path()), notes + "\r\n" + block + block);
        QVERIFY(prompts.messages.isEmpty());
        const SaveDialogOptions& options = prompts.dialogs.first();
        QCOMPARE(options.title, QStringLiteral("Save Selected Records as Text"));
        QCOMPARE(options.defaultSuffix, QStringLiteral(".txt"));
        QCOMPARE(options.proposedName, QStringLiteral(".txt"));
        QVERIFY(options.filter.isEmpty());
        // The dialog starts at home until a file is chosen, then in that file's folder.
        QCOMPARE(options.startFolder, QDir::homePath());
        QCOMPARE(prompts.dialogs.at(1).startFolder, QDir::homePath());
        QCOMPARE(prompts.dialogs.at(2).startFolder, QFileInfo(path()).absolutePath());

        saveGridAsText(nullptr, grid, "w");
        QCOMPARE(prompts.dialogs.size(), 5);
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY2(prompts.messages.first().contains(QDir::toNativeSeparators(unreachable)),
                 qPrintable(prompts.messages.first()));
        QVERIFY(!QFile::exists(unreachable));
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

    void onAFullDiskTheFileStaysAsItWasAndTheReasonIsGiven() {
        SmallFilesystem disk(256 * 1024);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.skipReason()));
        RecordGridModel grid;
        layOutGrid(grid, SampleKind::Water);
        for (int n = 1; n <= 200; ++n)
            writeLayerRecordRow(grid, n, {1000 + n, "KX01", "7/14/1993", "10:30", 0.5});
        const QString earlier = disk.filePath("records.txt");
        QFile file(earlier);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("an earlier export\r\nwithout its last line end");
        file.close();
        const QByteArray before = testing::fileBytes(earlier);
        QVERIFY(disk.fillLeaving(8192));

        ScriptedPrompts prompts;
        prompts.saveAnswers = {earlier, earlier, disk.filePath("new.txt")};
        for (int attempt = 0; attempt < 2; ++attempt) {
            saveGridAsText(nullptr, grid, "w");
            QCOMPARE(testing::fileBytes(earlier), before);
        }
        saveGridAsText(nullptr, grid, "w");
        QVERIFY(!QFile::exists(disk.filePath("new.txt")));
        QCOMPARE(prompts.messages.size(), 3);
        for (const QString& message : prompts.messages)
            QVERIFY2(message.endsWith(": No space left on device"), qPrintable(message));
    }

private:
    QString path() const { return dir_.filePath("records.txt"); }
    QTemporaryDir dir_;
};

QUILLFEN_TEST(TextExportTest)

#include "test_text_export.moc"
