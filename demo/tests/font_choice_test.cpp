// Fonts and colours between the Qt dialogs and the component: a choice comes back as it went in.

#include <gtest/gtest.h>

#include "demo/font_choice.h"

namespace tabulix::demo {
namespace {

TEST(FontChoice, AFontThroughTheDialogKeepsItsHeightAndStyle) {
    for (const int height : {-11, -13, -16, -27}) {
        framework::TFont font;
        font.SetName("DejaVu Sans");
        font.SetHeight(height);
        font.SetStyle({framework::fsBold, framework::fsItalic, framework::fsUnderline, framework::fsStrikeOut});
        font.SetColor(framework::clMaroon);

        framework::TFont back;
        back.SetColor(framework::clMaroon);
        AssignDialogFont(back, DialogFont(font));
        EXPECT_EQ(back.Height(), height);
        EXPECT_EQ(back.Style(), font.Style());
        EXPECT_EQ(back.Name(), AvailableFamily("DejaVu Sans").toStdString());
        EXPECT_EQ(back.Color(), framework::clMaroon) << "the dialog does not choose the colour";
    }
}

TEST(FontChoice, AFontGivenInPixelsKeepsThem) {
    framework::TFont font;
    AssignDialogFont(font, WidgetFont("DejaVu Sans", 19));
    EXPECT_EQ(font.Height(), -19);
    EXPECT_EQ(font.Style(), framework::TFontStyles{});
}

TEST(FontChoice, AFaceTheMachineLacksBecomesItsStandIn) {
    const QString standIn = AvailableFamily("No Such Face Anywhere");
    EXPECT_FALSE(standIn.isEmpty());
    EXPECT_NE(standIn, "No Such Face Anywhere");
    EXPECT_EQ(AvailableFamily(standIn), standIn);
}

TEST(FontChoice, ColoursKeepTheirRedGreenAndBlue) {
    EXPECT_EQ(ComponentColor(QColor(0, 128, 128)), framework::clTeal);
    EXPECT_EQ(ComponentColor(QColor(128, 0, 128)), framework::clPurple);
    EXPECT_EQ(DialogColor(framework::RGB(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(DialogColor(framework::clWindowText), QColor(Qt::black)) << "a system colour starts the dialog on black";
}

}  // namespace
}  // namespace tabulix::demo
