// Where the text of a program ended by a signal is kept: a recovery file beside the
// settings, named after the document and the time, and a note that the next start reads to
// tell the user where it is.
#pragma once

#include "settings/config_saver.h"

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// The note listing recovery files not yet reported, one full path a line.
inline constexpr const char* kRecoveryNoteName = "recovered.txt";

// "report (recovered 2026-12-07 13-05-09).nfo" for "/a/report.nfo" at that local time; an
// unnamed document is "Untitled (recovered ...).txt". The time uses no colons, so the name
// is valid on every file system.
[[nodiscard]] std::string recoveryFileName(std::string_view documentPath, const std::tm& when);

// What making a new file came to: made, the name already taken (a file, or a link that
// must not be written through), or failed for another reason given in `error`.
enum class NewFileOutcome { Created, NameTaken, Failed };
using NewFileMaker = std::function<NewFileOutcome(const std::string& path, std::string_view bytes,
                                                  std::string* error)>;

// Writes the text to a recovery file made new in folder (which ends in "/"), the next free
// name, and adds it to the note through writeNote. The recovery file's path, or nothing with
// `error` set.
[[nodiscard]] std::optional<std::string>
keepRecoveryCopy(const std::string& folder, std::string_view documentPath, std::string_view text,
                 const std::tm& when, const NewFileMaker& make, const FileWriter& writeNote,
                 std::string* error = nullptr);

// The recovery files the note lists, and the note removed: each is reported once.
[[nodiscard]] std::vector<std::string> takeRecoveryNote(const std::string& folder);

} // namespace tavrel
