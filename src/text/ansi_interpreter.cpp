// The ANSI interpreter: a cursor and a graphic state walked over the bytes once. Sequences
// are parsed by the ECMA-48 byte classes, so an unknown or cut-off one is skipped whole and
// a byte that cannot belong to one ends it without being lost.
#include "text/ansi_interpreter.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tavrel {
namespace {

constexpr char kEscape = '\x1B';
constexpr char kEndOfFile = '\x1A';
constexpr int kParameterCeiling = 100000;  // far past any screen; keeps sums from overflowing
constexpr std::size_t kMaxParameters = 64; // more than any art writes; the rest are dropped

struct Sequence {
    std::array<int, kMaxParameters> parameters{};
    std::size_t count = 0;  // parameters given (an empty one counts, as 0)
    bool isPrivate = false; // parameter bytes other than digits and ';' (e.g. "?7h")
    bool hasIntermediate = false;
    char final = 0;

    // The parameter at `index`, with `fallback` for one missing or given as 0.
    [[nodiscard]] int at(std::size_t index, int fallback) const {
        return index < count && parameters[index] > 0 ? parameters[index] : fallback;
    }
};

class Interpreter {
public:
    explicit Interpreter(const AnsiOptions& options)
        : screen_(std::clamp(options.width, 1, kAnsiMaxWidth),
                  options.maxCells / std::size_t(std::clamp(options.width, 1, kAnsiMaxWidth))),
          ice_(options.iceColours) {}

    AnsiScreen run(std::string_view text) {
        std::size_t at = 0;
        while (at < text.size()) {
            const char byte = text[at];
            if (byte == kEndOfFile) {
                break;
            }
            // The cursor may stand one column past the right edge (after the last column
            // is written, or a move right); whatever byte comes next starts the next row
            // first, as the PC's screen wraps. So a full-width line that still ends in
            // CR LF leaves an empty row, as art renderers show it.
            if (column_ > lastColumn()) {
                newLine();
            }
            if (byte == kEscape) {
                at = escape(text, at + 1);
                continue;
            }
            character(static_cast<std::uint8_t>(byte));
            ++at;
        }
        return std::move(screen_);
    }

private:
    [[nodiscard]] int lastColumn() const { return screen_.width() - 1; }
    [[nodiscard]] std::size_t lastRow() const { return screen_.maxRows() - 1; }

    void character(std::uint8_t byte) {
        switch (byte) {
        case '\n':
            newLine();
            return;
        case '\r':
            return;
        case '\t':
            column_ = std::min((column_ / 8 + 1) * 8, lastColumn());
            return;
        default:
            break;
        }
        screen_.put(row_, column_, cellFor(byte));
        ++column_;
    }

    void newLine() {
        column_ = 0;
        // One row past the bound is where the cursor rests once the art outgrew the screen;
        // everything written there is dropped.
        row_ = std::min(row_ + 1, screen_.maxRows());
    }

    [[nodiscard]] AnsiCell cellFor(std::uint8_t byte) const {
        auto foreground = static_cast<std::uint8_t>(foreground_ | (bold_ ? 8 : 0));
        auto background = static_cast<std::uint8_t>(background_ | (blink_ && ice_ ? 8 : 0));
        if (inverse_) {
            // The colours change places; brightness stays with the foreground for bold and
            // with the background for blink, as the PC's attribute byte keeps them.
            foreground = static_cast<std::uint8_t>(background_ | (bold_ ? 8 : 0));
            background = static_cast<std::uint8_t>(foreground_ | (blink_ && ice_ ? 8 : 0));
        }
        return {byte, foreground, background};
    }

    // Reads the sequence after an ESC at `at` and carries it out; returns where text goes on.
    std::size_t escape(std::string_view text, std::size_t at) {
        if (at >= text.size() || text[at] != '[') {
            // Only CSI sequences are art's; a lone ESC is dropped and what follows is text.
            return at;
        }
        ++at;
        Sequence sequence;
        bool inNumber = false;
        while (at < text.size()) {
            const auto byte = static_cast<std::uint8_t>(text[at]);
            if (byte >= 0x30 && byte <= 0x3F && !sequence.hasIntermediate) {
                parameterByte(sequence, byte, inNumber);
            } else if (byte >= 0x20 && byte <= 0x2F) {
                sequence.hasIntermediate = true;
            } else if (byte >= 0x40 && byte <= 0x7E) {
                sequence.final = static_cast<char>(byte);
                perform(sequence);
                return at + 1;
            } else {
                // Not part of any sequence: the sequence was cut short, and this byte is
                // text again.
                return at;
            }
            ++at;
        }
        return at;
    }

