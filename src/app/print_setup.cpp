// Settings to print choices.
#include "app/print_setup.h"

#include "app/settings_catalogue.h"
#include "platform/qt_look.h"
#include "settings/color.h"

namespace tavrel {

PrintSettings printSettingsFrom(const AppSettings& settings, const PrintChoices& choices) {
    PrintSettings print;
    print.columns = choices.columns;
    print.lineNumbers = choices.lineNumbers;
    print.marginLeft = settings.marginLeft;
    print.marginRight = settings.marginRight;
    print.marginTop = settings.marginTop;
    print.marginBottom = settings.marginBottom;
    return print;
}

QFont printFontFrom(const AppSettings& settings) {
    return toQFont(settings.printFont);
}

QColor printColorFrom(const AppSettings& settings) {
    const Color color = settings.printFont.color;
    if (isSystemColor(color)) {
        return Qt::black;
    }
    return toQColor(color);
}

} // namespace tavrel
