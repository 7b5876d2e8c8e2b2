// The workbook the window builds with its starting settings, saved as a user saves it: through the
// spreadsheet window's "Save as…". With
// TABULIX_DEMO_WORKBOOK set the file is written there and kept, for scripts/check_demo_workbook.py.

#include <cstdlib>

#include "demo/tests/demo_window_fixture.h"

namespace tabulix::demo::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(DemoWindowTest, TheStartingSettingsBuildTheDemonstrationWorkbook) {
    const char* wanted = std::getenv("TABULIX_DEMO_WORKBOOK");
    const fs::path path = wanted ? fs::path(wanted) : fs::temp_directory_path() / "demo_window_workbook.xlsx";
    fs::remove(path);

    open();
    click("Button1");
    ASSERT_TRUE(boxes().empty()) << boxes().front().text;
    SaveActiveWorkbookAs(QString::fromStdString(path.string()));

    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_GT(fs::file_size(path), 4000u);
    if (!wanted) fs::remove(path);
}

}  // namespace
}  // namespace tabulix::demo::testing
