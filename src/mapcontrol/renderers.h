#pragma once

#include "mapcontrol/map_types.h"

#include <QFont>
#include <QString>

#include <vector>

namespace mapcontrol {

/// Base of the renderers a vector layer can carry instead of its single symbol.
class Renderer {
public:
    virtual ~Renderer() = default;
};

/// Colours features whose `field` text (see fieldText()) equals a class value with that
/// class's symbol. Features matching no class, and classes never given a value, fall back to
/// the layer's own symbol: such features are drawn exactly as without the renderer.
class ValueRenderer : public Renderer {
public:
    QString field;
    SymbolType symbolType = SymbolType::Fill;

    int valueCount() const { return int(classes_.size()); }
    /// Sets the number of classes; new classes have no value and a default symbol of
    /// `symbolType`.
    void setValueCount(int count);
    QString value(int index) const { return classes_.at(size_t(index)).value; }
    void setValue(int index, const QString& value);
    Symbol& symbol(int index) { return classes_.at(size_t(index)).symbol; }
    const Symbol& symbol(int index) const { return classes_.at(size_t(index)).symbol; }
    /// The class symbol for a field text, or nullptr when no class has that value.
    const Symbol* symbolFor(const QString& text) const;

private:
    struct Class {
        QString value;
        bool hasValue = false;
        Symbol symbol;
    };
    std::vector<Class> classes_;
};

/// Draws each feature with the layer's own symbol and writes the text of `field` beside it:
/// left-aligned just right of a point's marker (at the centre of a line or polygon),
/// vertically centred, dark text with a thin white halo so that it reads over any map.
class TextRenderer : public Renderer {
public:
    QString field;
    QFont font;
};

} // namespace mapcontrol
