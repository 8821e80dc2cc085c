#include "app/edge_anchors.h"

#include <QEvent>
#include <QWidget>

namespace quillfen {

EdgeAnchors::EdgeAnchors(QWidget* container, QSize designedSize)
    : QObject(container), container_(container), designedSize_(designedSize) {
    container->installEventFilter(this);
}

void EdgeAnchors::anchor(QWidget* child, int edges) {
    anchored_.append({child, child->geometry(), edges});
    place(anchored_.constLast());
}

bool EdgeAnchors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == container_ && event->type() == QEvent::Resize) {
        for (const Anchored& anchored : anchored_)
            place(anchored);
    }
    return QObject::eventFilter(watched, event);
}

void EdgeAnchors::place(const Anchored& anchored) const {
    if (!anchored.child)
        return;
    const int dx = container_->width() - designedSize_.width();
    const int dy = container_->height() - designedSize_.height();
    QRect geometry = anchored.designed;
    // Anchored to the far edge alone the child moves with it; to both edges it stretches.
    if (anchored.edges & Right) {
        if (anchored.edges & Left)
            geometry.setRight(geometry.right() + dx);
        else
            geometry.translate(dx, 0);
    }
    if (anchored.edges & Bottom) {
        if (anchored.edges & Top)
            geometry.setBottom(geometry.bottom() + dy);
        else
            geometry.translate(0, dy);
    }
    anchored.child->setGeometry(geometry);
}

} // namespace quillfen
