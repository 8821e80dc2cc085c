#pragma once

#include <QDialog>

// The programme description window ("about2"): a read-only document on the monitoring programme,
// its sampling design and how each component samples. It has no button; its window frame closes it.
class AboutProgrammeWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutProgrammeWindow(QWidget* parent = nullptr);
};

// Opens a fresh description window modally over `parent` and returns when the user has closed it.
void showAboutProgrammeWindow(QWidget* parent);
