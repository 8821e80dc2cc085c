#include "window_driver.h"

#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "support/main_window_harness.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {

const QColor kYellow(255, 255, 0);

} // namespace

WindowDriver::WindowDriver(const QString& dataFolder) : window(nullptr, dataFolder) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the main window was not shown");
    settle();
}

void WindowDriver::clickBox(const QString& name) {
    testing::clickBox(window, name);
    settle();
}

void WindowDriver::clickButton(const QString& name) { testing::clickButton(window, name); }

void WindowDriver::clickToolbar(const QString& key) { testing::toolbarButton(window, key)->trigger(); }

bool WindowDriver::driveQueryWindow(const std::function<void(QDialog*)>& steps) {
    bool opened = false;
    QTimer::singleShot(0, &window, [&] {
        auto* query = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!query || query->objectName() != QLatin1String("query"))
            return;
        opened = true;
        steps(query);
        // Never leave a modal window open behind a failed step.
        if (query->isVisible())
            query->reject();
    });
    clickButton("Command2");
    settle();
    return opened;
}

bool WindowDriver::selectLogically(const QString& parameter, const QString& oper, const QString& value) {
    const bool opened = driveQueryWindow([&](QDialog* query) {
        testing::clickListItem(testing::control<QListWidget>(query, "List1"), parameter);
        testing::clickListItem(testing::control<QListWidget>(query, "List2"), oper);
        QLineEdit* valueBox = testing::control<QComboBox>(query, "Combo1")->lineEdit();
        valueBox->selectAll();
        QTest::keyClicks(valueBox, value);
        QTest::mouseClick(testing::control<QPushButton>(query, "Command2"), Qt::LeftButton);
    });
    return opened && window.queryWindow() && !window.queryWindow()->isVisible();
}

bool WindowDriver::cancelQuery(bool submitFirst) {
    const bool opened = driveQueryWindow([&](QDialog* query) {
        if (submitFirst)
            QTest::mouseClick(testing::control<QPushButton>(query, "Command2"), Qt::LeftButton);
        QTest::mouseClick(testing::control<QPushButton>(query, "Command1"), Qt::LeftButton);
    });
    return opened && !window.queryWindow();
}

QPoint WindowDriver::pixelOf(QPointF mapPoint) const {
    const QPointF pixel = window.map().mapToScreen(mapPoint);
    return QPoint(int(std::floor(pixel.x())), int(std::floor(pixel.y())));
}

bool WindowDriver::isHighlighted(QPointF mapPoint) const {
    // Highlights of close points overlap: the outline of a later one may cross this point, so
    // the yellow of its marker is looked for right around it.
    const QPoint centre = pixelOf(mapPoint);
    const QImage& image = window.map().image();
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint pixel = centre + QPoint(dx, dy);
            if (image.rect().contains(pixel) && image.pixelColor(pixel) == kYellow)
                return true;
        }
    }
    return false;
}

void WindowDriver::zoomInAround(QPointF mapPoint, int halfSide) {
    clickToolbar("Zoom In");
    const QPoint centre = pixelOf(mapPoint);
    const QPoint from = centre - QPoint(halfSide, halfSide);
    const QPoint to = centre + QPoint(halfSide, halfSide);
    mapcontrol::MapControl* map = &window.map();
    QTest::mousePress(map, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(map, to);
    QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, to);
    settle();
}

void WindowDriver::drawPolygon(const QVector<QPoint>& vertices) {
    mapcontrol::MapControl* map = &window.map();
    for (const QPoint& vertex : vertices)
        QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, vertex);
    QTest::mouseDClick(map, Qt::LeftButton, Qt::NoModifier, vertices.last());
    QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, vertices.last());
    settle();
}

void WindowDriver::drawSquareAround(QPointF mapPoint, int halfSide) {
    const QPoint c = pixelOf(mapPoint);
    drawPolygon({c + QPoint(-halfSide, -halfSide), c + QPoint(halfSide, -halfSide),
                 c + QPoint(halfSide, halfSide), c + QPoint(-halfSide, halfSide)});
}

quillfen::RecordGridModel& WindowDriver::grid() {
    return window.recordsWindow().grid();
}

void WindowDriver::settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}
