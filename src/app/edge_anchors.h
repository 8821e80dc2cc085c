#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QVector>

class QWidget;

namespace quillfen {

/// Keeps the children of one container at their designed distances to the edges named for
/// each as the container changes size: a child anchored left and right grows with the width,
/// one anchored right alone moves with the right edge, and likewise top and bottom. At the
/// designed size every child stands at its designed geometry.
class EdgeAnchors : public QObject {
public:
    enum Edge { Left = 1, Top = 2, Right = 4, Bottom = 8 };

    /// Follows the resizes of `container` (which owns the anchors), designed at `designedSize`.
    EdgeAnchors(QWidget* container, QSize designedSize);

    /// Anchors `child`, standing at its designed geometry now, to `edges` (Edge flags).
    void anchor(QWidget* child, int edges);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Anchored {
        QPointer<QWidget> child;
        QRect designed;
        int edges;
    };
    void place(const Anchored& anchored) const;

    QWidget* container_;
    QSize designedSize_;
    QVector<Anchored> anchored_;
};

} // namespace quillfen
