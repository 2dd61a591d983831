// The menu tables and the builder that turns them into Qt menus.
#include "app/main_menus.h"

#include "lang/qt/translator.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QVariant>

#include <array>
#include <stdexcept>
#include <vector>

namespace tavrel {

namespace {

using K = MenuRowKind;

constexpr MenuRow menu(const char* name, const char* caption, int tag, unsigned flags = 0) {
    return {K::Menu, name, caption, tag, "", flags};
}
constexpr MenuRow item(const char* name, const char* caption, int tag, const char* shortcut = "",
                       unsigned flags = 0) {
    return {K::Item, name, caption, tag, shortcut, flags};
}
constexpr MenuRow separator(unsigned flags = 0) {
    return {K::Separator, "", "", 0, "", flags};
}
constexpr MenuRow end() {
    return {K::End};
}

constexpr std::array kMainMenu{
    menu("File1", "File", 17),
    item("New1", "New", 18, "Ctrl+N"),
    item("Open1", "Open...", 19, "Ctrl+O"),
    menu("file_recentfiles", "Recent files", 20),
    end(),
    // Reads the file again the chosen way; the order of the items is that of EncodingChoice.
    menu("Encoding1", "Encoding", 500),
    item("EncodingAutomatic1", "Automatic", 501, "", kCheckable | kRadio),
    item("EncodingCp4371", "Code page 437", 502, "", kCheckable | kRadio),
    item("EncodingWindows12521", "Windows-1252", 503, "", kCheckable | kRadio),
    item("EncodingUtf81", "UTF-8", 504, "", kCheckable | kRadio),
    item("EncodingUtf161", "UTF-16", 505, "", kCheckable | kRadio),
    // ANSI art's bytes as text, escape sequences and all, to edit them.
    item("EncodingPlain1", "Plain text", 552, "", kCheckable | kRadio),
    end(),
    separator(),
    item("Save1", "Save", 21, "Ctrl+S"),
    item("Saveas1", "Save as...", 22, "F12"),
    item("Saveasgraphic1", "Save as GIF image...", 26, ""),
    item("Saveaspng1", "Save as PNG image...", 524, ""),
    separator(),
    item("Print1", "Print...", 23, "Ctrl+P"),
    item("PrintPreview1", "Print Preview...", 24, ""),
    separator(),
    item("Properties1", "Properties...", 27),
    separator(),
    // Ctrl+Q quits as it does in every desktop program here.
    item("Exit1", "Exit", 25, "Ctrl+Q"),
    end(),

    menu("Edit1", "Edit", 29),
    item("Undo1", "Undo", 30, "Ctrl+Z"),
    item("Redo1", "Redo", 115, "Ctrl+Shift+Z"),
    separator(),
    item("Deleteline1", "Delete line", 116, "Ctrl+E"),
    item("Cut1", "Cut", 31, "Ctrl+X"),
    item("Copy1", "Copy", 32, "Ctrl+C"),
    item("Paste1", "Paste", 33, "Ctrl+V"),
    separator(),
    item("Find1", "Find/Replace...", 34, "Ctrl+F"),
    item("FindNext1", "Find/Replace Next", 35, "F3", kStartsDisabled),
    item("FindPrev1", "Find Previous", 36, "Ctrl+F3", kStartsDisabled),
    separator(),
    item("SelectAll1", "Select All", 37, "Ctrl+A"),
    menu("Format1", "Format", 68),
    item("LinefeedtoWordwrap1", "Join Lines", 69),
    item("Lowercase1", "Lowercase", 71),
    item("Uppercase1", "Uppercase", 72),
    item("CharsettoUTF81", "Charset to UTF-8", 73),
    item("UTF8toCharset1", "UTF-8 to Charset", 74),
    end(),
    separator(),
    item("TimeDate1", "Date/Time", 117, "Ctrl+D"),
    end(),

    menu("Options1", "Options", 42),
    item("Setcolor1", "Set Background Color...", 43, ""),
    item("SetFont1", "Set Font Style and Color...", 44, ""),
    item("SetPrintFont1", "Set Print Font...", 45, ""),
    separator(),
    item("Edithighlightlist1", "Edit Highlight List...", 46, "Ctrl+H"),
    item("Highlightkeywords1", "Highlight Keywords", 47, "", kCheckable),
    item("SetHighlightBackgroundColor1", "Set Highlight Background Color...", 48, ""),
    item("SetHighlightColor1", "Set Highlight Foreground Color...", 49, ""),
    separator(),
    item("Copyeveryselectiontoclipboard1", "Auto-Copy Selection to Clipboard", 50, "", kCheckable),
    item("Trimcutcopy1", "Trim Selection before Copy", 51, "", kCheckable),
    item("CopyUnicode1", "Copy text art as Unicode glyphs", 506, "", kCheckable),
    separator(),
    item("Askforchangesonexit1", "Ask to save changes on load/exit", 52, "", kCheckable),
    item("ConvertUnixfiles1", "Convert Unix files to Windows", 53, "", kCheckable),
    item("DragDrop1", "Drag && Drop", 0, "", kCheckable),
    item("LaunchURLs1", "Launch URLs on click", 54, "", kCheckable),
    item("Showlinenumbers1", "Show Line Numbers", 118, "", kCheckable),
    item("Showspacestabs1", "Show Spaces/Tabs", 55, "", kCheckable),
    item("Wordwrap1", "Wordwrap", 56, "Ctrl+W", kCheckable),
    menu("Zoom1", "Zoom", 520),
    item("ZoomIn1", "Zoom In", 521, "Ctrl++"),
    item("ZoomOut1", "Zoom Out", 522, "Ctrl+-"),
    item("ZoomNormal1", "Normal Size", 523, "Ctrl+0"),
    end(),
    separator(),
    item("AllowonlyoneTavrelinstance1", "Allow only one Tavrel instance", 57, "", kCheckable),
    item("AlwaysonTop1", "Always on Top", 58, "", kCheckable),
    menu("options_language", "Language", 62),
    end(),
    menu("InitialFocus1", "Initial Focus", 59),
    item("Exitbutton1", "Exit button", 60, "", kCheckable | kRadio),
    item("Textfield1", "Edit area", 61, "", kCheckable | kRadio),
    end(),
    menu("Windowdimensions1", "Window Dimensions", 63),
    item("Setwidthaccordingtowidestlinelengthonload1",
         "Set width according to widest line (on load)", 64, "", kCheckable),
    item("Setheightaccordingtonumberoflines1", "Set height according to number of lines (on load)",
         65, "", kCheckable),
    separator(),
    item("Samewindowforallfiletypes1", "Same dimensions for all file types", 66, "",
         kCheckable | kRadio),
    item("Individualdimensions1", "Individual dimensions", 67, "", kCheckable | kRadio),
    end(),
    end(),

    menu("Help1", "Help", 80),
    // F1 opens the help as it does in every desktop program.
    item("Contents1", "Contents", 81, "F1"),
    separator(kHidden),
    item("DonatePaypal1", "Donate (Paypal USD)", 82, "", kHidden | kNotYet),
    item("DonatePaypalEUR1", "Donate (Paypal EUR)", 83, "", kHidden | kNotYet),
    separator(),
    item("UninstallTavrel1", "Uninstall Tavrel", 0, ""),
    separator(),
    item("Lookfornewversion1", "Look for new version", 84, ""),
    item("OtherVelmanticSoftware1", "Other Velmantic Software", 85, ""),
    item("About1", "About...", 86, ""),
    end(),
};

constexpr std::array kPopupMenu{
    item("Undo2", "Undo", 30),
    item("Redo2", "Redo", 115),
    separator(),
    item("Cut2", "Cut", 31),
    item("Copy2", "Copy", 32),
    item("Paste2", "Paste", 33),
    separator(),
    item("SelectAll2", "Select All", 37),
};

void describe(QObject* object, const MenuRow& row) {
    object->setObjectName(QString::fromLatin1(row.name));
    if (row.tag > 0) {
        object->setProperty(translationTagProperty, row.tag);
    }
}

} // namespace

std::span<const MenuRow> mainMenuRows() {
    return kMainMenu;
}

std::span<const MenuRow> popupMenuRows() {
    return kPopupMenu;
}

void MenuSet::build(std::span<const MenuRow> rows, QMenuBar* bar, QMenu* popup, QWidget* owner) {
    std::vector<QMenu*> open;
    if (popup != nullptr) {
        open.push_back(popup);
    }
    QActionGroup* radios = nullptr;
    for (const MenuRow& row : rows) {
        if (row.kind != K::Item || (row.flags & kRadio) == 0) {
            radios = nullptr;
        }
        switch (row.kind) {
        case K::Menu: {
            QMenu* parentMenu = open.empty() ? nullptr : open.back();
            auto* menuObject = new QMenu(QString::fromLatin1(row.caption), owner);
            describe(menuObject, row);
            menuObject->menuAction()->setObjectName(QString::fromLatin1(row.name));
            if (parentMenu != nullptr) {
                parentMenu->addMenu(menuObject);
            } else {
                bar->addMenu(menuObject);
            }
            menus_[row.name] = menuObject;
            actions_[row.name] = menuObject->menuAction();
            open.push_back(menuObject);
            break;
        }
        case K::End:
            open.pop_back();
            break;
        case K::Separator: {
            QAction* line = open.back()->addSeparator();
            line->setVisible((row.flags & kHidden) == 0);
            break;
        }
        case K::Item: {
            auto* action = new QAction(QString::fromLatin1(row.caption), open.back());
            describe(action, row);
            if (*row.shortcut != '\0') {
                action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
            }
            action->setCheckable((row.flags & kCheckable) != 0);
            action->setVisible((row.flags & kHidden) == 0);
            action->setEnabled((row.flags & (kNotYet | kStartsDisabled)) == 0);
            if ((row.flags & kRadio) != 0) {
                if (radios == nullptr) {
                    radios = new QActionGroup(open.back());
                }
                radios->addAction(action);
            }
            open.back()->addAction(action);
            actions_[row.name] = action;
            break;
        }
        }
    }
}

QAction* MenuSet::action(const std::string& name) const {
    return actions_.at(name);
}

QMenu* MenuSet::menu(const std::string& name) const {
    return menus_.at(name);
}

} // namespace tavrel
