#pragma once
// The UI services of the Qt programs: message boxes shown with QMessageBox and the screen cursor
// kept as the application's override cursor.

#include <QString>

#include <atomic>

#include "framework/ui_services.h"

namespace tabulix::ui {

// Message boxes (QMessageBox, Spanish-neutral captions as the framework gives them) and the screen cursor
// (QGuiApplication override cursor) for the Qt programs. Needs a QApplication.
//
// Thread rule: any thread may call. A box asked for on another thread is shown on the GUI thread
// while the caller waits for the answer (so the GUI thread must not wait for that thread); the
// cursor changes only for the GUI thread's own work, since a report made in the background
// leaves the window free to use.
class QtUiServices : public framework::UiServices {
public:
    framework::TModalResult MessageDlg(const std::string& text, const std::string& caption,
                                       framework::TMsgDlgType type, framework::TMsgDlgButtons buttons) override;
    framework::TCursor ScreenCursor() const override { return cursor_; }
    void SetScreenCursor(framework::TCursor cursor) override;

    // The caption a box of `type` gets when the caller gives none.
    static QString defaultCaption(framework::TMsgDlgType type);

private:
    framework::TModalResult showBox(const std::string& text, const std::string& caption, framework::TMsgDlgType type,
                                    framework::TMsgDlgButtons buttons);

    std::atomic<framework::TCursor> cursor_ = framework::crDefault;
};

// Installs a QtUiServices as the current UI services for its lifetime, restoring the previous
// ones afterwards. The Qt programs keep one in main().
class ScopedQtUiServices {
public:
    ScopedQtUiServices();
    ~ScopedQtUiServices();
    ScopedQtUiServices(const ScopedQtUiServices&) = delete;
    ScopedQtUiServices& operator=(const ScopedQtUiServices&) = delete;

    QtUiServices& services() { return services_; }

private:
    QtUiServices services_;
    framework::UiServices* previous_;
};

}  // namespace tabulix::ui
