// The command line, checking a data folder, and data folders made on other systems: the
// built viewer is run as a user runs it, without a display; folders made elsewhere are opened
// in the real main window.

#include "app/command_line.h"
#include "catalogue/data_catalogue.h"
#include "support/main_window_harness.h"
#include "support/test_main.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace quillfen;

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}
QString generatedFolder() {
    return programFolder() + "/data";
}

/// The line of a --check report about a file of the catalogue.
QString lineAbout(const QString& report, const QString& fileName) {
    const QRegularExpression line("^" + QRegularExpression::escape(fileName) + " .*$",
                                  QRegularExpression::MultilineOption);
    return line.match(report).captured();
}

/// Runs the built viewer with no display of any kind within reach.
Outcome runViewer(const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess viewer;
    viewer.setProcessEnvironment(environment);
    viewer.start(programFolder() + "/quillfen", arguments);
    if (!viewer.waitForFinished(300000))
        viewer.kill();
    return {viewer.exitStatus() == QProcess::NormalExit ? viewer.exitCode() : -1,
            QString::fromLocal8Bit(viewer.readAllStandardOutput()),
            QString::fromLocal8Bit(viewer.readAllStandardError())};
}

/// The file's name in mixed case, each file of a dataset spelled differently (KXW93SM.shp,
/// Kxw93sm.SHX, kxw93sm.Dbf ...).
QString mixedCase(const QString& fileName, int index) {
    const QString base = QFileInfo(fileName).completeBaseName();
    const QString extension = QFileInfo(fileName).suffix();
    if (index % 3 == 0)
        return base.toUpper() + '.' + extension;
    if (index % 3 == 1)
        return base.left(1).toUpper() + base.mid(1) + '.' + extension.toUpper();
    return base + '.' + extension.left(1).toUpper() + extension.mid(1);
}

/// The grids of a graphical selection of everything in view, for one period of each kind.
QStringList recordsSelectedIn(const QString& folder, QStringList* messages = nullptr) {
    testing::WindowDriver driver(folder);
    QStringList cells;
    for (const char* box : {"chkwater_0", "chkfish_0", "chkinvert_0", "chkveg_0"}) {
        driver.clickBox(box);
        testing::selectEverythingInView(driver.window);
        cells << testing::gridTexts(driver.grid());
    }
    if (messages)
        *messages = driver.prompts.messages;
    return cells;
}

} // namespace

class DataFolderTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch_;
    int folders_ = 0;

    /// A new folder holding links to every file of the generated data folder, named as there or
    /// in mixed case.
    QString linkedFolder(bool inMixedCase = false) {
        const QString folder = scratch_.filePath(QString("folder%1").arg(++folders_));
        QDir().mkpath(folder);
        const QStringList files = QDir(generatedFolder()).entryList(QDir::Files, QDir::Name);
        for (int i = 0; i < files.size(); ++i) {
            const QString name = inMixedCase ? mixedCase(files[i], i) : files[i];
            if (!QFile::link(generatedFolder() + '/' + files[i], folder + '/' + name))
                qFatal("cannot link %s", qPrintable(files[i]));
        }
        return folder;
    }

