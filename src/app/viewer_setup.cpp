// Turning the stored font and colours into the editor's look and a file into its text.
#include "app/viewer_setup.h"

#include "app/highlight_refresh.h"
#include "app/line_ends.h"
#include "app/settings_catalogue.h"
#include "editor/ansi_colour_runs.h"
#include "editor/qt/text_editor.h"
#include "platform/qt_look.h"
#include "text/unicode_art.h"

#include <utility>

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

void loadIntoViewer(TextEngine& engine, std::string bytes, const AppSettings& settings,
                    ViewerLoad how, UnicodeForm* form) {
    DecodedText decoded = decodeAsChosen(std::move(bytes), encodingChoiceOf(settings.encoding));
    bytes = std::move(decoded.bytes);
    if (form != nullptr) {
        *form = decoded.form;
    }
    if (!settings.convert) {
        engine.loadBytes(std::move(bytes));
        return;
    }
    repairLineEnds(bytes);
    if (how == ViewerLoad::Replace) {
        // Adopted by the document: a 100 MB file is not copied on its way in.
        engine.paragraphs().setText(std::move(bytes));
    } else {
        engine.loadBytes(std::move(bytes));
    }
}

} // namespace tavrel
