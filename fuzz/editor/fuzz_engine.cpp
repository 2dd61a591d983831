// Feeds the text engine random bytes as a file and then a random edit script: replaces,
// undo, redo, searches, paragraph operations and long runs that give a paragraph a gap. The
// loaded text is every byte of the file (NULs included) with its breaks as CR LF. After every
// step the engine must pass its consistency check and agree with its own text; undoing everything
// must give back the loaded text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/text_engine.h"

namespace {

class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    [[nodiscard]] bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    tavrel::Pos number() { return static_cast<tavrel::Pos>(byte()) << 8 | byte(); }
    std::string text() {
        const std::size_t n = byte() % 12;
        std::string out;
        for (std::size_t i = 0; i < n && !done(); ++i) {
            out.push_back(static_cast<char>(byte()));
        }
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// The file's text with each break (CR LF, LF CR, CR or LF) written as CR LF, every other byte
// as it is.
std::string breaksAsCrLf(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            out.push_back(c);
            continue;
        }
        out += "\r\n";
        if (i + 1 < bytes.size() && bytes[i + 1] == (c == '\r' ? '\n' : '\r')) {
            ++i;
        }
    }
    return out;
}

void check(tavrel::TextEngine& e) {
    if (!e.consistencyCheck().empty() ||
        static_cast<tavrel::Pos>(e.paragraphs().text().size()) != e.charCount()) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t fileSize = std::min<std::size_t>(data[0] * 4u, size - 1);
    tavrel::TextEngine e;
    e.setUndoMaxSpace(0);
    const std::string_view file(reinterpret_cast<const char*>(data + 1), fileSize);
    e.loadBytes(std::string(file));
    const std::string loaded = e.paragraphs().text();
    check(e);
    if (loaded != breaksAsCrLf(file)) {
        __builtin_trap();
    }
    Script script(data + 1 + fileSize, size - 1 - fileSize);
    while (!script.done()) {
        const tavrel::Pos count = e.charCount() + 1;
        switch (script.byte() % 10) {
        case 0:
        case 1:
            e.select(script.number() % count, script.number() % count);
            e.setSelText(script.text());
            break;
        case 2:
            e.undo();
            break;
        case 3:
            e.redo();
            break;
        case 4: {
            const std::uint8_t flags = script.byte();
            e.setSelStart(script.number() % count);
            (void)e.searchText(script.text(), flags & 1, flags & 2, flags & 4, flags & 8);
            break;
        }
        case 5:
            if (e.document().paragraphCount() > 0) {
                e.paragraphs().remove(script.number() % e.document().paragraphCount());
            }
            break;
        case 6:
            e.paragraphs().insert(script.number() % (e.document().paragraphCount() + 2),
                                  script.text());
            break;
        case 7:
            e.setBlockSelection(script.number() % count, script.number() % count,
                                script.byte() % 20, script.byte() % 20);
            e.setSelText(script.text());
            break;
        case 8: {
            // A run long enough that its paragraph keeps a gap at the edit, so that the
            // steps after it type, delete and undo around a gap.
            const tavrel::Pos at = script.number() % count;
            e.select(at, at);
            e.setSelText(std::string(4096 + script.byte() * 64u, static_cast<char>(script.byte())));
            break;
        }
        default:
            e.beginUpdate();
            e.setSelStart(script.number() % count);
            e.setSelText(script.text());
            e.setSelText(script.text());
            e.endUpdate();
            break;
        }
        check(e);
    }
    while (e.canUndo()) {
        e.undo();
    }
    check(e);
    if (e.paragraphs().text() != loaded) {
        __builtin_trap();
    }
    return 0;
}
