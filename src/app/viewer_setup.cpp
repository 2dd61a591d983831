// Turning the stored font and colours into the editor's look.
#include "app/viewer_setup.h"

#include "app/highlight_refresh.h"
#include "app/settings_catalogue.h"
#include "editor/ansi_colour_runs.h"
#include "editor/qt/text_editor.h"
#include "platform/qt_look.h"
#include "text/unicode_art.h"

namespace tavrel {

void applyViewerSettings(TextEditor& editor, const AppSettings& settings) {
    editor.setColor(toQColor(settings.backColor));
    editor.setEditorFont(toQFont(settings.editorFont));
    // The font's own height, without the extra leading a default line height would add.
    editor.setLineHeight(editor.unzoomedFontHeight());
    editor.setTextColor(toQColor(settings.editorFont.color));
    editor.setShowNonPrintChars(settings.spaces ? npSpace | npTab | npReturn : 0);
    editor.setWordWrap(settings.wordWrap);
    editor.setByteGlyphs(viewerByteGlyphs(settings));
    editor.setCopyGlyphs(settings.copyUnicode);
}

ByteGlyphs viewerByteGlyphs(const AppSettings& settings) {
    return encodingChoiceOf(settings.encoding) == EncodingChoice::Windows1252
               ? ByteGlyphs::Windows1252
               : ByteGlyphs::Cp437;
}

void applyViewerHighlighting(TextEditor& editor, UrlHighlighter& urls, const AppSettings& settings,
                             const std::string& keywordFile) {
    attachAddressHighlighter(editor.highlights(), urls, settings);
    refreshHighlighting(editor.highlights(), urls, settings, keywordFile);
}

void applyAnsiColours(TextEditor& editor, AnsiColourRuns* colours, const AppSettings& settings) {
    if (colours == nullptr) {
        editor.setHighlightSource(&editor.highlights());
        editor.setColor(toQColor(settings.backColor));
        editor.setTextColor(toQColor(settings.editorFont.color));
        return;
    }
    editor.setHighlightSource(colours);
    editor.setColor(runColor(ansiColourRef(kAnsiDefaultBackground)));
    editor.setTextColor(runColor(ansiColourRef(kAnsiDefaultForeground)));
}

} // namespace tavrel
