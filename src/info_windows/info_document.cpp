#include "info_windows/info_document.h"

#include "info_windows/contact.h"

#include <QFile>

// The documents live in a static library, whose resource object the linker would leave out unless
// something names it; registering them here pulls it in.
static void registerDocuments() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(info_windows);
        return true;
    }();
    Q_UNUSED(registered);
}

QString infoDocument(const QString& resourcePath) {
    registerDocuments();
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString html = QString::fromUtf8(file.readAll());
    return html.replace(QStringLiteral("{{contact}}"), QString::fromUtf8(kContactLine).toHtmlEscaped());
}
