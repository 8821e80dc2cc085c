#pragma once

#include <QPushButton>

namespace quillfen {

/// A push button whose caption wraps onto several lines when the button is narrow, as the
/// main window's command buttons need; text() stays the caption as given.
class CaptionButton : public QPushButton {
public:
    CaptionButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quillfen
