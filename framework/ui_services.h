#pragma once
/// @file
/// UI services: the message boxes and the screen cursor that components use, behind a small
/// interface so that the component library needs no windowing toolkit. One instance is current
/// for the whole process: a headless one until the program installs its own (the Qt programs
/// install theirs at start-up); tests install a RecordingUi.
///
/// Thread rule: install services at start-up; CurrentUi() and the headless default may then be
/// used from any thread (a component on a worker thread shows its boxes and cursor through them).
/// An implementation that draws must take calls from every thread: the Qt programs' one shows a
/// worker's boxes on the GUI thread and leaves the GUI thread's cursor alone. RecordingUi is for
/// tests on one thread.

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "framework/export.h"
#include "framework/set_of.h"

namespace tabulix::framework {

/// The kind of a message box, which gives its icon and usual caption.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

/// A message box's button.
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };
/// A message box's buttons.
using TMsgDlgButtons = SetOf<TMsgDlgBtn>;
/// The usual sets of buttons.
///@{
constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbOKOnly{mbOK};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
///@}

/// How a modal box ended: the button pressed, or mrNone.
enum class TModalResult { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo };

/// The answer a button gives: mbYes gives mrYes, ...
/// @param button the button.
TABULIX_API TModalResult ResultOf(TMsgDlgBtn button);

/// Screen cursors, by the framework's numbers.
enum TCursor : std::int16_t {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crHourGlass = -11,
    crSQLWait = -17,
};

/// @brief The message boxes and the screen cursor that components use, behind an interface so
/// that the library needs no windowing toolkit. One instance is current for the whole process
/// (CurrentUi): a headless one until the program installs its own.
/// @threads Install the services at start-up; then any thread may call them, and an
/// implementation takes calls from every thread.
class TABULIX_API UiServices {
public:
    /// Frees the services.
    virtual ~UiServices() = default;

    /// Shows a modal message box and returns the button pressed. An empty caption means the
    /// implementation's usual one for the box type. Texts are UTF-8; "\r" or "\n" break lines.
    virtual TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type,
                                    TMsgDlgButtons buttons) = 0;

    /// The cursor shown now.
    virtual TCursor ScreenCursor() const = 0;
    /// Shows a cursor.
    /// @param cursor the cursor.
    virtual void SetScreenCursor(TCursor cursor) = 0;
};

/// The current services. Never null: the headless default when nothing else is installed.
TABULIX_API UiServices& CurrentUi();
/// Installs `services` (borrowed: it must outlive its installation) and returns the previous
/// one; null restores the headless default.
TABULIX_API UiServices* SetCurrentUi(UiServices* services);

/// @brief The process-wide default of programs without a window: shows nothing and answers at
/// once, so that no question destroys data nobody was asked about.
///
/// The answer is the configured one when the box has that button, otherwise the one that leaves
/// things as they are: Cancel, else No, else Abort, else the box's only or first button (OK). So
/// "clear the formulas? Yes/No" is answered No and an OK/Cancel box Cancel. The cursor is only
/// remembered.
/// @threads Any thread may show a box or set the answer.
class TABULIX_API HeadlessUi : public UiServices {
public:
    TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons) override;
    TCursor ScreenCursor() const override { return cursor_; }
    void SetScreenCursor(TCursor cursor) override { cursor_ = cursor; }

    /// The answer to give where the box offers it; mrNone (the default) means the safe one
    /// described above. May be set from any thread.
    /// @param answer the answer.
    void SetAnswer(TModalResult answer) { answer_ = answer; }

private:
    std::atomic<TModalResult> answer_ = TModalResult::mrNone;
    std::atomic<TCursor> cursor_ = crDefault;
};

/// The headless services in use while no program installed its own: a program without a window
/// sets its answer to every question here (DefaultUi().SetAnswer(TModalResult::mrYes)).
TABULIX_API HeadlessUi& DefaultUi();

/// @brief A fake for tests: records every box and every cursor change, answers boxes from a
/// queue (when the queue is empty, with the box's first button). Installs itself as the current
/// services for its lifetime and restores the previous ones afterwards.
/// @threads One thread at a time.
class TABULIX_API RecordingUi : public UiServices {
public:
    /// A message box as it was shown.
    struct Box {
        /// The text.
        std::string text;
        /// The caption.
        std::string caption;
        /// The kind.
        TMsgDlgType type;
        /// The buttons.
        TMsgDlgButtons buttons;
        /// The answer given.
        TModalResult answer;
    };

    /// Installs itself as the current services.
    RecordingUi();
    /// Restores the services that were current before.
    ~RecordingUi() override;
    RecordingUi(const RecordingUi&) = delete;
    RecordingUi& operator=(const RecordingUi&) = delete;

    TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons) override;
    TCursor ScreenCursor() const override { return cursor_; }
    void SetScreenCursor(TCursor cursor) override;

    /// Queues the answer of a coming box.
    /// @param answer the answer.
    void QueueAnswer(TModalResult answer) { answers_.push_back(answer); }
    /// Every box shown, in order.
    const std::vector<Box>& Boxes() const { return boxes_; }
    /// Every cursor set, in order (also repeated ones).
    const std::vector<TCursor>& CursorChanges() const { return cursorChanges_; }
    /// Forgets the boxes, the cursor changes and the queued answers.
    void Clear();

private:
    UiServices* previous_;
    std::deque<TModalResult> answers_;
    std::vector<Box> boxes_;
    std::vector<TCursor> cursorChanges_;
    TCursor cursor_ = crDefault;
};

/// @brief Shows the hourglass (or another cursor) for its lifetime and sets crDefault when it
/// ends, also when an exception leaves the scope.
/// @threads Any thread; the Qt programs show it only for the GUI thread's own work.
class TABULIX_API ScopedCursor {
public:
    /// Shows the cursor.
    /// @param cursor the cursor to show.
    explicit ScopedCursor(TCursor cursor = crHourGlass);
    /// Sets crDefault.
    ~ScopedCursor();
    ScopedCursor(const ScopedCursor&) = delete;
    ScopedCursor& operator=(const ScopedCursor&) = delete;
};

}  // namespace tabulix::framework
