// The running window's part of the handoff: names handed over by later starts are taken one
// at a time from a 10 ms timer, outside the socket's signal, since taking one may ask the
// user whether to save.
#include "app/main_window.h"

#include "platform/instance_channel.h"

namespace tavrel {

void MainWindow::connectHandoff() {
    timer1_.setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this, [this] { takeNextHandedName(); });
    if (setup_.handoff != nullptr) {
        connect(setup_.handoff, &platform::InstanceServer::nameHanded, this,
                &MainWindow::takeHandedName);
    }
}

void MainWindow::takeHandedName(const std::string& name) {
    handedNames_.push_back(name);
    if (!takingHandedName_) {
        timer1_.start();
    }
}

void MainWindow::takeNextHandedName() {
    if (takingHandedName_ || handedNames_.empty()) {
        return;
    }
    takingHandedName_ = true;
    const std::string name = handedNames_.front();
    handedNames_.pop_front();
    bringToFront();
    if (!name.empty() && !askToSave()) {
        load(name);
    }
    takingHandedName_ = false;
    if (!handedNames_.empty()) {
        timer1_.start();
    }
}

void MainWindow::bringToFront() {
    if (isMinimized()) {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    }
    show();
    raise();
    activateWindow();
}

} // namespace tavrel
