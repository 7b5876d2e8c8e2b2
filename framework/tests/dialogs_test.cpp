// The font and colour dialogs' stored choices in form files: read into the components, and
// written back unchanged.

#include <gtest/gtest.h>

#include "framework/dialogs.h"
#include "framework/form.h"
#include "framework/form_reader.h"
#include "framework/form_writer.h"

namespace fw = tabulix::framework;

namespace {

const char* const kDialogs = R"(object Form1: TForm
  object FDial: TFontDialog
    Font.Charset = ANSI_CHARSET
    Font.Color = clMaroon
    Font.Height = -16
    Font.Name = 'Tahoma'
    Font.Style = [fsBold, fsUnderline]
    MinFontSize = 6
    MaxFontSize = 72
  end
  object CDial: TColorDialog
    Color = clTeal
  end
end
)";

TEST(DialogChoices, AreReadFromAFormFileAndWrittenBackUnchanged) {
    std::unique_ptr<fw::TComponent> root = fw::ReadForm(kDialogs, "Dialogs.form");
    auto* fonts = dynamic_cast<fw::TFontDialog*>(root->FindComponent("FDial"));
    auto* colours = dynamic_cast<fw::TColorDialog*>(root->FindComponent("CDial"));
    ASSERT_NE(fonts, nullptr);
    ASSERT_NE(colours, nullptr);
    EXPECT_EQ(fonts->Font().Name(), "Tahoma");
    EXPECT_EQ(fonts->Font().Height(), -16);
    EXPECT_EQ(fonts->Font().Color(), fw::clMaroon);
    EXPECT_EQ(fonts->Font().Style(), (fw::TFontStyles{fw::fsBold, fw::fsUnderline}));
    EXPECT_EQ(fonts->MinFontSize, 6);
    EXPECT_EQ(fonts->MaxFontSize, 72);
    EXPECT_EQ(colours->Color, fw::clTeal);

    EXPECT_EQ(fw::WriteForm(*root), kDialogs);
}

TEST(DialogChoices, StartAsTheToolkitsDialogsDo) {
    fw::TForm form(nullptr);
    fw::TFontDialog fonts(&form);
    fw::TColorDialog colours(&form);
    EXPECT_EQ(fonts.Font().Name(), "MS Sans Serif");
    EXPECT_EQ(fonts.Font().Height(), -11);
    EXPECT_EQ(fonts.MinFontSize, 0);
    EXPECT_EQ(fonts.MaxFontSize, 0);
    EXPECT_EQ(colours.Color, fw::clBlack);
}

}  // namespace
