// The running window's part of the handoff: names handed over by later starts are taken one
// at a time from a 10 ms timer, outside the socket's signal, since taking one may ask the
// user whether to save.
#include "app/main_window.h"

#include "platform/instance_channel.h"

#include <QApplication>

namespace tavrel {

namespace {

// The next name is taken this soon; one waiting for a dialog to close looks again this often.
constexpr int kNextNameMs = 10;
constexpr int kModalRetryMs = 200;

} // namespace

void MainWindow::connectHandoff() {
    handoffTimer_.setSingleShot(true);
    handoffTimer_.setInterval(kNextNameMs);
    connect(&handoffTimer_, &QTimer::timeout, this, [this] { takeNextHandedName(); });
    listenForHandedNames();
}

void MainWindow::listenForHandedNames() {
    if (setup_.handoff != nullptr) {
        connect(setup_.handoff, &platform::InstanceServer::nameHanded, this,
                &MainWindow::takeHandedName);
    }
}

void MainWindow::takeFreeInstanceLock() {
    // A window that started beside one holding the lock would otherwise never receive a file,
    // even after that one has closed: the next start would find the lock free and open a
    // window of its own. While another start holds it, this window stays as it was.
    if (setup_.handoff != nullptr || !setup_.takeInstanceLock) {
        return;
    }
    setup_.handoff = setup_.takeInstanceLock();
    listenForHandedNames();
}

void MainWindow::takeHandedName(const std::string& name) {
    handedNames_.push_back(name);
    if (!takingHandedName_) {
        handoffTimer_.start(kNextNameMs);
    }
}

void MainWindow::takeNextHandedName() {
    if (takingHandedName_ || handedNames_.empty()) {
        return;
    }
    // A dialog of the user's (Save As, a message) stays on top and answers for the document
    // it was opened for: the name waits until it is closed, never replacing the text under
    // it; so does a long save, which is still reading the document.
    if (QApplication::activeModalWidget() != nullptr || saving_) {
        handoffTimer_.start(kModalRetryMs);
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
        handoffTimer_.start(kNextNameMs);
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
