// Draws the program's icon, a block letter "T" with a shade shadow in the viewer's colours,
// from one 16 x 16 cell grid: a scalable SVG and PNGs at the sizes desktops ask for. One
// grid for every output keeps the small PNGs pixel-exact and the SVG the same picture.
//   tavrel_make_icons OUTPUT_FOLDER
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <array>
#include <cstdio>
#include <string_view>

namespace {

// ' ' transparent (the rounded corners), '.' the viewer's dark blue, '#' white text,
// ':' the grey of the light shade the art casts.
constexpr std::array<std::string_view, 16> kGrid = {
    " .............. ", "................", "................", "..############..",
    "..############:.", "..############:.", "...:::####:::::.", "......####:.....",
    "......####:.....", "......####:.....", "......####:.....", "......####:.....",
    "......####:.....", "......####:.....", ".......::::.....", " .............. ",
};
constexpr int kCells = 16;
constexpr std::array kPngSizes = {16, 22, 24, 32, 48, 64, 128, 256};

QColor colourOf(char cell) {
    switch (cell) {
    case '.':
        return QColor(0x00, 0x00, 0x80);
    case '#':
        return QColor(0xFF, 0xFF, 0xFF);
    case ':':
        return QColor(0xAA, 0xAA, 0xAA);
    default:
        return QColor(Qt::transparent);
    }
}

// Cell c covers pixels [c * size / 16, (c + 1) * size / 16): sizes that are not a multiple of
// 16 get cells one pixel wider here and there instead of blurred edges.
int edge(int cell, int size) {
    return cell * size / kCells;
}

bool writePng(const QString& folder, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (int row = 0; row < kCells; ++row) {
        for (int column = 0; column < kCells; ++column) {
            const QColor colour = colourOf(kGrid[row][column]);
            if (colour.alpha() == 0) {
                continue;
            }
            painter.fillRect(edge(column, size), edge(row, size),
                             edge(column + 1, size) - edge(column, size),
                             edge(row + 1, size) - edge(row, size), colour);
        }
    }
    painter.end();
    const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
    return QDir().mkpath(dir) && image.save(dir + QStringLiteral("/com.velmantic.Tavrel.png"));
}

// One rectangle per run of equal cells in a row.
bool writeSvg(const QString& folder) {
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                     "viewBox=\"0 0 16 16\" shape-rendering=\"crispEdges\">\n";
    for (int row = 0; row < kCells; ++row) {
        int start = 0;
        for (int column = 1; column <= kCells; ++column) {
            if (column < kCells && kGrid[row][column] == kGrid[row][start]) {
                continue;
            }
            const QColor colour = colourOf(kGrid[row][start]);
            if (colour.alpha() != 0) {
                svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"1\" "
                                      "fill=\"%4\"/>\n")
                           .arg(start)
                           .arg(row)
                           .arg(column - start)
                           .arg(colour.name())
                           .toUtf8();
            }
            start = column;
        }
    }
    svg += "</svg>\n";
    const QString dir = folder + QStringLiteral("/hicolor/scalable/apps");
    QFile file(dir + QStringLiteral("/com.velmantic.Tavrel.svg"));
    return QDir().mkpath(dir) && file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrel_make_icons OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = writeSvg(folder);
    for (const int size : kPngSizes) {
        ok = writePng(folder, size) && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "tavrel_make_icons: could not write the icons into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
