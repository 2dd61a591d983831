// Saves that a crash cut while they wrote over a file's own bytes: the notes that in-place
// writes leave in the settings folder (see AtomicFile), found at the next start, and the old
// text put back or let go.
#pragma once

#include "settings/save_note.h"
#include "settings/write_status.h"

#include <string>
#include <vector>

namespace tavrel::platform {

struct InterruptedSave {
    std::string notePath; // the note that leads to the copy
    SaveNote note;        // the file written over, and where its old text is kept
};

// The interrupted saves noted in `folder` whose old text is there whole, by the file's name.
// On the way it tidies what needs no question: a copy cut off before the file was touched
// goes with its note, and so does a note whose copy is gone or is no longer the one it
// noted. Notes that are damaged, not this user's, or held by a save that is still running
// in another process are left alone.
[[nodiscard]] std::vector<InterruptedSave> findInterruptedSaves(const std::string& folder);

// Writes the old text back over the file's own bytes (it keeps its inode and links), syncs
// it, then removes the copy and the note. A failure names the file and the system's reason
// and leaves the copy and the note where they are.
[[nodiscard]] WriteStatus restoreInterruptedSave(const InterruptedSave& save);

// Removes the copy and the note, leaving the file as the cut save left it.
[[nodiscard]] WriteStatus discardInterruptedSave(const InterruptedSave& save);

} // namespace tavrel::platform
