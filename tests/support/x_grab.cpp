// Saves what the X server shows of one window as a PNG: the tests' own eye on the screen,
// independent of how the program under test paints. Usage: tavrel_x_grab WINDOW-ID OUT.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WINDOW-ID OUT.png\n", argc > 0 ? argv[0] : "x_grab");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb"); // the real screen, whatever the caller's platform is
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    bool ok = false;
    const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&ok);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!ok || screen == nullptr) {
        std::fprintf(stderr, "no window id or no screen\n");
        return 1;
    }
    const QPixmap picture = screen->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "could not grab window %s\n", argv[1]);
        return 1;
    }
    return 0;
}
