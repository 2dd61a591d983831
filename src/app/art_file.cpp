// Parting a file into its text, its SAUCE record and, for ANSI art, its drawn screen.
#include "app/art_file.h"

#include "text/ansi_art.h"

#include <utility>

namespace tavrel {

bool drawsAnsiArt(EncodingChoice choice) noexcept {
    return choice == EncodingChoice::Automatic || choice == EncodingChoice::Cp437;
}

ArtFile separateArt(std::string_view fileName, std::string& bytes, EncodingChoice choice) {
    ArtFile art;
    art.ansiArt = bytes.size() <= kAnsiArtMaxBytes && isAnsiArt(fileName, bytes);
    if (art.ansiArt && drawsAnsiArt(choice)) {
        AnsiArt drawn = renderAnsiArt(bytes);
        art.sauce = std::move(drawn.sauce);
        if (art.sauce) {
            art.trailer = bytes.substr(readSauce(bytes).textLength);
        }
        bytes = ansiScreenText(drawn.screen);
        art.screen = std::make_shared<const AnsiScreen>(std::move(drawn.screen));
        return art;
    }
    SauceSplit split = readSauce(bytes);
    if (split.record) {
        art.sauce = std::move(split.record);
        art.trailer = bytes.substr(split.textLength);
        bytes.resize(split.textLength);
    }
    return art;
}

std::string ansiScreenText(const AnsiScreen& screen) {
    std::string text;
    text.reserve(screen.rows() * (static_cast<std::size_t>(screen.width()) + 2));
    for (std::size_t row = 0; row < screen.rows(); ++row) {
        int end = screen.width();
        while (end > 0) {
            const AnsiCell& cell = screen.at(row, end - 1);
            if ((cell.byte != ' ' && cell.byte != '\0') ||
                cell.background != kAnsiDefaultBackground) {
                break;
            }
            --end;
        }
        if (row > 0) {
            text += "\r\n";
        }
        for (int column = 0; column < end; ++column) {
            text += static_cast<char>(screen.at(row, column).byte);
        }
    }
    return text;
}

} // namespace tavrel
