// Rewrites the committed reference files from the current writer (target
// tavrel_gif_regenerate_references). Run it only after checking that a changed byte is meant.
// The files go through the program's one atomic writer, as every file the program writes.
#include "reference_cases.h"

#include "platform/atomic_file.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " REFERENCE_FOLDER\n";
        return 2;
    }
    try {
        for (const gif_check::ReferenceCase& c : gif_check::referenceCases()) {
            const std::filesystem::path path = std::filesystem::path(argv[1]) / c.fileName;
            const std::vector<std::uint8_t> bytes = c.make().saveToBytes();
            const tavrel::WriteStatus status = tavrel::platform::writeFileAtomically(
                path.string(),
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            if (!status.ok()) {
                std::cerr << status.error << '\n';
                return 1;
            }
            std::cout << "wrote " << path.string() << '\n';
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
