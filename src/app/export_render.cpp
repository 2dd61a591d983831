// The export's pictures: the capture handed to the GIF library without a copy, and the
// whole-document image painted by the editor.
#include "app/export_render.h"

#include "app/first_screen.h"
#include "editor/line_breaker.h"
#include "editor/qt/text_editor.h"
#include "gif/rgb_image.h"

#include <QPainter>

#include <algorithm>

namespace tavrel {

namespace {

// The wrap width renderDocument takes: 0 for no wrap, else the editor's column wrap in
// pixels, as its own layout computes it.
std::int64_t documentWrapWidth(const TextEditor& editor) {
    if (!editor.wordWrap()) {
        return 0;
    }
    return wrapWidth(true, editor.columnWrap(), 0, editor.leftMargin(), editor.rightMargin(),
                     editor.glyphMetrics().spaceWidth());
}

} // namespace

GifPicture pictureFromCapture(const QImage& image, const QColor& background) {
    const bool direct =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    const QImage converted = direct ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    const QImage& source = direct ? image : converted;
    GifPicture picture;
    picture.assign(RgbImageView{source.constBits(), source.width(), source.height(),
                                static_cast<std::ptrdiff_t>(source.bytesPerLine())});
    picture.setBackgroundColor(GifRgb{static_cast<std::uint8_t>(background.red()),
                                      static_cast<std::uint8_t>(background.green()),
                                      static_cast<std::uint8_t>(background.blue())});
    picture.optimizeColorTables();
    return picture;
}

void setExportWrap(TextEditor& editor, std::int32_t wrapColumns) {
    editor.setWordWrap(wrapColumns > 0);
    if (wrapColumns > 0) {
        editor.setColumnWrap(wrapColumns);
    }
}

DocumentImageSize measureDocumentImage(TextEditor& editor) {
    WrappedLayout& layout = editor.layout();
    layout.formatAll();
    const std::int64_t wrap = documentWrapWidth(editor);
    const std::int64_t textWidth = wrap > 0 ? wrap : layout.widestLine();
    return {textWidth + editor.leftMargin() + editor.rightMargin(),
            layout.knownLineCount() * static_cast<std::int64_t>(editor.lineHeight())};
}

DocumentImageSize measureFirstScreen(TextEditor& editor) {
    WrappedLayout& layout = editor.layout();
    layout.formatAll();
    const std::int64_t columns =
        firstScreenColumns(editor.engine().document(), kFirstScreenMaxLines);
    const std::int64_t width =
        columns * editor.glyphMetrics().spaceWidth() + editor.leftMargin() + editor.rightMargin();
    const std::int64_t lineHeight = std::max(1, editor.lineHeight());
    const std::int64_t lines = std::clamp<std::int64_t>(
        (width + lineHeight - 1) / lineHeight, 1,
        std::min<std::int64_t>(kFirstScreenMaxLines,
                               std::max<std::int64_t>(1, layout.knownLineCount())));
    return {width, lines * lineHeight};
}

QImage renderDocumentImage(TextEditor& editor, const DocumentImageSize& size) {
    QImage image = editor.renderDocument(documentWrapWidth(editor));
    if (!image.isNull()) {
        return image;
    }
    return paintDocumentLines(editor, size);
}

QImage paintDocumentLines(TextEditor& editor, const DocumentImageSize& size) {
    if (size.width <= 0 || size.height <= 0 || !size.fitsGif()) {
        return {};
    }
    QImage image(static_cast<int>(size.width), static_cast<int>(size.height), QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    // The lines are painted from the left margin on; the margin itself is background.
    image.fill(editor.color());
    editor.layout().formatAll();
    QPainter painter(&image);
    const int left = editor.leftMargin();
    editor.paintLines(painter, 0, QRect(left, 0, image.width() - left, image.height()));
    return image;
}

} // namespace tavrel