    static void parameterByte(Sequence& sequence, std::uint8_t byte, bool& inNumber) {
        if (byte >= '0' && byte <= '9') {
            if (!inNumber) {
                inNumber = true;
                if (sequence.count < kMaxParameters) {
                    sequence.parameters[sequence.count] = 0;
                }
                ++sequence.count;
            }
            if (sequence.count <= kMaxParameters) {
                int& value = sequence.parameters[sequence.count - 1];
                value = std::min(value * 10 + (byte - '0'), kParameterCeiling);
            }
        } else if (byte == ';') {
            if (!inNumber) {
                ++sequence.count; // an empty parameter, read as its default
            }
            inNumber = false;
        } else {
            sequence.isPrivate = true;
        }
    }

    void perform(const Sequence& s) {
        if (s.isPrivate || s.hasIntermediate) {
            return; // a terminal's mode or a private extension: nothing art's screen shows
        }
        const std::size_t bottom = lastRow();
        switch (s.final) {
        case 'm':
            graphics(s);
            break;
        case 'A':
            row_ -= std::min<std::size_t>(row_, std::size_t(s.at(0, 1)));
            break;
        case 'B':
            row_ = std::min(row_ + std::size_t(s.at(0, 1)), bottom);
            break;
        case 'C':
            // One column past the edge, not onto the last one: the next byte then starts
            // the next row, as art archives' renderers draw it.
            column_ = std::min(column_ + s.at(0, 1), screen_.width());
            break;
        case 'D':
            column_ = std::max(column_ - s.at(0, 1), 0);
            break;
        case 'H':
        case 'f':
            row_ = std::min(std::size_t(s.at(0, 1) - 1), bottom);
            column_ = std::min(s.at(1, 1) - 1, lastColumn());
            break;
        case 's':
            savedRow_ = row_;
            savedColumn_ = column_;
            break;
        case 'u':
            row_ = savedRow_;
            column_ = savedColumn_;
            break;
        case 'J':
            eraseScreen(s.count > 0 ? s.parameters[0] : 0);
            break;
        case 'K':
            eraseLine(s.count > 0 ? s.parameters[0] : 0);
            break;
        default:
            break; // unknown: skipped whole, never shown
        }
    }

    void graphics(const Sequence& s) {
        if (s.count == 0) {
            reset();
            return;
        }
        for (std::size_t i = 0; i < std::min(s.count, kMaxParameters); ++i) {
            const int code = s.parameters[i];
            if (code == 0) {
                reset();
            } else if (code == 1) {
                bold_ = true;
            } else if (code == 5) {
                blink_ = true;
            } else if (code == 7) {
                inverse_ = true;
            } else if (code == 22) {
                bold_ = false;
            } else if (code == 25) {
                blink_ = false;
            } else if (code == 27) {
                inverse_ = false;
            } else if (code >= 30 && code <= 37) {
                foreground_ = static_cast<std::uint8_t>(code - 30);
            } else if (code == 39) {
                foreground_ = kAnsiDefaultForeground;
            } else if (code >= 40 && code <= 47) {
                background_ = static_cast<std::uint8_t>(code - 40);
            } else if (code == 49) {
                background_ = kAnsiDefaultBackground;
            }
        }
    }

    void reset() {
        foreground_ = kAnsiDefaultForeground;
        background_ = kAnsiDefaultBackground;
        bold_ = blink_ = inverse_ = false;
    }

    void eraseScreen(int mode) {
        if (mode == 2) {
            // DOS clears the whole screen and puts the cursor home.
            screen_.clear();
            row_ = 0;
            column_ = 0;
        } else if (mode == 1) {
            screen_.blankUpTo(row_, column_);
        } else if (mode == 0) {
            screen_.blankFrom(row_, column_);
        }
    }

    void eraseLine(int mode) {
        if (mode == 0) {
            screen_.blank(row_, column_, screen_.width());
        } else if (mode == 1) {
            screen_.blank(row_, 0, column_ + 1);
        } else if (mode == 2) {
            screen_.blank(row_, 0, screen_.width());
        }
    }

    AnsiScreen screen_;
    bool ice_;
    std::size_t row_ = 0;
    int column_ = 0;
    std::size_t savedRow_ = 0;
    int savedColumn_ = 0;
    std::uint8_t foreground_ = kAnsiDefaultForeground;
    std::uint8_t background_ = kAnsiDefaultBackground;
    bool bold_ = false;
    bool blink_ = false;
    bool inverse_ = false;
};

} // namespace

AnsiScreen interpretAnsi(std::string_view text, const AnsiOptions& options) {
    return Interpreter(options).run(text);
}

} // namespace tavrel
