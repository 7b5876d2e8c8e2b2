#include "framework/string_list.h"

#include <gtest/gtest.h>

using tabulix::framework::EStringListError;
using tabulix::framework::TStringList;

TEST(StringList, AddInsertDeleteKeepOrderAndDuplicates) {
    TStringList list;
    EXPECT_EQ(list.Add("b"), 0);
    EXPECT_EQ(list.Add("a"), 1);
    EXPECT_EQ(list.Add("b"), 2);
    list.Insert(0, "first");
    list.Insert(4, "last");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"first", "b", "a", "b", "last"}));
    EXPECT_EQ(list.IndexOf("b"), 1);
    EXPECT_EQ(list.IndexOf("B"), -1);
    list.Delete(1);
    list.SetStrings(0, "zero");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"zero", "a", "b", "last"}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, BadIndexRaisesTheFrameworkMessage) {
    TStringList list{"x"};
    try {
        list.Strings(1);
        FAIL() << "no error";
    } catch (const EStringListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    }
    EXPECT_THROW(list.Strings(-1), EStringListError);
    EXPECT_THROW(list.SetStrings(1, "y"), EStringListError);
    EXPECT_THROW(list.Delete(1), EStringListError);
    EXPECT_THROW(list.Insert(2, "y"), EStringListError);
    EXPECT_NO_THROW(list.Insert(1, "y"));
}

TEST(StringList, TextJoinsWithCrLfAndSplitsAnyLineBreak) {
    TStringList list{"a", "", "c"};
    EXPECT_EQ(list.Text(), "a\r\n\r\nc\r\n");
    list.SetText("one\r\ntwo\nthree\rfour\r\n");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"one", "two", "three", "four"}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, NameValuePairs) {
    TStringList params{"PATH=c:\\demo\\", "ENABLE BCD=FALSE"};
    EXPECT_EQ(params.Values("path"), "c:\\demo\\");
    EXPECT_EQ(params.Names(1), "ENABLE BCD");
    EXPECT_EQ(params.Values("MISSING"), "");
    params.SetValues("ENABLE BCD", "TRUE");
    params.SetValues("DEFAULT DRIVER", "DBASE");
    EXPECT_EQ(params.Lines(), (std::vector<std::string>{"PATH=c:\\demo\\", "ENABLE BCD=TRUE", "DEFAULT DRIVER=DBASE"}));
    params.SetValues("PATH", "");
    EXPECT_EQ(params.IndexOfName("PATH"), -1);
}

TEST(StringList, SortedAssignAndOnChange) {
    int changes = 0;
    TStringList list;
    list.OnChange = [&] { ++changes; };
    list.SetSorted(true);
    list.Add("b");
    list.Add("A");
    list.Add("c");
    list.Add("a");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"A", "a", "b", "c"}));
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    EXPECT_EQ(changes, 4);

    TStringList copy;
    copy.Assign(list);
    EXPECT_EQ(copy, list);
    EXPECT_FALSE(copy.OnChange);
    copy.Assign(copy);
    EXPECT_EQ(copy.Count(), 4);
}
