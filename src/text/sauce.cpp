// Reading the SAUCE record: fixed little-endian fields at fixed offsets in the file's last
// 128 bytes, and the comment lines in the 64-byte lines of a "COMNT" block just before it.
#include "text/sauce.h"

namespace tavrel {
namespace {

constexpr std::string_view kSauceId("SAUCE00", 7);
constexpr std::string_view kCommentId("COMNT", 5);
constexpr char kEndOfFile = '\x1A';

std::string field(std::string_view record, std::size_t offset, std::size_t length) {
    std::string_view text = record.substr(offset, length);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::uint16_t word(std::string_view record, std::size_t offset) {
    return static_cast<std::uint16_t>(std::uint8_t(record[offset]) |
                                      (std::uint8_t(record[offset + 1]) << 8));
}

std::uint32_t doubleWord(std::string_view record, std::size_t offset) {
    return std::uint32_t(word(record, offset)) | (std::uint32_t(word(record, offset + 2)) << 16);
}

SauceRecord parseRecord(std::string_view record) {
    SauceRecord out;
    out.title = field(record, 7, 35);
    out.author = field(record, 42, 20);
    out.group = field(record, 62, 20);
    out.date = field(record, 82, 8);
    out.fileSize = doubleWord(record, 90);
    out.dataType = std::uint8_t(record[94]);
    out.fileType = std::uint8_t(record[95]);
    out.tInfo1 = word(record, 96);
    out.tInfo2 = word(record, 98);
    out.tInfo3 = word(record, 100);
    out.tInfo4 = word(record, 102);
    out.flags = std::uint8_t(record[105]);
    out.fontName = field(record, 106, 22);
    return out;
}

} // namespace

SauceSplit readSauce(std::string_view file) {
    SauceSplit split;
    split.textLength = file.size();
    if (file.size() < kSauceRecordSize ||
        file.substr(file.size() - kSauceRecordSize, kSauceId.size()) != kSauceId) {
        return split;
    }
    const std::size_t recordStart = file.size() - kSauceRecordSize;
    const std::string_view record = file.substr(recordStart);
    split.record = parseRecord(record);
    std::size_t textEnd = recordStart;

    const std::size_t lines = std::uint8_t(record[104]);
    const std::size_t blockSize = kCommentId.size() + lines * kSauceCommentLineSize;
    if (lines > 0 && blockSize <= recordStart &&
        file.substr(recordStart - blockSize, kCommentId.size()) == kCommentId) {
        const std::size_t first = recordStart - blockSize + kCommentId.size();
        for (std::size_t i = 0; i < lines; ++i) {
            split.record->comments.push_back(
                field(file, first + i * kSauceCommentLineSize, kSauceCommentLineSize));
        }
        textEnd = recordStart - blockSize;
    }
    // Ctrl+Z ends the text as it did for DOS; what lies between it and the record (often
    // NUL padding) is not text either.
    const std::size_t mark = file.substr(0, textEnd).find(kEndOfFile);
    split.textLength = mark == std::string_view::npos ? textEnd : mark;
    return split;
}

} // namespace tavrel
