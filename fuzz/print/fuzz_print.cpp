// The print layout over any text (form feeds, long lines, NUL bytes), any margins and line
// pitch the settings file can hold, 1 to 10 columns and odd printers (tiny or huge paper,
// zero resolution). Every display line must land on exactly one slot, in order, forced
// breaks must start a column, and the page count must hold every slot.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "print/print_layout.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class Bytes {
public:
    explicit Bytes(std::string_view data) : data_(data) {}
    std::uint8_t byte() {
        if (data_.empty()) {
            return 0;
        }
        const auto b = static_cast<std::uint8_t>(data_.front());
        data_.remove_prefix(1);
        return b;
    }
    // Mostly ordinary inches; now and then any finite double, as a settings file may hold.
    double inches() {
        const std::uint8_t kind = byte();
        if (kind < 200) {
            return kind / 40.0;
        }
        double value = 0;
        char raw[sizeof value] = {};
        for (char& c : raw) {
            c = static_cast<char>(byte());
        }
        std::memcpy(&value, raw, sizeof value);
        return std::isfinite(value) ? value : 0.0;
    }
    std::string_view rest() const { return data_; }

private:
    std::string_view data_;
};

class FuzzPrinter final : public tavrel::PrintDevice {
public:
    explicit FuzzPrinter(Bytes& in)
        : glyphs(tavrel::TableGlyphMetrics::uniform(1 + in.byte() % 40, 8, 2)) {
        static constexpr std::int32_t kDpi[] = {0, 1, 72, 100, 300, 600, 1200, 2400};
        m.dpiX = kDpi[in.byte() % 8];
        m.dpiY = kDpi[in.byte() % 8];
        m.paperWidth = (in.byte() << 8 | in.byte()) * 4;
        m.paperHeight = (in.byte() << 8 | in.byte()) * 4;
        m.offsetX = in.byte();
        m.offsetY = in.byte();
        m.printableWidth = m.paperWidth - 2 * m.offsetX;
        m.printableHeight = m.paperHeight - 2 * m.offsetY;
        letter = in.byte() % 120;
    }
    [[nodiscard]] tavrel::PrinterMetrics metrics() const override { return m; }
    [[nodiscard]] const tavrel::GlyphMetrics& glyphMetrics() const override { return glyphs; }
    [[nodiscard]] std::int32_t letterHeight() const override { return letter; }

    tavrel::PrinterMetrics m;
    tavrel::TableGlyphMetrics glyphs;
    std::int32_t letter = 0;
};

void check(tavrel::PrintLayout& layout) {
    using tavrel::Pos;
    const Pos pages = layout.pageCount();
    const Pos perColumn = layout.linesPerColumn();
    const Pos lines = layout.displayLineCount();
    const Pos columns = layout.settings().columnCount();
    require(pages >= 1 && perColumn >= 1 && lines >= 1);
    require(layout.linePitch() >= 1);
    // Walk the display lines: each sits at its own slot, the blank slots before a forced
    // break end at a column's start and map to no line.
    Pos blanks = 0;
    std::size_t next = 0;
    const auto& breaks = layout.forcedBreaks();
    for (Pos line = 0; line < lines; ++line) {
        if (next < breaks.size() && breaks[next].line == line) {
            require(breaks[next].blanks >= 1 && breaks[next].blanks <= perColumn);
            require(layout.lineOfSlot(line + blanks) == -1);
            blanks += breaks[next].blanks;
            require((line + blanks) % perColumn == 0);
            require(layout.lineOfSlot(line + blanks - 1) == -1);
            ++next;
        }
        require(layout.lineOfSlot(line + blanks) == line);
    }
    require(next == breaks.size());
    const Pos slots = lines + blanks;
    require(pages == (slots + perColumn * columns - 1) / (perColumn * columns) || slots == 0);
    require(layout.lineOfSlot(slots) == -1);
    require(layout.lineOfSlot(-1) == -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzPrinter printer(in);
    tavrel::PrintSettings settings;
    settings.marginLeft = in.inches();
    settings.marginRight = in.inches();
    settings.marginTop = in.inches();
    settings.marginBottom = in.inches();
    const std::uint8_t pitch = in.byte();
    settings.lineSpacing = pitch < 128 ? -(pitch % 16) / 4.0 : (pitch - 128) / 64.0;
    settings.gutterWidth = in.inches();
    settings.columns = 1 + in.byte() % 10;
    const std::uint8_t flags = in.byte();
    settings.wordWrap = (flags & 1) != 0;
    settings.lineNumbers = (flags & 2) != 0;
    settings.tabStops = 1 + (flags >> 2) % 16;

    tavrel::PrintLayout layout(printer);
    layout.setSettings(settings);
    layout.setText(std::string(in.rest()));
    check(layout);
    // A change in the preview lays out again from what was kept.
    settings.columns = 1 + (settings.columns + 3) % 10;
    settings.marginTop /= 2;
    layout.setSettings(settings);
    check(layout);
    return 0;
}
