// The About box: the product name, the version from the build, our notice, Ok and Visit
// homepage, in the current language.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

namespace tavrel {

class LanguageStrings;

class AboutBox final : public QDialog {
    Q_OBJECT

public:
    // openAddress opens the home page; the button is hidden when the build names none.
    AboutBox(QWidget* parent, const LanguageStrings& strings,
             std::function<bool(const std::string&)> openAddress);
};

} // namespace tavrel
