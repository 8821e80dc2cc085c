// The main window on a screen of two device pixels per pixel: the map, the legend swatches,
// the toolbar pictures and the logo are drawn at the screen's resolution, not scaled up from
// pictures of half the size; the map picture keeps twice the map's size in pixels. The test's
// environment sets the screen (QT_SCALE_FACTOR=2).

#include "../support/main_window_harness.h"

#include "mapcontrol/map_control.h"
#include "support/test_main.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace quillfen;
using testing::control;

namespace {

constexpr int kRatio = 2;

/// True when some colour change along the image's rows falls between the two device pixels
/// of one widget pixel: a picture scaled up from widget pixels changes colour only between
/// pairs, so its edges are doubled pixels.
bool changesWithinWidgetPixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 1; x < image.width(); x += kRatio) {
            if (image.pixel(x, y) != image.pixel(x - 1, y))
                return true;
        }
    }
    return false;
}

} // namespace

class HighDensityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), qreal(kRatio)); }

    void mapSwatchesToolbarAndLogoAreDrawnAtTheScreensResolutionAndTheMapPictureAtTwiceTheMap() {
        ScriptedPrompts prompts;
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QImage& map = window.map().image();
        QCOMPARE(map.size(), window.map().size() * kRatio);
        QVERIFY2(changesWithinWidgetPixels(map), "the edges of the reach are drawn in device pixels");

        auto* swatch = control(&window, "legend_kxw93sm");
        const QImage drawnSwatch = swatch->grab().toImage();
        QCOMPARE(drawnSwatch.size(), swatch->size() * kRatio);
        QVERIFY2(changesWithinWidgetPixels(drawnSwatch), "the swatch's marker is drawn in device pixels");

        auto* toolbar = control<QToolBar>(&window, "Toolbar1");
        for (QAction* button : toolbar->actions()) {
            const QPixmap picture = button->icon().pixmap(toolbar->iconSize(), kRatio);
            QVERIFY2(picture.size() == toolbar->iconSize() * kRatio, qPrintable(button->text()));
        }

        auto* logo = control<QLabel>(&window, "Image1");
        const QPixmap logoPicture = logo->pixmap();
        QCOMPARE(logoPicture.size(), logo->size() * kRatio);
        QVERIFY(changesWithinWidgetPixels(logoPicture.toImage()));

        // The map picture is twice the map's size whatever the screen.
        QTemporaryDir folder;
        const QString path = folder.filePath("map1.bmp");
        prompts.saveAnswers << path;
        testing::clickButton(window, "button_print");
        QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.join("; ")));
        QCOMPARE(QImage(path).size(), window.map().size() * 2);
    }
};

QUILLFEN_TEST(HighDensityTest)

#include "test_high_density.moc"
