#pragma once

#include <QPainterPath>
#include <QString>

namespace quillfen::sample_data {

/// Upper-case letters, digits and a little punctuation as open strokes, the way a draughtsman's
/// lettering guide draws them. The path's letters are 1 unit tall with the baseline at y = 1
/// (y grows downwards, as on an image); stroke it with a pen. Other characters leave a gap.
/// Being plain geometry, the lettering looks the same on every machine, whatever fonts exist.
QPainterPath strokeLettering(const QString& text);

/// Width of the lettering of text, in letter heights.
double letteringWidth(const QString& text);

} // namespace quillfen::sample_data
