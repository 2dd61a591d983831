// The colour and font choices of the Options menu behind one interface, so that tests answer
// them instead of a person. QtOptionDialogs uses Qt's colour dialog and Qt's font dialog with
// a colour choice added, which Qt's own lacks.
#pragma once

#include "settings/color.h"
#include "settings/font_text.h"

#include <QString>

#include <optional>

class QWidget;

namespace tavrel {

class OptionDialogs {
public:
    virtual ~OptionDialogs() = default;
    // The chosen colour, or nothing for Cancel.
    [[nodiscard]] virtual std::optional<Color> chooseColor(QWidget* parent, Color initial) = 0;
    // The chosen font with its effects (underline, strike-out) and colour, or nothing.
    [[nodiscard]] virtual std::optional<FontSpec> chooseFont(QWidget* parent,
                                                             const FontSpec& initial) = 0;
};

class QtOptionDialogs final : public OptionDialogs {
public:
    [[nodiscard]] std::optional<Color> chooseColor(QWidget* parent, Color initial) override;
    [[nodiscard]] std::optional<FontSpec> chooseFont(QWidget* parent,
                                                     const FontSpec& initial) override;
};

} // namespace tavrel
