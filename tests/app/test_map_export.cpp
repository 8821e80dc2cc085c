// "Print to .BMP File" and the windows of fixed information opened from the main window.

#include "../support/main_window_harness.h"
#include "../support/small_filesystem.h"

#include "info_windows/help_window.h"

#include <QApplication>
#include <QDialog>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTimer>

using namespace quillfen;
using namespace testing;

class MapExportTest : public QObject {
    Q_OBJECT

private slots:
    void savesTheViewAsABitmapAtTwiceTheMapsSize();
    void theSavedPictureCarriesTheYellowHighlightsAtItsScale();
    void cancellingTheDialogWritesNothing();
    void aFolderThatCannotBeWrittenIsReported();
    void onAFullDiskTheEarlierPictureStaysAsItWas();
    void aboutOpensModallyAndHelpLetsTheMainWindowWork();
};

void MapExportTest::savesTheViewAsABitmapAtTwiceTheMapsSize() {
    ScriptedPrompts prompts;
    MainWindow window;
    QTemporaryDir folder;
    const QString path = folder.filePath("map1.bmp");
    prompts.saveAnswers << path;
    clickButton(window, "button_print");
    QCOMPARE(prompts.dialogs.size(), 1);
    const SaveDialogOptions& dialog = prompts.dialogs.first();
    QCOMPARE(dialog.filter, QString("Windows Bitmap (*.bmp)"));
    QCOMPARE(dialog.proposedName, QString("map1.bmp"));
    QCOMPARE(dialog.startFolder, QDir::homePath());
    QVERIFY(!dialog.confirmOverwrite);
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("bmp"));
    const QImage picture = reader.read();
    QCOMPARE(picture.size(), window.map().size() * 2);
    // The same view: a pixel of the screen image and the matching one of the picture agree.
    const QPoint probe(window.map().width() / 2, window.map().height() / 2);
    QVERIFY(sameColor(window.map().image().pixelColor(probe), picture.pixelColor(probe * 2), 24));
    QVERIFY(prompts.messages.isEmpty());
}

void MapExportTest::theSavedPictureCarriesTheYellowHighlightsAtItsScale() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkwater_0");
    selectEverythingInView(window);
    const int hit = 1;
    const QString barcode = window.recordsWindow().grid().textMatrix(hit, 1);
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
            yellowNear += sameColor(picture.pixelColor(pixel + QPoint(dx, dy)), QColor(255, 255, 0), 16) ? 1 : 0;
    }
    QVERIFY2(yellowNear > 30, qPrintable(QString::number(yellowNear)));
}

void MapExportTest::cancellingTheDialogWritesNothing() {
    ScriptedPrompts prompts;
    MainWindow window;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    clickButton(window, "button_print");
    QCOMPARE(prompts.dialogs.size(), 1);
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    QVERIFY(prompts.messages.isEmpty());
}

void MapExportTest::aFolderThatCannotBeWrittenIsReported() {
    ScriptedPrompts prompts;
    MainWindow window;
    const QString path = "/nonexistent-folder/map1.bmp";
    prompts.saveAnswers << path;
    clickButton(window, "button_print");
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY(prompts.messages.first().contains(path));
}

void MapExportTest::onAFullDiskTheEarlierPictureStaysAsItWas() {
    SmallFilesystem disk(4 * 1024 * 1024);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    const QString path = disk.filePath("map1.bmp");
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier picture");
    earlier.close();
    QVERIFY(disk.fillLeaving(64 * 1024));

    ScriptedPrompts prompts;
    MainWindow window;
    prompts.saveAnswers << path;
    clickButton(window, "button_print");
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY2(prompts.messages.first().contains(path) && prompts.messages.first().endsWith("No space left on device"),
             qPrintable(prompts.messages.first()));
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("an earlier picture"));
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files), (QStringList{"filler", "map1.bmp"}));
}

void MapExportTest::aboutOpensModallyAndHelpLetsTheMainWindowWork() {
    ScriptedPrompts prompts;
    MainWindow window;
    window.show();
    bool aboutWasModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* about = QApplication::activeModalWidget();
        aboutWasModal = about && about->objectName() == "about";
        if (about)
            about->close();
    });
    clickButton(window, "button_about");
    QVERIFY(aboutWasModal);

    toolbarButton(window, "Help")->trigger();
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "help" && w->isVisible())
            help = w;
    }
    QVERIFY(help);
    QVERIFY(!QApplication::activeModalWidget());
    // The main window still answers while the help is open.
    clickButton(window, "Command3");
    QCOMPARE(prompts.messages, QStringList("No Draw/Query Layer(s) Selected"));
    help->close();
}

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    MapExportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_map_export.moc"
