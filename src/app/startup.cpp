#include "app/startup.h"

#include <QApplication>
#include <QMainWindow>

namespace tavrel {

int runTavrel(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrel"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tavrel"));
    window.resize(704, 365);
    window.show();
    return QApplication::exec();
}

} // namespace tavrel
