#include "window_parts/caption_button.h"

#include <QFontMetrics>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace quillfen {

CaptionButton::CaptionButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setAutoDefault(false);
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect textArea = rect().adjusted(2, 2, -2, -2);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    // A word longer than the button is narrow enough after a slightly smaller font.
    QFont captionFont = font();
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    while (captionFont.pointSizeF() > 6) {
        const QRect needed = QFontMetrics(captionFont).boundingRect(textArea, flags, text());
        if (needed.width() <= textArea.width() && needed.height() <= textArea.height())
            break;
        captionFont.setPointSizeF(captionFont.pointSizeF() - 0.5);
    }
    painter.setFont(captionFont);
    painter.drawText(textArea, flags, text());
}

} // namespace quillfen
