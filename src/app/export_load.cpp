// Loading one file for an export: the window's own load, its document taken by the engine.
#include "app/export_load.h"

#include "app/file_load.h"
#include "app/settings_catalogue.h"
#include "editor/text_engine.h"

#include <new>
#include <utility>

namespace tavrel {

FileLoadRules exportLoadRules(const AppSettings& settings) {
    return FileLoadRules{settings.convert, false, encodingChoiceOf(settings.encoding)};
}

bool takeLoadedDocument(TextEngine& engine, FileLoad& load, std::string& error, ArtFile* art) {
    const std::string outOfMemory = load.path() + ": not enough memory";
    switch (load.status()) {
    case FileLoad::Status::Done:
        break;
    case FileLoad::Status::OutOfMemory:
        error = outOfMemory;
        return false;
    case FileLoad::Status::Failed:
    case FileLoad::Status::Pending:
    case FileLoad::Status::Cancelled:
        error = load.error();
        return false;
    }
    try {
        engine.adoptDocument(load.document(), load.result(), !load.rules().convert);
    } catch (const std::bad_alloc&) {
        error = outOfMemory;
        return false;
    }
    if (art != nullptr) {
        *art = load.art();
    }
    return true;
}

bool loadForExport(TextEngine& engine, const std::string& file, const AppSettings& settings,
                   std::size_t headLimit, std::string& error, ArtFile* art) {
    FileLoad load(file, exportLoadRules(settings));
    load.headLimit = headLimit;
    load.run();
    return takeLoadedDocument(engine, load, error, art);
}

bool loadBytesForExport(TextEngine& engine, std::string bytes, const std::string& name,
                        const AppSettings& settings, std::string& error, ArtFile* art) {
    FileLoad load(name, exportLoadRules(settings));
    load.runOn(std::move(bytes));
    return takeLoadedDocument(engine, load, error, art);
}

} // namespace tavrel
