// What the tests that drive the real program on an X server share: starting the built
// binary, finding its windows and typing and clicking into them through xdotool.
#pragma once

#include <QImage>
#include <QProcess>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace tavrel::test {

// Why an X test cannot run here, or empty when it can (DISPLAY set and xdotool present).
inline std::string xSessionMissing() {
    if (std::getenv("DISPLAY") == nullptr) {
        return "needs an X display; CTest runs this suite through tests/support/with-x-session";
    }
    QProcess probe;
    probe.start(QStringLiteral("xdotool"), {QStringLiteral("version")});
    if (!probe.waitForFinished(5000) || probe.exitCode() != 0) {
        return "xdotool is not installed (scripts/setup installs it)";
    }
    return {};
}

// Runs xdotool with arguments; its trimmed output, or nothing when it failed or hung.
inline std::optional<QString> xdotool(const QStringList& arguments, int timeoutMs = 20000) {
    // A window just mapped may not be managed by the window manager yet, which then refuses
    // to activate it: activation is tried again for up to ten seconds (a loaded CI machine
    // can take several) before it counts as failed.
    const bool activation =
        !arguments.isEmpty() && arguments.front() == QStringLiteral("windowactivate");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        QProcess tool;
        // Titles are read as a UTF-8 desktop reads them, whatever locale the test runs in.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("xdotool"), arguments);
        if (tool.waitForFinished(timeoutMs) && tool.exitStatus() == QProcess::NormalExit &&
            tool.exitCode() == 0) {
            return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
        }
        tool.kill();
        tool.waitForFinished();
        if (!activation || std::chrono::steady_clock::now() > deadline) {
            if (activation) {
                std::fprintf(stderr, "xdotool %s failed: %s\n",
                             qPrintable(arguments.join(QLatin1Char(' '))),
                             tool.readAllStandardError().constData());
            }
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

// The first visible window whose title matches the regular expression, waiting for it up to
// timeoutMs; empty when none appeared.
inline QString waitForWindow(const QString& titlePattern, int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (const auto found = xdotool({"search", "--onlyvisible", "--name", titlePattern}, 5000);
            found && !found->isEmpty()) {
            return found->split(QLatin1Char('\n')).front();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

// Whether no visible window matches any more, waiting up to timeoutMs.
inline bool waitForWindowGone(const QString& titlePattern, int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        const auto found = xdotool({"search", "--onlyvisible", "--name", titlePattern}, 5000);
        if (!found || found->isEmpty()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// The title of a window, or empty.
inline QString windowTitle(const QString& window) {
    return xdotool({"getwindowname", window}).value_or(QString());
}

// Activates a window through the window manager (as a click on it would) and sends it keys
// such as "ctrl+s" or "Return", one xdotool key argument each.
inline bool sendKeys(const QString& window, const QStringList& keys) {
    if (!xdotool({"windowactivate", "--sync", window})) {
        return false;
    }
    QStringList arguments{"key", "--clearmodifiers", "--delay", "60"};
    arguments += keys;
    return xdotool(arguments).has_value();
}

// Types text into the active window.
inline bool typeText(const QString& window, const QString& text) {
    if (!xdotool({"windowactivate", "--sync", window})) {
        return false;
    }
    return xdotool({"type", "--clearmodifiers", "--delay", "30", text}).has_value();
}

// Clicks a mouse button at a point given in the window's own coordinates.
inline bool clickAt(const QString& window, int x, int y, int button = 1) {
    return xdotool({"mousemove", "--sync", "--window", window, QString::number(x),
                    QString::number(y), "click", QString::number(button)})
        .has_value();
}

#ifdef TAVREL_X_GRAB
// The upper (first lines of text) or lower half (progress line, buttons) of a window as the X
// server shows it, through the grab helper and a PNG at `png`; null when it failed.
inline QImage grabWindowHalf(const QString& window, const std::string& png, bool upper) {
    QProcess tool;
    tool.start(QStringLiteral(TAVREL_X_GRAB), {window, QString::fromStdString(png)});
    if (!tool.waitForFinished(20000) || tool.exitCode() != 0) {
        return {};
    }
    const QImage whole = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    const int half = whole.height() / 2;
    return upper ? whole.copy(0, 0, whole.width(), half)
                 : whole.copy(0, half, whole.width(), whole.height() - half);
}
#endif

// The environment for the program under test on this X server: the xcb platform, and under
// AddressSanitizer no strict string checks (the X keyboard library hands strndup a buffer
// without a terminator, which is allowed but trips them; the last setting of an option wins).
inline QProcessEnvironment xProgramEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (environment.contains(QStringLiteral("ASAN_OPTIONS"))) {
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           environment.value(QStringLiteral("ASAN_OPTIONS")) +
                               QStringLiteral(":strict_string_checks=0"));
    }
    return environment;
}

} // namespace tavrel::test
