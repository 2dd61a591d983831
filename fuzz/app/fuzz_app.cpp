// Arbitrary bytes through the main window's toolkit-free parsers, with the properties the
// program relies on: the one-pass line-end repair equals the two literal replacement passes
// and the LF rule; loading settings from any INI text and saving them gives a file that
// loads back to the same values; a margin's text survives a trip through its number; the
// first piece of a file cut anywhere holds only the first paragraphs of the whole load, and a
// thumbnail's head of it decodes to the start of the whole; a file parted into its text, its
// SAUCE record and its drawn ANSI screen loses no byte and gives a row per paragraph.
#include "../../tests/app/line_ends_reference.h"
#include "app/art_file.h"
#include "app/command_line.h"
#include "app/first_piece.h"
#include "app/first_screen.h"
#include "app/line_ends.h"
#include "app/pdf_export_arguments.h"
#include "app/png_export_arguments.h"
#include "app/settings_catalogue.h"
#include "app/thumbnail_arguments.h"
#include "editor/document.h"
#include "text/unicode_art.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void fuzzRepair(std::string_view bytes) {
    std::string text(bytes);
    const std::string literal = tavrel::test::literalLineEndRepair(text);
    tavrel::repairLineEnds(text);
    require(text == literal);
}

void fuzzSettings(std::string_view bytes) {
    const auto ignore = [](const std::string&, std::string_view) { return tavrel::WriteStatus{}; };
    const tavrel::ConfigSaver store("fuzz.ini", bytes, ignore);
    const auto anyFile = [](const std::string&) { return true; };
    tavrel::AppSettings first;
    tavrel::RecentFiles firstRecent(anyFile);
    tavrel::loadSettings(store, first, firstRecent, ',');
    require(firstRecent.items().size() <= tavrel::RecentFiles::kMaxItems);
    // What the viewer set-up and the print set-up hand the font engine: never a size it
    // cannot draw.
    for (const tavrel::FontSpec* font : {&first.editorFont, &first.printFont}) {
        require(font->points >= tavrel::kSmallestFontPoints &&
                font->points <= tavrel::kLargestFontPoints);
    }

    std::string written;
    tavrel::ConfigSaver out("fuzz.ini", "", [&](const std::string&, std::string_view text) {
        written = text;
        return tavrel::WriteStatus{};
    });
    tavrel::saveSettings(out, first, firstRecent, ',', {});
    require(out.flush().ok());

    const tavrel::ConfigSaver again("fuzz.ini", written, ignore);
    tavrel::AppSettings second;
    tavrel::RecentFiles secondRecent(anyFile);
    tavrel::loadSettings(again, second, secondRecent, ',');
    require(second.language == first.language ||
            first.language.find_first_of("\r\n") != std::string::npos);
    require(second.editorFont == first.editorFont);
    require(second.backColor == first.backColor);
    require(second.wordWrap == first.wordWrap);
    // Margins are kept with 15 significant digits, so their texts must agree.
    require(tavrel::formatMargin(second.marginLeft, ',') ==
            tavrel::formatMargin(first.marginLeft, ','));
    require(tavrel::formatMargin(second.marginBottom, ',') ==
            tavrel::formatMargin(first.marginBottom, ','));
}

void fuzzMarginAndCommandLine(std::string_view bytes) {
    if (const auto margin = tavrel::parseMargin(bytes)) {
        // Fifteen significant digits survive a trip through a double.
        const std::string text = tavrel::formatMargin(*margin, ',');
        const auto back = tavrel::parseMargin(text);
        require(back.has_value() && tavrel::formatMargin(*back, ',') == text);
    }
    std::vector<std::string> arguments;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\0') {
            arguments.emplace_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    const tavrel::CommandLine line = tavrel::parseCommandLine(arguments);
    require(line.action != tavrel::CommandAction::Error || !line.error.empty());
    // Printing to PDF: an accepted request is complete and its columns in range.
    const tavrel::PdfExportArguments pdf = tavrel::parsePdfExportArguments(arguments);
    if (pdf.kind == tavrel::ExportParse::Export) {
        require(!pdf.request.files.empty());
        require(pdf.request.output.empty() != pdf.request.outputDir.empty());
        require(pdf.request.columns >= 1 && pdf.request.columns <= tavrel::kMaxPrintColumns);
    } else if (pdf.kind == tavrel::ExportParse::Error) {
        require(!pdf.error.empty());
    }
    // PNG images: an accepted request is complete and its scale in range.
    const tavrel::PngExportArguments png = tavrel::parsePngExportArguments(arguments);
    if (png.kind == tavrel::ExportParse::Export) {
        require(!png.request.files.empty());
        require(png.request.output.empty() != png.request.outputDir.empty());
        require(png.request.scale >= tavrel::kMinPngScale &&
                png.request.scale <= tavrel::kMaxPngScale);
    } else if (png.kind == tavrel::ExportParse::Error) {
        require(!png.error.empty());
    }
    // Thumbnails: one input, one output, a size in range.
    const tavrel::ThumbnailArguments thumbnail = tavrel::parseThumbnailArguments(arguments);
    if (thumbnail.kind == tavrel::ExportParse::Export) {
        require(thumbnail.request.files.size() == 1 && thumbnail.request.outputDir.empty());
        require(thumbnail.request.size >= tavrel::kMinThumbnailSize &&
                thumbnail.request.size <= tavrel::kMaxThumbnailSize);
    } else if (thumbnail.kind == tavrel::ExportParse::Error) {
        require(!thumbnail.error.empty());
    }
}

