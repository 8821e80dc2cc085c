// Writes a picture of the main window on the demonstration data: two water-quality periods
// and the river miles ticked, and a graphical selection over the middle of the reach.
// Usage: quillfen-screenshot OUTPUT.png

#include "app/main_window.h"
#include "mapcontrol/map_control.h"

#include <QApplication>
#include <QCheckBox>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: quillfen-screenshot OUTPUT.png\n", stderr);
        return 2;
    }
    quillfen::MainWindow window;
    window.show();
    for (const char* box : {"Check30", "chkwater_0", "chkwater_4"})
        window.findChild<QCheckBox*>(box)->click();

    // The polygon a user would draw around the middle third of the reach.
    mapcontrol::MapControl& map = window.map();
    const mapcontrol::Rect view = map.viewBounds();
    const QPointF c = view.center();
    const double w = view.width() / 6, h = view.height() / 6;
    window.query_polygon = mapcontrol::Shape::polygon(
        {{c.x() - w, c.y() + h}, {c.x() + w, c.y() + h}, {c.x() + w, c.y() - h}, {c.x() - w, c.y() - h}});
    window.queryflag = 1;
    window.query_type = 0;
    map.redrawAll();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
