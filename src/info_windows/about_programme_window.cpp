#include "info_windows/about_programme_window.h"

#include "info_windows/info_document.h"
#include "window_parts/focus_visible.h"

#include <QTextBrowser>
#include <QVBoxLayout>

AboutProgrammeWindow::AboutProgrammeWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("about2"));
    quillfen::showFocusFromStart(this);
    setWindowTitle(tr("About Tavrel and Component Sampling"));
    resize(600, 520);

    auto* document = new QTextBrowser(this);
    document->setObjectName(QStringLiteral("RichTextBox1"));
    document->setOpenLinks(false);
    document->setHtml(infoDocument(QStringLiteral(":/info_windows/about_programme.html")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(document);
}

void showAboutProgrammeWindow(QWidget* parent) {
    auto* window = new AboutProgrammeWindow(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->exec();
}
