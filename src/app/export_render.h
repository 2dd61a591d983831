// From the editor's painting to a GIF picture: the captured image reduced to the web palette
// with the editor's background as the screen's background and the tables optimised, and the
// whole-document image of the command-line export with its size known before any pixel is
// painted, so that an image the format cannot hold is refused without being made.
#pragma once

#include "gif/picture.h"

#include <QColor>
#include <QImage>

#include <cstdint>

namespace tavrel {

class TextEditor;

// Builds the picture the export writes: assign (web-palette reduction), background colour,
// colour-table optimisation. A Format_RGB32 or ARGB32 image is read in place; other formats
// are converted first. Throws GifError for an empty image.
[[nodiscard]] GifPicture pictureFromCapture(const QImage& image, const QColor& background);

// Word wrap off for 0 columns, else at that many characters.
void setExportWrap(TextEditor& editor, std::int32_t wrapColumns);

struct DocumentImageSize {
    std::int64_t width = 0;
    std::int64_t height = 0;

    [[nodiscard]] bool fitsGif() const noexcept {
        return width <= kGifMaxDimension && height <= kGifMaxDimension;
    }
};

// Lays the editor's whole document out with its current wrap setting (off, or at its
// column wrap) and answers the size of the image that shows it: the widest line, or the wrap
// width, plus the margins, by every display line at the line height.
[[nodiscard]] DocumentImageSize measureDocumentImage(TextEditor& editor);

// The size of the document's first screen, as a thumbnail shows it (word wrap off): the width
// the window sizes itself to for the first lines (app/first_screen.h) in the width of a space,
// plus the margins, and as many lines as make the picture square, at most the document's and
// never more than kFirstScreenMaxLines.
[[nodiscard]] DocumentImageSize measureFirstScreen(TextEditor& editor);

// The whole document as the editor paints it, without selection or caret, at `size` (from
// measureDocumentImage). The editor's own document picture serves where it can; beyond its
// size limit the same painting routine draws the editor's display lines into one image. A
// null image when the memory for it cannot be had.
[[nodiscard]] QImage renderDocumentImage(TextEditor& editor, const DocumentImageSize& size);

// The second of the two ways above on its own, so that tests can hold it against the first;
// with a smaller size (measureFirstScreen), the document's top lines alone.
[[nodiscard]] QImage paintDocumentLines(TextEditor& editor, const DocumentImageSize& size);

} // namespace tavrel
