// The settings behind the reference file tests/app/data/Tavrel.ini: a run with changed
// options, a file class, two recent files and the version mark, written the way the close
// handler writes them. Shared by the test and the program that regenerates the file.
#pragma once

#include "app/settings_catalogue.h"
#include "app/startup.h"
#include "app/window_sizing.h"

#include <string>
#include <vector>

namespace tavrel::test {

inline AppSettings referenceSettings() {
    AppSettings s;
    s.language = "German";
    s.editorFont = {"Terminus", 12, true, false, false, false, 0x00C0C0C0};
    s.printFont = {"DejaVu Sans Mono", 10, false, true, false, false, kSystemColorBase + 8};
    s.backColor = 0x00400000;
    s.highlightColor = 0x0000FFFF;
    s.sameDim = false;
    s.lineNumbers = true;
    s.oneInstance = true;
    s.autoHeight = true;
    s.wordWrap = false;
    s.lastPrinter = 2;
    s.zoom = 3;
    s.findText = "cat";
    s.replaceText = "dog";
    s.lastDir = "/home/user/art/";
    s.findLeft = 220;
    s.findTop = 180;
    s.marginLeft = 1;
    s.marginRight = 0.25;
    s.marginTop = 0.5;
    s.marginBottom = 1.125;
    return s;
}

inline std::vector<std::string> referenceRecentFiles() {
    return {"/home/user/art/tavrel-sample.nfo", "/home/user/art/FILE_ID.DIZ"};
}

inline void referenceBounds(ConfigSaver& settings) {
    saveBounds(settings, {false, 120, 80, 693, 469}, "nfo", false);
}

// The bytes a fresh "Tavrel.ini" gets from the close handler for the settings above.
inline std::string referenceSettingsText() {
    std::string text;
    ConfigSaver store("Tavrel.ini", "", [&text](const std::string&, std::string_view bytes) {
        text = bytes;
        return WriteStatus{};
    });
    const auto files = referenceRecentFiles();
    RecentFiles recent([](const std::string&) { return true; });
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        recent.add(*it);
    }
    const AppSettings values = referenceSettings();
    if (!saveSettings(store, [&](ConfigSaver& settings) {
             tavrel::saveSettings(settings, values, recent, '.', referenceBounds);
         }).ok()) {
        return {};
    }
    return text;
}

} // namespace tavrel::test
