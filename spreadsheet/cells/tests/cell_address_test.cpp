#include <gtest/gtest.h>

#include "automation/automation_error.h"
#include "spreadsheet/cells/cell_address.h"

using namespace tabulix::spreadsheet;
using tabulix::automation::AutomationError;

TEST(CellAddress, ParsesNamesAtTheEdgesOfTheSheet) {
    EXPECT_EQ(parseCellName("A1"), (CellAddress{1, 1}));
    EXPECT_EQ(parseCellName("XFD1048576"), (CellAddress{1048576, 16384}));
    EXPECT_EQ(parseCellName("Z9"), (CellAddress{9, 26}));
    EXPECT_EQ(parseCellName("AA10"), (CellAddress{10, 27}));
    EXPECT_EQ(parseCellName("xfd1"), (CellAddress{1, 16384}));  // lower case is accepted
    EXPECT_EQ(parseCellName("$B$12"), (CellAddress{12, 2}));
}

TEST(CellAddress, RefusesWhatIsNotACellNameAndNamesTheText) {
    for (const char* bad : {"", "A0", "XFE1", "1A", "A1048577", "A", "1", "A-1", "A1 ", " A1", "A01", "Á1", "$", "A$",
                            "AAAA1", "A99999999999"}) {
        try {
            parseCellName(bad);
            ADD_FAILURE() << "accepted \"" << bad << "\"";
        } catch (const AutomationError& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + std::string(bad) + "\""), std::string::npos) << e.what();
        }
    }
}

TEST(CellAddress, RangeReferencesAreNormalisedRectangles) {
    EXPECT_EQ(parseRangeRef("B2"), (CellRect{{2, 2}, {2, 2}}));
    EXPECT_EQ(parseRangeRef("C3:A1"), (CellRect{{1, 1}, {3, 3}}));
    EXPECT_EQ(parseRangeRef("A3:C1"), (CellRect{{1, 1}, {3, 3}}));
    EXPECT_THROW(parseRangeRef("A1:"), AutomationError);
    EXPECT_THROW(parseRangeRef("A1:B2:C3"), AutomationError);
    EXPECT_THROW(parseRangeRef(":B2"), AutomationError);
}

TEST(CellAddress, FormatsNamesThatParseBack) {
    for (std::uint32_t column : {1u, 26u, 27u, 52u, 53u, 702u, 703u, 16384u}) {
        const CellAddress a{7, column};
        EXPECT_EQ(parseCellName(cellName(a)), a) << cellName(a);
    }
    EXPECT_EQ(columnLetters(702), "ZZ");
    EXPECT_EQ(columnLetters(703), "AAA");
    EXPECT_EQ(rangeName(CellRect{{1, 1}, {3, 2}}), "A1:B3");
    EXPECT_EQ(rangeName(CellRect{{4, 3}, {4, 3}}), "C4");
}
