// The automatic page as a user drives it: the two transfers with the window's settings, the
// results panel and its two lookups, and the chart of the transferred block.

#include <QFrame>

#include "component/tabulix.h"
#include "demo/tests/demo_window_fixture.h"
#include "spreadsheet/model/chart_sheet.h"

namespace tabulix::demo::testing {
namespace {

class TransferWindowTest : public DemoWindowTest {
protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        open();
    }

    QStringList entries(const char* name) const {
        QStringList all;
        QComboBox* box = list(name);
        for (int i = 0; i < box->count(); ++i) all << box->itemText(i);
        return all;
    }

    // The chart sheet `name` of the active workbook, or null.
    static std::shared_ptr<spreadsheet::ChartSheet> chartSheet(const std::string& name) {
        for (const auto& sheet : activeBook()->sheets())
            if (sheet->name() == name) return std::dynamic_pointer_cast<spreadsheet::ChartSheet>(sheet);
        return nullptr;
    }

    // The block the chart sheet `name` of the active workbook was built on, as "B2:E20".
    std::string chartSource(const std::string& name) const {
        auto chart = chartSheet(name);
        if (!chart || !chart->model()) return "(no chart " + name + ")";
        const spreadsheet::CellRect source = chart->model()->source;
        return spreadsheet::cellName(source.first) + ":" + spreadsheet::cellName(source.last);
    }
};

TEST_F(TransferWindowTest, NewWorkbookWithTheStoredSettingsFillsTheResultsPanel) {
    EXPECT_FALSE(control<QFrame>("Panel2")->isEnabled());
    click("Button1");
    ASSERT_TRUE(boxes().empty()) << boxes().front().text;

    ASSERT_EQ(app()->workbooks().size(), 1u);
    auto sheet = activeSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->name(), "Ejemplo");
    EXPECT_EQ(sheet->value(cell("A1")).toText(), "DATOS VENTAS");

    EXPECT_TRUE(control<QFrame>("Panel2")->isEnabled());
    EXPECT_EQ(textOf("Edit5"), "3");
    EXPECT_EQ(textOf("Edit6"), "20");

    const QStringList formulas = entries("ComboBox1");
    ASSERT_EQ(formulas.size(), 6);
    EXPECT_EQ(formulas[0].toStdString(), "=SUM(C3:C20)");
    EXPECT_EQ(formulas[3].toStdString(), "=(C21+D21+E21)");
    EXPECT_EQ(formulas[5].toStdString(), "=STDEV(C3:C20)");
    EXPECT_EQ(list("ComboBox1")->currentIndex(), 0);
    EXPECT_EQ(textOf("Edit7"), "C21");

    EXPECT_EQ(entries("ComboBox2"), QStringList({"COD_ARTI", "DESC_ARTI", "VENTAS_ENE", "VENTAS_FEB", "VENTAS_MAR",
                                                  "STOC_ACT", "PVP", "ACTIVO", "OTROS"}));
    EXPECT_EQ(list("ComboBox2")->currentText(), "COD_ARTI");
    EXPECT_EQ(textOf("Edit8"), "A3:A20");
}

TEST_F(TransferWindowTest, ChoosingInTheResultListsLooksUpTheCellAndTheRange) {
    click("Button1");
    QComboBox* formulas = list("ComboBox1");
    formulas->setCurrentIndex(4);
    emit formulas->activated(4);
    EXPECT_EQ(textOf("Edit7"), "E24");

    QComboBox* fields = list("ComboBox2");
    fields->setCurrentIndex(6);
    emit fields->activated(6);
    EXPECT_EQ(textOf("Edit8"), "G3:G20");
}

TEST_F(TransferWindowTest, NewSheetTransferAddsASheetAndRefreshesTheResults) {
    click("Button1");
    type("Edit2", "Segunda");
    type("Edit1", "4");
    click("Button9");
    ASSERT_TRUE(boxes().empty()) << boxes().front().text;

    ASSERT_EQ(app()->workbooks().size(), 1u) << "the new-sheet transfer made a workbook";
    EXPECT_EQ(activeBook()->worksheets().size(), 2u);
    EXPECT_EQ(activeSheet()->name(), "Segunda");
    EXPECT_EQ(textOf("Edit5"), "6");
    EXPECT_EQ(textOf("Edit6"), "23");
    EXPECT_EQ(textOf("Edit7"), "C24");
}

