#include "framework/ui_services.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace fw = tabulix::framework;
using fw::TModalResult;

TEST(UiServices, HeadlessDefaultAnswersSoThatNothingChangesOrAsConfigured) {
    fw::HeadlessUi ui;
    EXPECT_EQ(ui.MessageDlg("¿Seguro?", "", fw::TMsgDlgType::mtConfirmation, fw::mbYesNo), TModalResult::mrNo);
    EXPECT_EQ(ui.MessageDlg("x", "", fw::TMsgDlgType::mtWarning, fw::mbOKCancel), TModalResult::mrCancel);
    EXPECT_EQ(ui.MessageDlg("x", "", fw::TMsgDlgType::mtConfirmation, fw::mbYesNoCancel), TModalResult::mrCancel);
    EXPECT_EQ(ui.MessageDlg("x", "", fw::TMsgDlgType::mtError, fw::mbAbortRetryIgnore), TModalResult::mrAbort);
    EXPECT_EQ(ui.MessageDlg("x", "", fw::TMsgDlgType::mtInformation, fw::mbOKOnly), TModalResult::mrOk);
    ui.SetAnswer(TModalResult::mrYes);
    EXPECT_EQ(ui.MessageDlg("x", "", fw::TMsgDlgType::mtConfirmation, fw::mbYesNo), TModalResult::mrYes);
    EXPECT_EQ(ui.MessageDlg("x", "", fw::TMsgDlgType::mtInformation, fw::mbOKOnly), TModalResult::mrOk);
    ui.SetScreenCursor(fw::crHourGlass);
    EXPECT_EQ(ui.ScreenCursor(), fw::crHourGlass);
}

TEST(UiServices, RecordingFakeIsCurrentWhileItLivesAndRecordsBoxesAndCursors) {
    fw::UiServices* before = &fw::CurrentUi();
    {
        fw::RecordingUi ui;
        EXPECT_EQ(&fw::CurrentUi(), &ui);
        ui.QueueAnswer(TModalResult::mrNo);
        EXPECT_EQ(fw::CurrentUi().MessageDlg("first\rsecond", "Confirm", fw::TMsgDlgType::mtConfirmation, fw::mbYesNo),
                  TModalResult::mrNo);
        EXPECT_EQ(fw::CurrentUi().MessageDlg("again", "", fw::TMsgDlgType::mtConfirmation, fw::mbYesNo),
                  TModalResult::mrYes);
        ASSERT_EQ(ui.Boxes().size(), 2u);
        EXPECT_EQ(ui.Boxes()[0].text, "first\rsecond");
        EXPECT_EQ(ui.Boxes()[0].caption, "Confirm");
        EXPECT_EQ(ui.Boxes()[0].type, fw::TMsgDlgType::mtConfirmation);
        EXPECT_EQ(ui.Boxes()[0].buttons, fw::mbYesNo);
        EXPECT_EQ(ui.Boxes()[0].answer, TModalResult::mrNo);

        try {
            fw::ScopedCursor busy;
            EXPECT_EQ(fw::CurrentUi().ScreenCursor(), fw::crHourGlass);
            throw std::runtime_error("failed half-way");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(ui.ScreenCursor(), fw::crDefault);
        EXPECT_EQ(ui.CursorChanges(), (std::vector<fw::TCursor>{fw::crHourGlass, fw::crDefault}));
    }
    EXPECT_EQ(&fw::CurrentUi(), before);
}

TEST(UiServices, InstallingNullRestoresTheHeadlessDefault) {
    fw::HeadlessUi mine;
    fw::UiServices* previous = fw::SetCurrentUi(&mine);
    EXPECT_EQ(&fw::CurrentUi(), &mine);
    fw::SetCurrentUi(nullptr);
    EXPECT_EQ(&fw::CurrentUi(), &fw::DefaultUi());
    EXPECT_EQ(fw::CurrentUi().MessageDlg("x", "", fw::TMsgDlgType::mtConfirmation, fw::mbYesNo), TModalResult::mrNo);
    fw::DefaultUi().SetAnswer(TModalResult::mrYes);
    EXPECT_EQ(fw::CurrentUi().MessageDlg("x", "", fw::TMsgDlgType::mtConfirmation, fw::mbYesNo), TModalResult::mrYes);
    fw::DefaultUi().SetAnswer(TModalResult::mrNone);
    fw::SetCurrentUi(previous);
}
