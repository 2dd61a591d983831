// Keyword file lines and the refresh in its four steps.
#include "app/highlight_refresh.h"

#include "app/document_file.h"
#include "app/settings_catalogue.h"
#include "editor/editor_highlights.h"

namespace tavrel {

std::vector<std::string> keywordFileLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::string keywordFileText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void attachAddressHighlighter(EditorHighlights& editor, UrlHighlighter& urls,
                              const AppSettings& settings) {
    editor.setAddressHighlighter(settings.launch ? &urls : nullptr);
}

void refreshHighlighting(EditorHighlights& editor, UrlHighlighter& urls,
                         const AppSettings& settings, const std::string& keywordFile) {
    KeywordList& keywords = editor.keywords();
    keywords.beginUpdate();
    keywords.clear();
    if (settings.highLight) {
        // A file that cannot be read means no keywords, as a missing one does.
        if (const std::optional<std::string> bytes = readWholeFile(keywordFile)) {
            for (const std::string& line : keywordFileLines(*bytes)) {
                keywords.addKeyword(line, koWholeWords, settings.highlightColor,
                                    settings.highlightBackground, 0, 1, 0);
            }
        }
    }
    keywords.endUpdate();
    editor.reapplyKeywords();
    for (const UrlType type : {UrlType::Web, UrlType::Email, UrlType::File, UrlType::Other}) {
        HighlightInfo info = urls.style(type);
        info.foreground = settings.highlightColor;
        info.background = settings.highlightBackground;
        urls.setStyle(type, info);
    }
}

} // namespace tavrel