// A file parted into text, record and drawn screen: a file not drawn is its text and the
// kept-aside bytes end to end; a drawn one's text has one paragraph per row of its screen,
// none wider than the screen.
void fuzzArtFile(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    const bool named = (bytes[0] & 1) != 0;
    const tavrel::EncodingChoice choice =
        (bytes[0] & 2) != 0 ? tavrel::EncodingChoice::PlainText : tavrel::EncodingChoice::Automatic;
    std::string text(bytes.substr(1));
    const std::string file = text;
    const tavrel::ArtFile art = tavrel::separateArt(named ? "x.ans" : "x.nfo", text, choice);
    if (!art.isAnsi()) {
        require(text + art.trailer == file);
        return;
    }
    tavrel::Document document;
    document.load(std::string(text), false);
    const auto rows = static_cast<tavrel::Pos>(std::max<std::size_t>(art.screen->rows(), 1));
    require(document.paragraphCount() == rows);
    for (tavrel::Pos p = 0; p < document.paragraphCount(); ++p) {
        require(document.paragraphLength(p) <= art.screen->width());
    }
}

// The first two bytes choose the rules and where the first read ends; the rest is the file.
void fuzzFirstPiece(std::string_view bytes) {
    if (bytes.size() < 2) {
        return;
    }
    const auto rulesByte = static_cast<std::uint8_t>(bytes[0]);
    const tavrel::FileLoadRules rules{(rulesByte & 1) != 0, (rulesByte & 2) != 0,
                                      tavrel::encodingChoiceOf((rulesByte >> 2) % 5)};
    const std::string_view file = bytes.substr(2);
    const std::size_t cut =
        file.empty() ? 0 : static_cast<std::uint8_t>(bytes[1]) * file.size() / 255;
    // A thumbnail's head of the file, cut after its last whole line: a prefix of the file
    // whose decoding is the start of the whole file's.
    std::string head(file.substr(0, cut));
    tavrel::cutAtLastLine(head, rules.encoding);
    require(file.substr(0, head.size()) == head);
    const tavrel::DecodedText wholeText = tavrel::decodeAsChosen(std::string(file), rules.encoding);
    if (wholeText.form.encoding != tavrel::TextEncoding::Bytes) {
        const std::string headText = tavrel::decodeAsChosen(head, rules.encoding).bytes;
        require(wholeText.bytes.compare(0, headText.size(), headText) == 0);
    }

    const auto text = tavrel::firstPieceText(file.substr(0, cut), rules);
    if (!text) {
        return;
    }
    // The whole file as the window's load takes it: decoded, then repaired.
    std::string whole = tavrel::decodeAsChosen(std::string(file), rules.encoding).bytes;
    const bool discard = !rules.convert && rules.discardTrailing;
    if (rules.convert) {
        tavrel::repairLineEnds(whole);
    }
    tavrel::Document all;
    all.load(std::move(whole), discard);
    tavrel::Document piece;
    piece.load(std::string(*text), discard);
    require(piece.paragraphCount() <= all.paragraphCount());
    for (tavrel::Pos p = 0; p < piece.paragraphCount(); ++p) {
        require(piece.paragraph(p) == all.paragraph(p));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 5) {
    case 0:
        fuzzRepair(bytes);
        break;
    case 1:
        fuzzSettings(bytes);
        break;
    case 3:
        fuzzFirstPiece(bytes);
        break;
    case 4:
        fuzzArtFile(bytes);
        break;
    default:
        fuzzMarginAndCommandLine(bytes);
        break;
    }
    return 0;
}
