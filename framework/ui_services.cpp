#include "framework/ui_services.h"

namespace tabulix::framework {

namespace {

std::atomic<UiServices*>& current() {
    static std::atomic<UiServices*> ui = nullptr;
    return ui;
}

TModalResult firstButton(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore})
        if (buttons.Contains(b)) return ResultOf(b);
    return TModalResult::mrNone;
}

// The answer that changes nothing, for a box nobody can see.
TModalResult safeAnswer(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbAbort})
        if (buttons.Contains(b)) return ResultOf(b);
    return firstButton(buttons);
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
    return ui ? *ui : DefaultUi();
}

HeadlessUi& DefaultUi() {
    static HeadlessUi ui;
    return ui;
}

UiServices* SetCurrentUi(UiServices* services) { return current().exchange(services); }

TModalResult HeadlessUi::MessageDlg(const std::string&, const std::string&, TMsgDlgType, TMsgDlgButtons buttons) {
    const TModalResult answer = answer_;
    if (answer != TModalResult::mrNone && offers(buttons, answer)) return answer;
    return safeAnswer(buttons);
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
