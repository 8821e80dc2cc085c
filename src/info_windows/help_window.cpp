#include "info_windows/help_window.h"

#include "info_windows/info_document.h"
#include "window_parts/focus_visible.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("help"));
    quillfen::showFocusFromStart(this);
    setWindowTitle(tr("Help"));
    setModal(false);
    resize(560, 600);

    auto* document = new QTextBrowser(this);
    document->setObjectName(QStringLiteral("RichTextBox1"));
    document->setOpenLinks(false);
    document->setHtml(infoDocument(QStringLiteral(":/info_windows/help.html")));

    auto* butClose = new QPushButton(tr("Close"), this);
    butClose->setObjectName(QStringLiteral("butClose"));
    butClose->setAutoDefault(false);
    connect(butClose, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(butClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(document, 1);
    layout->addLayout(buttons);
}

void showHelpWindow(QWidget* parent) {
    // The one open help window; cleared by Qt when the window is discarded on close.
    static QPointer<HelpWindow> openWindow;
    if (!openWindow) {
        openWindow = new HelpWindow(parent);
        openWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    openWindow->setWindowState(openWindow->windowState() & ~Qt::WindowMinimized);
    openWindow->show();
    openWindow->raise();
    openWindow->activateWindow();
}
