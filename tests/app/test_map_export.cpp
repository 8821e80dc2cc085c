// "Print to .BMP File" and the windows of fixed information opened from the main window.

#include "../support/main_window_harness.h"
#include "../support/small_filesystem.h"
#include "support/test_main.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

using namespace quillfen;
using namespace testing;

class MapExportTest : public QObject {
    Q_OBJECT

private slots:
    void aCancelledDialogWritesNothingAndAnAnsweredOneSavesTheViewAtTwiceTheMapsSize() {
        ScriptedPrompts prompts;
        MainWindow window;
        QTemporaryDir folder;
        QDir::setCurrent(folder.path());
        clickButton(window, "button_print");
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
        const QString path = folder.filePath("map1.bmp");
        prompts.saveAnswers << path;
        clickButton(window, "button_print");
        QCOMPARE(prompts.dialogs.size(), 2);
        const SaveDialogOptions& dialog = prompts.dialogs.last();
        QCOMPARE(dialog.filter, QString("Windows Bitmap (*.bmp)"));
        QCOMPARE(dialog.proposedName, QString("map1.bmp"));
        QCOMPARE(dialog.startFolder, QDir::homePath());
        QVERIFY(!dialog.confirmOverwrite);
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage picture = reader.read();
        QCOMPARE(picture.size(), window.map().size() * 2);
        // The next dialog starts in the folder of this save.
        clickButton(window, "button_print");
        QCOMPARE(prompts.dialogs.last().startFolder, QFileInfo(path).absolutePath());
        // The same view: a pixel of the screen image and the matching one of the picture agree.
        const QPoint probe(window.map().width() / 2, window.map().height() / 2);
        QVERIFY(sameColor(window.map().image().pixelColor(probe), picture.pixelColor(probe * 2), 24));
        QVERIFY(prompts.messages.isEmpty());
    }

    void theSavedPictureCarriesTheYellowHighlightsAtItsScale() {
        ScriptedPrompts prompts;
        MainWindow window;
        clickBox(window, "chkwater_0");
        selectEverythingInView(window);
        const QString barcode = window.recordsWindow().grid().textMatrix(1, 1);
        QVERIFY(!barcode.isEmpty());
        auto layer = std::dynamic_pointer_cast<mapcontrol::VectorLayer>(window.map().layerNamed("kxw93sm"));
        QPointF point;
        for (mapcontrol::RecordCursor c = layer->records(); !c.atEnd(); c.next()) {
            if (mapcontrol::fieldText(c.fieldValue("barcode")) == barcode)
                point = c.shape().points.first();
        }
        QTemporaryDir folder;
        prompts.saveAnswers << folder.filePath("selection.bmp");
        clickButton(window, "button_print");
        const QImage picture(folder.filePath("selection.bmp"));
        // Yellow lies around the point in the picture (a neighbour's outline may cross its centre).
        const QPoint pixel = (window.map().mapToScreen(point) * 2).toPoint();
        int yellowNear = 0;
        for (int dx = -5; dx <= 5; ++dx) {
            for (int dy = -5; dy <= 5; ++dy)
                yellowNear +=
                    sameColor(picture.pixelColor(pixel + QPoint(dx, dy)), QColor(255, 255, 0), 16) ? 1 : 0;
        }
        QVERIFY2(yellowNear > 30, qPrintable(QString::number(yellowNear)));
    }

    void aFolderThatCannotBeWrittenIsReportedAndOnAFullDiskTheEarlierPictureStays() {
        ScriptedPrompts prompts;
        MainWindow window;
        prompts.saveAnswers << "/nonexistent-folder/map1.bmp";
        clickButton(window, "button_print");
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.first().contains("/nonexistent-folder/map1.bmp"));

        SmallFilesystem disk(4 * 1024 * 1024);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.skipReason()));
        const QString path = disk.filePath("map1.bmp");
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("an earlier picture");
        earlier.close();
        QVERIFY(disk.fillLeaving(64 * 1024));
        prompts.saveAnswers << path;
        clickButton(window, "button_print");
        QCOMPARE(prompts.messages.size(), 2);
        QVERIFY2(prompts.messages.last().contains(path) &&
                     prompts.messages.last().endsWith("No space left on device"),
                 qPrintable(prompts.messages.last()));
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("an earlier picture"));
        QCOMPARE(QDir(disk.filePath(".")).entryList(QDir::Files), (QStringList{"filler", "map1.bmp"}));
    }

    void aboutOpensModallyAndHelpLetsTheMainWindowWork() {
        ScriptedPrompts prompts;
        MainWindow window;
        window.show();
        QVERIFY(driveModal("about", [&] { clickButton(window, "button_about"); }));
        toolbarButton(window, "Help")->trigger();
        QWidget* help = topLevelNamed("help");
        QVERIFY(help);
        QVERIFY(!QApplication::activeModalWidget());
        // The main window still answers while the help is open.
        clickButton(window, "Command3");
        QCOMPARE(prompts.messages, QStringList("No Draw/Query Layer(s) Selected"));
        help->close();
    }
};

QUILLFEN_TEST(MapExportTest)

#include "test_map_export.moc"
