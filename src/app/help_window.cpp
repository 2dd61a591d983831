// The help window: Qt's text browser on the HTML shipped with the program.
#include "app/help_window.h"

#include <QDialog>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tavrel {

QString helpIndex(const std::string& programFolder) {
    const QString folder = QString::fromStdString(programFolder);
    for (const QString& candidate : {folder + QStringLiteral("help/index.html"),
                                     folder + QStringLiteral("../share/tavrel/help/index.html")}) {
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return {};
}

void showHelp(QWidget* owner, const std::string& programFolder) {
    const QString index = helpIndex(programFolder);
    if (index.isEmpty()) {
        return;
    }
    auto* window = owner->findChild<QDialog*>(QStringLiteral("HelpWindow"));
    if (window == nullptr) {
        window = new QDialog(owner, Qt::Window);
        window->setObjectName(QStringLiteral("HelpWindow"));
        window->resize(640, 560);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* browser = new QTextBrowser(window);
        browser->setObjectName(QStringLiteral("HelpBrowser"));
        // Links to the web go to the desktop's browser, links within the help stay here.
        browser->setOpenExternalLinks(true);
        layout->addWidget(browser);
        QObject::connect(browser, &QTextBrowser::sourceChanged, window,
                         [window, browser] { window->setWindowTitle(browser->documentTitle()); });
    }
    auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    browser->setSource(QUrl::fromLocalFile(index));
    browser->scrollToAnchor(QStringLiteral("contents"));
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace tavrel
