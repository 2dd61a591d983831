// What a test checks about a file after a save: its bytes, inode, link count, owner, group,
// mode and type, read with plain system calls so that they never come from the writer.
#pragma once

#include "platform/temp_folder.h"

#include <filesystem>
#include <ostream>
#include <string>

#include <sys/stat.h>

namespace tavrel::test {

struct FileFacts {
    std::string bytes;
    ino_t inode = 0;
    nlink_t links = 0;
    uid_t owner = 0;
    gid_t group = 0;
    mode_t mode = 0; // type and permission bits
};

[[nodiscard]] inline FileFacts factsOf(const std::string& path) {
    FileFacts facts;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        ADD_FAILURE() << "cannot stat " << path;
        return facts;
    }
    if (S_ISREG(info.st_mode)) {
        facts.bytes = readFile(path);
    }
    facts.inode = info.st_ino;
    facts.links = info.st_nlink;
    facts.owner = info.st_uid;
    facts.group = info.st_gid;
    facts.mode = info.st_mode;
    return facts;
}

// Names in a folder, so that a test sees a temporary file left behind.
[[nodiscard]] inline std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

} // namespace tavrel::test