TEST_F(TransferWindowTest, TheWindowsSettingsReachTheComponent) {
    for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5"})
        check(name)->setChecked(false);
    check("CheckBox6")->setChecked(true);
    type("Edit4", "USD");
    click("Button1");

    const component::TTabulix& de = form->de();
    EXPECT_FALSE(de.AutoAjustarColumnasDatos);
    EXPECT_FALSE(de.AutoAjustarFormulas);
    EXPECT_TRUE(de.AutoAjustarFormulasTexto);
    EXPECT_FALSE(de.CabeceraMostrar);
    EXPECT_FALSE(de.TituloCombinarCentrar);
    EXPECT_FALSE(de.VerConstruccion);
    EXPECT_EQ(framework::Currency().CurrencyString, "USD");
    // Without headings the data starts right below the title.
    EXPECT_EQ(textOf("Edit5"), "2");
}

TEST_F(TransferWindowTest, AStartRowThatIsNotANumberTransfersFromRowZero) {
    type("Edit1", "x");
    click("Button1");
    EXPECT_EQ(form->de().FilaInicial, 0);
    for (const auto& box : boxes()) ADD_FAILURE() << "reported: " << box.text;
}

TEST_F(TransferWindowTest, ARefusedTransferIsReportedAndLeavesTheResultsPanelAsItWas) {
    type("Edit1", "2000000");
    click("Button1");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].type, framework::TMsgDlgType::mtError);
    EXPECT_FALSE(control<QFrame>("Panel2")->isEnabled());

    type("Edit1", "1");
    click("Button1");
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(textOf("Edit6"), "20") << "the window did not stay usable";
}

TEST_F(TransferWindowTest, ChartCoversTheDescriptionsToMarchWithOrWithoutTheHeadingRow) {
    click("Button1");
    click("Button8");
    ASSERT_TRUE(boxes().empty()) << boxes().front().text;
    EXPECT_EQ(chartSource("Grafica"), "B2:E20");
    EXPECT_EQ(activeSheet()->name(), "Ejemplo") << "the data sheet is active again after the chart";

    check("CheckBox3")->setChecked(false);
    type("Edit21", "Sin cabecera");
    click("Button8");
    ASSERT_TRUE(boxes().empty()) << boxes().front().text;
    EXPECT_EQ(chartSource("Sin cabecera"), "B3:E20");
}

TEST_F(TransferWindowTest, ChartOfABlockFurtherDownStartsOnItsHeadingRow) {
    type("Edit1", "3");
    click("Button1");
    click("Button8");
    EXPECT_EQ(chartSource("Grafica"), "B4:E22");
}

TEST_F(TransferWindowTest, ChartTakesTheChosenTypeOrientationTitlesAndLegend) {
    click("Button1");
    list("ComboBox3")->setCurrentIndex(4);  // xlBar
    list("ComboBox4")->setCurrentIndex(1);  // xlEnColumna
    type("Edit17", "Ventas");
    check("CheckBox8")->setChecked(false);
    click("Button8");
    auto chart = chartSheet("Grafica");
    ASSERT_TRUE(chart && chart->chart());
    const spreadsheet::ChartWizardSettings& settings = *chart->chart();
    EXPECT_EQ(settings.gallery, component::TTipoGraficoValor[4]);
    EXPECT_EQ(settings.plotBy, 2);
    EXPECT_EQ(settings.title, "Ventas");
    EXPECT_EQ(settings.hasLegend, false);
    EXPECT_EQ(settings.categoryLabels, 1);
    EXPECT_EQ(settings.seriesLabels, 1);
}

TEST_F(TransferWindowTest, ChartOnAConnectedSheetBeforeAnyTransferIsRefusedAndLeavesTheResults) {
    click("Button16");  // a workbook, so the component has a worksheet
    click("Button8");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].type, framework::TMsgDlgType::mtError);
    EXPECT_FALSE(control<QFrame>("Panel2")->isEnabled()) << "the refused chart refreshed the results";
    EXPECT_EQ(textOf("Edit5"), "");
    EXPECT_TRUE(control<QPushButton>("Button8")->isEnabled());
}

TEST_F(TransferWindowTest, ChartWithoutAWorksheetDoesNothingButShowsRowsZero) {
    click("Button8");
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(form->de().ExcelWorkbook(), nullptr);
    EXPECT_TRUE(control<QFrame>("Panel2")->isEnabled());
    EXPECT_EQ(textOf("Edit5"), "0");
    EXPECT_EQ(textOf("Edit6"), "0");
    EXPECT_EQ(list("ComboBox1")->count(), 6);
    EXPECT_EQ(textOf("Edit7"), "C1") << "record 1 is one row below data row 0";
    EXPECT_EQ(textOf("Edit8"), "") << "no range before a transfer";
}

TEST_F(TransferWindowTest, ALabelCountThatIsNotANumberStopsTheChart) {
    click("Button1");
    type("Edit22", "uno");
    click("Button8");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].text.find("'uno'"), std::string::npos) << boxes()[0].text;
    EXPECT_EQ(chartSheet("Grafica"), nullptr);
}

}  // namespace
}  // namespace tabulix::demo::testing
