#include "mapcontrol/renderers.h"

#include <algorithm>

namespace mapcontrol {

void ValueRenderer::setValueCount(int count) {
    Symbol symbol;
    symbol.type = symbolType;
    classes_.resize(size_t(std::max(0, count)), Class{QString(), false, symbol});
}

void ValueRenderer::setValue(int index, const QString& value) {
    Class& c = classes_.at(size_t(index));
    c.value = value;
    c.hasValue = true;
}

const Symbol* ValueRenderer::symbolFor(const QString& text) const {
    for (const Class& c : classes_) {
        if (c.hasValue && c.value == text)
            return &c.symbol;
    }
    return nullptr;
}

} // namespace mapcontrol
