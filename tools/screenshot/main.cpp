// Writes a picture of a window on the demonstration data: two water-quality periods and the
// river miles ticked, and a graphical selection over the middle of the reach. The main window
// by default; "records" shows the records window scrolled to its last row and column, "query"
// the query window with a parameter picked.
// Usage: quillfen-screenshot OUTPUT.png [main|records|query]

#include "app/main_window.h"
#include "mapcontrol/map_control.h"
#include "query_builder/query_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include <cstdio>

namespace {

void selectMiddleOfReach(quillfen::MainWindow& window) {
    mapcontrol::MapControl& map = window.map();
    const mapcontrol::Rect view = map.viewBounds();
    const QPointF c = view.center();
    const double w = view.width() / 6, h = view.height() / 6;
    window.findChild<QPushButton*>("Command4")->click();
    window.selectInside(mapcontrol::Shape::polygon(
        {{c.x() - w, c.y() + h}, {c.x() + w, c.y() + h}, {c.x() + w, c.y() - h}, {c.x() - w, c.y() - h}}));
}

QWidget* recordsScrolledToTheEnd(quillfen::MainWindow& window) {
    QWidget* records = &window.recordsWindow();
    records->show();
    auto* grid = records->findChild<QTableView*>("MSFlexGrid1");
    grid->scrollToBottom();
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    return records;
}

QWidget* queryWithAParameter(quillfen::MainWindow& window) {
    auto* query = new quillfen::QueryWindow(window, &window);
    query->show();
    auto* parameters = query->findChild<QListWidget*>("List1");
    parameters->setCurrentRow(parameters->count() - 1);
    return query;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString which = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("main");
    if (argc < 2 || argc > 3 || !QStringList{"main", "records", "query"}.contains(which)) {
        std::fputs("usage: quillfen-screenshot OUTPUT.png [main|records|query]\n", stderr);
        return 2;
    }
    quillfen::MainWindow window;
    window.show();
    for (const char* box : {"Check30", "chkwater_0", "chkwater_4"})
        window.findChild<QCheckBox*>(box)->click();
    selectMiddleOfReach(window);
    QWidget* shown = &window;
    if (which == "records")
        shown = recordsScrolledToTheEnd(window);
    else if (which == "query")
        shown = queryWithAParameter(window);
    QApplication::processEvents();
    return shown->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