private slots:
    void initTestCase() {
        QVERIFY(scratch_.isValid());
        QDir().mkpath(scratch_.filePath("empty"));
        QFile note(scratch_.filePath("note.txt"));
        QVERIFY(note.open(QIODevice::WriteOnly));
    }

    void eachOptionIsAnsweredWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString missing = scratch_.filePath("no_such_folder");
        const QString empty = scratch_.filePath("empty");
        const QString note = scratch_.filePath("note.txt");
        const QString usage = ". Try 'quillfen --help'.\n";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--data <FOLDER>"
                              << "";
        QTest::newRow("short help") << QStringList{"-h"} << 0 << "--check <FOLDER>"
                                    << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "quillfen " QUILLFEN_VERSION "\n"
                                 << "";
        QTest::newRow("unknown option") << QStringList{"--colour"} << 2 << ""
                                        << "quillfen: Unknown option 'colour'" + usage;
        QTest::newRow("Qt's options are not offered") << QStringList{"--help-all"} << 2 << ""
                                                      << "quillfen: Unknown option 'help-all'" + usage;
        QTest::newRow("data without a folder") << QStringList{"--data"} << 2 << ""
                                               << "quillfen: Missing value after '--data'" + usage;
        QTest::newRow("stray argument") << QStringList{"data"} << 2 << ""
                                        << "quillfen: unexpected argument 'data'" + usage;
        QTest::newRow("data and check together")
            << QStringList{"--data", empty, "--check", empty} << 2 << ""
            << "quillfen: --data and --check cannot be given together" + usage;
        QTest::newRow("data folder missing") << QStringList{"--data", missing} << 1 << ""
                                             << "quillfen: the data folder " + missing + " does not exist.\n";
        QTest::newRow("data folder is a file") << QStringList{"--data", note} << 1 << ""
                                               << "quillfen: " + note + " is not a folder.\n";
        QTest::newRow("data folder without data files")
            << QStringList{"--data", empty} << 1 << ""
            << "quillfen: the folder " + empty +
                   " holds none of the viewer's layers or tables (such as kx_out.shp "
                   "or kxw93sm.shp); 'quillfen --check " +
                   empty + "' lists them.\n";
    }
    void eachOptionIsAnsweredWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Outcome outcome = runViewer(arguments);
        QCOMPARE(outcome.err, err);
        QVERIFY2(out.isEmpty() ? outcome.out.isEmpty() : outcome.out.contains(out), qPrintable(outcome.out));
        QCOMPARE(outcome.status, status);
    }

    // The default folder is the one every window of these tests opens, and the installed one
    // the installed viewer's.
    void aDataFolderGivenRelativeIsTakenAsAnAbsolutePath() {
        const QString relative = QDir::current().relativeFilePath(generatedFolder());
        const StartRequest given = parseCommandLine({"quillfen", "--data", relative});
        QCOMPARE(given.action, StartRequest::Action::OpenWindow);
        QCOMPARE(given.dataFolder, QFileInfo(generatedFolder()).absoluteFilePath());
    }

    void checkFindsEveryFileUsableOrNamesTheOneSpoilt_data() {
        QTest::addColumn<QString>("spoilt");
        QTest::addColumn<QString>("problem");
        QTest::newRow("the generated folder") << ""
                                              << "";
        QTest::newRow("missing layer") << "kxw94sp.shp"
                                       << "MISSING";
        QTest::newRow("truncated table") << "kxr93sm.dbf"
                                         << "UNREADABLE";
        QTest::newRow("line layer for a point layer")
            << "kxf93sm.shp"
            << "WRONG GEOMETRY: holds a line layer, a point layer is expected";
        QTest::newRow("layer read through an unreadable table") << "kxi95.shp"
                                                                << "UNREADABLE";
        QTest::newRow("table that is a named pipe")
            << "kxr93sm.dbf"
            << "UNREADABLE: kxr93sm.dbf is a named pipe, not a regular file";
    }
    void checkFindsEveryFileUsableOrNamesTheOneSpoilt() {
        QFETCH(QString, spoilt);
        QFETCH(QString, problem);
        const QString folder = spoilt.isEmpty() ? generatedFolder() : linkedFolder();
        const QString base = folder + '/' + QFileInfo(spoilt).completeBaseName();
        if (problem == "MISSING") {
            for (const char* extension : {".shp", ".shx", ".dbf", ".prj"})
                QVERIFY(QFile::remove(base + extension));
        } else if (problem.startsWith("WRONG GEOMETRY")) {
            for (const char* extension : {".shp", ".shx", ".dbf"}) {
                QVERIFY(QFile::remove(base + extension));
                QVERIFY(QFile::link(generatedFolder() + "/kxstruc" + extension, base + extension));
            }
        } else if (problem.contains("named pipe")) {
            const QString table = base + ".dbf";
            QVERIFY(QFile::remove(table) && mkfifo(QFile::encodeName(table).constData(), 0600) == 0);
        } else if (problem == "UNREADABLE") {
            // A copy of the table in place of the link, cut to two thirds.
            const QString table = base + ".dbf";
            QVERIFY(QFile::remove(table) &&
                    QFile::copy(generatedFolder() + '/' + QFileInfo(table).fileName(), table));
            QVERIFY(QFile::resize(table, QFileInfo(table).size() * 2 / 3));
        }

        const Outcome outcome = runViewer({"--check", folder});
        QCOMPARE(outcome.err, QString());
        QCOMPARE(outcome.status, spoilt.isEmpty() ? 0 : 1);
        for (const DataFile& file : dataFolderCatalogue()) {
            const QString line = lineAbout(outcome.out, file.fileName);
            QVERIFY2(line.contains(file.fileName == spoilt ? problem : " ok"), qPrintable(line));
        }
        QVERIFY(outcome.out.endsWith(spoilt.isEmpty() ? "Every file the viewer needs is present and usable.\n"
                                                      : "1 file(s) the viewer needs missing or unusable.\n"));
    }

    void foldersSpelledOtherwiseSelectTheSameRecords_data() {
        // Every file in mixed case, or the files as generated and another layer linked as
        // KXW93SM.SHP beside kxw93sm.shp: the exact spelling is read, and the start-up message
        // says so.
        QTest::addColumn<bool>("twice");
        QTest::newRow("mixed case") << false;
        QTest::newRow("a layer in two spellings") << true;
    }
    void foldersSpelledOtherwiseSelectTheSameRecords() {
        QFETCH(bool, twice);
        static const QStringList expected = recordsSelectedIn(generatedFolder());
        QVERIFY(expected.size() > 200);
        const QString folder = linkedFolder(!twice);
        for (const char* extension : {"shp", "shx", "dbf"}) {
            if (twice)
                QVERIFY(QFile::link(generatedFolder() + "/kxw94sp." + extension,
                                    folder + "/KXW93SM." + QString(extension).toUpper()));
        }
        QStringList messages;
        QCOMPARE(recordsSelectedIn(folder, &messages), expected);
        QCOMPARE(messages.size(), twice ? 1 : 0);
        if (twice)
            QVERIFY2(messages[0].contains("kxw93sm.shp is read from kxw93sm.shp (also present: KXW93SM.SHP)"),
                     qPrintable(messages[0]));
    }
};

QUILLFEN_TEST(DataFolderTest)
#include "test_data_folder.moc"
