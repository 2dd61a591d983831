// The help window: Qt's text browser on the HTML shipped with the program.
#include "app/help_window.h"

#include <QDialog>
#include <QFileInfo>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tavrel {

QString helpIndex(const std::string& programFolder, const std::string& language) {
    const QString folder = QString::fromStdString(programFolder);
    QStringList helps{QStringLiteral("help/"), QStringLiteral("../share/tavrel/help/")};
    // Language names are the names of files in one folder; anything that could lead out of
    // the help folder is no language of ours.
    const QString own = QString::fromStdString(language);
    if (!own.isEmpty() && !own.contains(QLatin1Char('/')) && !own.contains(QLatin1Char('\\')) &&
        !own.startsWith(QLatin1Char('.'))) {
        helps = QStringList{helps[0] + own + QLatin1Char('/'), helps[1] + own + QLatin1Char('/')} +
                helps;
    }
    for (const QString& help : helps) {
        const QString candidate = folder + help + QStringLiteral("index.html");
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return {};
}

void showHelp(QWidget* owner, const std::string& programFolder, const std::string& language) {
    const QString index = helpIndex(programFolder, language);
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
