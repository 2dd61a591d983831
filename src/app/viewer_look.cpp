// Turning the stored font and colours into Qt's and handing them and a file to an editor.
#include "app/viewer_look.h"

#include "app/line_ends.h"
#include "app/settings_catalogue.h"
#include "editor/qt/text_editor.h"
#include "platform/qt_look.h"

#include <utility>

namespace tavrel {

void applyViewerLook(TextEditor& editor, const AppSettings& settings) {
    editor.setColor(toQColor(settings.backColor));
    editor.setEditorFont(toQFont(settings.editorFont));
    editor.setTextColor(toQColor(settings.editorFont.color));
    editor.setShowNonPrintChars(settings.spaces ? npSpace | npTab | npReturn : 0);
}

std::int64_t loadAsTheViewerDoes(TextEditor& editor, std::string bytes,
                                 const AppSettings& settings) {
    if (settings.convert) {
        const std::int64_t nul = cutAtNul(bytes);
        repairLineEnds(bytes);
        editor.engine().loadBytes(std::move(bytes));
        return nul;
    }
    return editor.engine().loadBytes(std::move(bytes)).nulOffset;
}

} // namespace tavrel
