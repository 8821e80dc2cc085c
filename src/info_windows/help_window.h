#pragma once

#include <QDialog>

// The help window ("help"): the user's guide to the viewer's tools and a "Close" button. It does not
// block the window that opened it, so the user can read it while working on the map.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
};

// Shows the help window beside `parent` without blocking it. While a help window is open, a further
// call brings that same window to the front instead of opening another.
void showHelpWindow(QWidget* parent);
