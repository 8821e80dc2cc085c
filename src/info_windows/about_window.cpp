#include "info_windows/about_window.h"

#include "info_windows/about_programme_window.h"
#include "info_windows/contact.h"
#include "info_windows/logo.h"
#include "window_parts/focus_visible.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QSize kLogoSize(120, 46);

QLabel* makeLabel(const QString& objectName, const QString& text, Qt::Alignment alignment, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setAlignment(alignment);
    return label;
}

void setBold(QLabel* label, int pointSize) {
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    label->setFont(font);
}

QPushButton* makeButton(const QString& objectName, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("about"));
    quillfen::showFocusFromStart(this);
    setWindowTitle(QString());

    auto* butAboutTavrel = makeButton(QStringLiteral("butAboutTavrel"), tr("More..."), this);
    auto* butClose = makeButton(QStringLiteral("butClose"), tr("Close"), this);
    connect(butAboutTavrel, &QPushButton::clicked, this, &AboutWindow::butAboutTavrel_Click);
    connect(butClose, &QPushButton::clicked, this, &AboutWindow::butClose_Click);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(butAboutTavrel);
    buttons->addWidget(butClose);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildFrame(), 1);
    layout->addLayout(buttons);
}

void AboutWindow::showEvent(QShowEvent* event) {
    // The window system shows the program's name in place of an empty title; a blank title
    // shows nothing. The window's own title stays empty.
    if (windowHandle())
        windowHandle()->setTitle(QStringLiteral(" "));
    QDialog::showEvent(event);
}

QFrame* AboutWindow::buildFrame() {
    frame_ = new QFrame(this);
    frame_->setObjectName(QStringLiteral("Frame1"));
    frame_->setFrameShape(QFrame::Box);
    frame_->setFrameShadow(QFrame::Sunken);
    frame_->installEventFilter(this);

    auto* logo = makeLabel(QStringLiteral("imgLogo"), QString(), Qt::AlignLeft | Qt::AlignTop, frame_);
    logo->setPixmap(quillfenLogo(kLogoSize, logo->devicePixelRatioF()));

    auto* agency = makeLabel(QStringLiteral("lblAgency"), QStringLiteral("Olmsgard"),
                             Qt::AlignRight | Qt::AlignTop, frame_);
    setBold(agency, 13);
    agency->setStyleSheet(QStringLiteral("color: #0000c0;"));

    auto* programme =
        makeLabel(QStringLiteral("lblProgramme"), QStringLiteral("Tavrel"), Qt::AlignCenter, frame_);
    setBold(programme, 12);
    auto* product =
        makeLabel(QStringLiteral("lblCompanyProduct"), QStringLiteral("Quillfen"), Qt::AlignCenter, frame_);
    setBold(product, 16);
    auto* version = makeLabel(QStringLiteral("lblVersion"), QStringLiteral("Version 3.2 11/2003"),
                              Qt::AlignCenter, frame_);
    auto* warning =
        makeLabel(QStringLiteral("lblWarning"), QStringLiteral("Questions/Comments:"), Qt::AlignLeft, frame_);
    auto* contact =
        makeLabel(QStringLiteral("lblContact"), QString::fromUtf8(kContactLine), Qt::AlignLeft, frame_);

    auto* grid = new QGridLayout(frame_);
    grid->addWidget(logo, 0, 0);
    grid->addWidget(agency, 0, 1);
    grid->addWidget(programme, 1, 0, 1, 2);
    grid->addWidget(product, 2, 0, 1, 2);
    grid->addWidget(version, 3, 0, 1, 2);
    grid->setRowMinimumHeight(4, 12);
    grid->addWidget(warning, 5, 0, 1, 2);
    grid->addWidget(contact, 6, 0, 1, 2);
    return frame_;
}

// Any key that reaches the window closes it; Space on a focused button still presses that button.
void AboutWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
    close();
}

// A click on the frame, or on one of the texts inside it, closes the window.
bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_ && event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutWindow::butAboutTavrel_Click() {
    showAboutProgrammeWindow(this);
}

void AboutWindow::butClose_Click() {
    close();
}

void showAboutWindow(QWidget* parent) {
    auto* window = new AboutWindow(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->exec();
}
