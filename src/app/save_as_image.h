// "Save as GIF image..." and "Save as PNG image...": the editor's viewport as it shows now (no
// scroll bars, no gutter), painted offscreen by the editor itself, reduced to the web palette
// and written as a GIF file, or written as it is as a PNG file, under a name the user picks. The
// dialog and the error box come in as functions so the main window can use its own and tests can
// answer them.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace tavrel {

class TextEditor;

// The save dialog's filter in the program's "Text|pattern|..." form, and in Qt's.
inline constexpr const char* kGifFileFilter = "GIF graphic (*.gif)|*.gif|All files (*.*)|*.*";
inline constexpr const char* kGifFileFilterQt = "GIF graphic (*.gif);;All files (*)";
inline constexpr const char* kPngFileFilter = "PNG image (*.png)|*.png|All files (*.*)|*.*";
inline constexpr const char* kPngFileFilterQt = "PNG image (*.png);;All files (*)";
// The name proposed for a document that has none of its own.
inline constexpr const char* kDefaultGifBaseName = "TavrelImage";

// Language texts of the error box.
inline constexpr int kGifSaveFailedText = 104;
inline constexpr int kErrorCaptionText = 102;

// The document's file name without its folder, cut at its last full stop, with ".gif":
// "readme.1st.nfo" gives "readme.1st.gif"; no name, or a name such as ".nfo" that leaves
// nothing, gives "TavrelImage.gif".
[[nodiscard]] std::string proposedGifName(std::string_view currentFileName);
// The same with another extension (".png").
[[nodiscard]] std::string proposedImageName(std::string_view currentFileName,
                                            std::string_view extension);

// What the save dialog starts with.
struct ImageSaveRequest {
    QString filter;        // kGifFileFilter
    QString qtFilter;      // kGifFileFilterQt
    QString initialFolder; // the last folder Save as wrote to; may be empty
    QString proposedName;  // a name without folder
};

struct ImageSaveCommand {
    QWidget* parent = nullptr;
    std::string currentFileName; // empty for a document never loaded or saved
    std::string lastSaveFolder;  // the last folder Save as wrote to in this run; may be empty
    // The chosen file name (local 8-bit encoding), or nothing when the user cancelled.
    // Empty: a Qt save dialog asking before it overwrites.
    std::function<std::optional<std::string>(const ImageSaveRequest&)> askFileName;
    // Language texts by number (104, 102); must be set.
    std::function<QString(int number)> text;
    // Shows the error box; empty: a message box with the error icon and an OK button.
    // `details` is the box's informative text: the file's name and what went wrong.
    std::function<void(const QString& caption, const QString& text, const QString& details)>
        showError;
};

enum class ImageSaveResult : std::uint8_t { Saved, Cancelled, Failed };

// The command, in order: capture the viewport, make the picture (reduction, the editor's
// background colour, optimisation), ask for the file name, write it as one step (an
// existing file keeps its permissions and is never left half-written). Any failure,
// including a viewport of no pixels, shows the error box (text 104, caption 102) and writes
// nothing; cancelling writes nothing either.
ImageSaveResult saveAsGif(TextEditor& editor, const ImageSaveCommand& command);
// The same as a PNG file: the capture's pixels exactly, no palette reduction.
ImageSaveResult saveAsPng(TextEditor& editor, const ImageSaveCommand& command);

} // namespace tavrel
