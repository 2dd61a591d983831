// A file loaded for an export (the image and print exports, the terminal's view and the
// thumbnail), as the window loads it: the settings' encoding and line-end repair applied to
// the file's bytes, the document handed whole to the engine that paints or writes it.
#pragma once

#include <cstddef>
#include <string>

namespace tavrel {

struct ArtFile;
class FileLoad;
class TextEngine;
struct AppSettings;
struct FileLoadRules;

// The rules every export loads under: the settings' line-end repair and encoding.
[[nodiscard]] FileLoadRules exportLoadRules(const AppSettings& settings);

// Hands the document of a load that has run to the engine, as the window takes one; false
// with `error` saying why (the file's name in front) when the load failed or no memory is
// left, the engine's text then unchanged. `art`, when given, takes the load's SAUCE record and
// ANSI screen.
[[nodiscard]] bool takeLoadedDocument(TextEngine& engine, FileLoad& load, std::string& error,
                                      ArtFile* art = nullptr);

// Both: replaces the engine's text by the file's; false with `error` saying why (the file's name in
// front) when the file cannot be read or no memory is left for its document, the engine's
// text then unchanged. A `headLimit` other than 0 reads at most that many bytes from the
// start of the file, cut after their last whole paragraph: the first screen a thumbnail
// shows, which costs no more for a huge file than for a small one.
[[nodiscard]] bool loadForExport(TextEngine& engine, const std::string& file,
                                 const AppSettings& settings, std::size_t headLimit,
                                 std::string& error, ArtFile* art = nullptr);

// The same for bytes read elsewhere (standard input); `name` says where from in `error`.
[[nodiscard]] bool loadBytesForExport(TextEngine& engine, std::string bytes,
                                      const std::string& name, const AppSettings& settings,
                                      std::string& error, ArtFile* art = nullptr);

} // namespace tavrel
