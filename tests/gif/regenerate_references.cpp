// Rewrites the committed reference files from the current writer (target
// tavrel_gif_regenerate_references). Run it only after checking that a changed byte is meant.
#include "reference_cases.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " REFERENCE_FOLDER\n";
        return 2;
    }
    try {
        for (const gif_check::ReferenceCase& c : gif_check::referenceCases()) {
            const std::filesystem::path path = std::filesystem::path(argv[1]) / c.fileName;
            c.make().saveToFile(path);
            std::cout << "wrote " << path.string() << '\n';
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
