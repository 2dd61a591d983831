// Files only this user may reach: the per-user state folder, and files created new there
// without ever following a link or replacing a file another program or user put in place.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::platform {

// The per-user state folder without a trailing "/": $XDG_STATE_HOME, else ~/.local/state, on
// Unix-like systems; the local application-data folder on Windows. Empty when the system
// cannot tell. Nothing is created.
[[nodiscard]] std::string userStateFolder();

// Creates folder and its missing parents; the folder itself with mode 0700. True when it is
// then a real folder (no link) of this user's own that nobody else can enter (an own folder
// open to others is closed); false for anything else, which must not be written into.
[[nodiscard]] bool makePrivateFolder(const std::string& folder);

// What creating a new file came to.
enum class NewFileResult { Created, Exists, Failed };

// Creates path (mode 0600) holding bytes, on disk before it answers Created. Never opens an
// existing file, and a link at path counts as existing, so nothing is written through it.
// On Failed, error holds the system's reason and no part of the file is left.
[[nodiscard]] NewFileResult createNewFile(const std::string& path, std::string_view bytes,
                                          std::string* error);

} // namespace tavrel::platform
