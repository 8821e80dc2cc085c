#pragma once

// Information windows (folder info_windows): about, programme description, help and the logo.
// Uses only Qt.

#include <QDialog>

class QFrame;

// The about window ("about"): the logo, the programme's names, the version and whom to contact.
// It closes on "Close", on a click anywhere on its frame and on any key press that reaches it;
// "More..." opens the programme description over it.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* buildFrame();
    void butAboutTavrel_Click();
    void butClose_Click();

    QFrame* frame_ = nullptr;
};

// Opens a fresh about window over `parent` and returns when the user has closed it.
void showAboutWindow(QWidget* parent);
