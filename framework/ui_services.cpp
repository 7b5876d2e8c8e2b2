#include "framework/ui_services.h"

namespace tabulix::framework {

namespace {

HeadlessUi& headless() {
    static HeadlessUi ui;
    return ui;
}

std::atomic<UiServices*>& current() {
    static std::atomic<UiServices*> ui = nullptr;
    return ui;
}

TModalResult firstButton(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore})
        if (buttons.Contains(b)) return ResultOf(b);
    return TModalResult::mrNone;
}

bool offers(TMsgDlgButtons buttons, TModalResult answer) {
    for (TMsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore})
        if (buttons.Contains(b) && ResultOf(b) == answer) return true;
    return false;
}

}  // namespace

TModalResult ResultOf(TMsgDlgBtn button) {
    switch (button) {
    case mbYes: return TModalResult::mrYes;
    case mbNo: return TModalResult::mrNo;
    case mbOK: return TModalResult::mrOk;
    case mbCancel: return TModalResult::mrCancel;
    case mbAbort: return TModalResult::mrAbort;
    case mbRetry: return TModalResult::mrRetry;
    case mbIgnore: return TModalResult::mrIgnore;
    }
    return TModalResult::mrNone;
}

UiServices& CurrentUi() {
    UiServices* ui = current();
    return ui ? *ui : headless();
}

UiServices* SetCurrentUi(UiServices* services) { return current().exchange(services); }

TModalResult HeadlessUi::MessageDlg(const std::string&, const std::string&, TMsgDlgType, TMsgDlgButtons buttons) {
    if (const TModalResult answer = answer_; answer != TModalResult::mrNone && offers(buttons, answer)) return answer;
    return firstButton(buttons);
}

RecordingUi::RecordingUi() : previous_(SetCurrentUi(this)) {}

RecordingUi::~RecordingUi() { SetCurrentUi(previous_); }

TModalResult RecordingUi::MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type,
                                     TMsgDlgButtons buttons) {
    TModalResult answer = firstButton(buttons);
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    boxes_.push_back({text, caption, type, buttons, answer});
    return answer;
}

void RecordingUi::SetScreenCursor(TCursor cursor) {
    cursor_ = cursor;
    cursorChanges_.push_back(cursor);
}

void RecordingUi::Clear() {
    answers_.clear();
    boxes_.clear();
    cursorChanges_.clear();
}

ScopedCursor::ScopedCursor(TCursor cursor) { CurrentUi().SetScreenCursor(cursor); }

ScopedCursor::~ScopedCursor() { CurrentUi().SetScreenCursor(crDefault); }

}  // namespace tabulix::framework
