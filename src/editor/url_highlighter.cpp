// Address styles, acceptance and launching.
#include "editor/url_highlighter.h"

#include <algorithm>

namespace tavrel {

UrlHighlighter::UrlHighlighter() {
    styles_[static_cast<std::size_t>(UrlType::Web)] = {false, hsUnderline, kClNone, kClBlue};
    styles_[static_cast<std::size_t>(UrlType::Email)] = {false, hsUnderline, kClNone, kClGreen};
    styles_[static_cast<std::size_t>(UrlType::News)] = {false, hsUnderline, kClNone, kClRed};
    styles_[static_cast<std::size_t>(UrlType::File)] = {false, hsUnderline, kClNone, kClFuchsia};
    styles_[static_cast<std::size_t>(UrlType::Other)] = {false, hsItalic, kClInfoBk, kClSilver};
    accept_ = [this](const FoundAddress& a) {
        // This program has no start/stop sections: the scope at any address is 0.
        constexpr std::int32_t kScopeAtAddress = 0;
        const UrlType type = kUrlPatterns[static_cast<std::size_t>(a.index)].type;
        if (onUrl) {
            return onUrl(kScopeAtAddress, type);
        }
        return priority_ || kScopeAtAddress == scope_;
    };
}

UrlHighlighter::~UrlHighlighter() {
    // Editors drop their pointer to us; a copy, as they unregister while we walk.
    for (Listener* l : std::vector<Listener*>(listeners_)) {
        l->highlighterGone();
    }
}

void UrlHighlighter::setBaseContext(std::int32_t base) {
    baseContext_ = base;
    changed();
}

void UrlHighlighter::setStyle(UrlType type, const HighlightInfo& info) {
    styles_[static_cast<std::size_t>(type)] = info;
    changed();
}

void UrlHighlighter::setScope(std::int32_t scope) {
    scope_ = scope;
    changed();
}

void UrlHighlighter::setPriority(bool on) {
    priority_ = on;
    changed();
}

void UrlHighlighter::changed() {
    for (Listener* l : std::vector<Listener*>(listeners_)) {
        l->highlighterChanged();
    }
}

void UrlHighlighter::addListener(Listener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
        listeners_.push_back(listener);
    }
}

void UrlHighlighter::removeListener(Listener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void UrlHighlighter::scan(std::string_view text, Pos from, Pos to,
                          const std::vector<HighlightRun>* existing,
                          std::vector<HighlightRun>& out) const {
    AddressScan rules;
    rules.existing = existing;
    rules.priority = priority_;
    rules.accept = &accept_;
    found_.clear();
    findAddresses(text, from, to, rules, found_);
    appendRuns(out);
}

void UrlHighlighter::scanAcrossBreaks(std::string_view text, std::vector<HighlightRun>& out) const {
    AddressScan rules;
    rules.priority = priority_;
    rules.accept = &accept_;
    found_.clear();
    findAddressesAcrossBreaks(text, rules, found_);
    appendRuns(out);
}

void UrlHighlighter::appendRuns(std::vector<HighlightRun>& out) const {
    for (const FoundAddress& a : found_) {
        const HighlightInfo& info = style(kUrlPatterns[static_cast<std::size_t>(a.index)].type);
        HighlightRun run;
        run.start = a.start;
        run.length = a.length;
        run.color = info.foreground;
        run.background = info.background;
        run.style = info.style;
        run.cursor = info.cursor;
        run.context = baseContext_ + a.index;
        out.push_back(run);
    }
}

int UrlHighlighter::rowOfContext(std::int32_t context) const noexcept {
    const std::int64_t row = std::int64_t{context} - baseContext_;
    return row >= 0 && row < static_cast<std::int64_t>(kUrlPatterns.size()) ? static_cast<int>(row)
                                                                            : -1;
}

std::string UrlHighlighter::launchText(int row, std::string_view address) {
    switch (row) {
    case kEmailInfixIndex:
        return "mailto:" + std::string(address);
    case kFtpDotIndex:
        return "ftp://" + std::string(address);
    case kGopherDotIndex:
        return "gopher://" + std::string(address);
    default:
        return std::string(address);
    }
}

void UrlHighlighter::click(std::int32_t context, std::string_view address) {
    if (!launchUrls) {
        return;
    }
    if (doubleClickPending_) {
        doubleClickPending_ = false;
        return;
    }
    const int row = rowOfContext(context);
    if (row < 0) {
        return;
    }
    std::string text = launchText(row, address);
    if (!dblClickLaunch) {
        launch(std::move(text));
        return;
    }
    pending_ = std::move(text);
    subscribed_ = true;
}

void UrlHighlighter::doubleClicked() noexcept {
    if (subscribed_) {
        doubleClickPending_ = true;
    }
}

void UrlHighlighter::leftButtonUp() {
    if (subscribed_ && doubleClickPending_) {
        subscribed_ = false;
        launch(std::move(pending_));
    }
}

void UrlHighlighter::otherInput() noexcept {
    subscribed_ = false;
}

void UrlHighlighter::launch(std::string address) {
    if (onUrlLaunch && !onUrlLaunch(address)) {
        return;
    }
    if (launcher_ != nullptr) {
        launcher_->open(address); // what the desktop cannot open has no visible effect
    }
}

} // namespace tavrel
