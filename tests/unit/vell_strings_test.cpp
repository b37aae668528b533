// The editor's line store: rows, index errors, text conversions, files and streams.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "editor/VellStrings.h"

using namespace std::string_literals;
using cvt::LineBreakStyle;
using cvt::TVellStrings;
using Rows = std::vector<std::string>;

namespace {

Rows RowsOf(const TVellStrings& store) {
    Rows rows;
    for (int i = 0; i < store.Count(); ++i) rows.push_back(store.Get(i));
    return rows;
}

// action must fail with the index error and leave rows and slots as they were.
template <class Action>
void ExpectIndexError(TVellStrings& store, Action action) {
    const auto before = RowsOf(store);
    const int capacity = store.Capacity();
    try {
        action();
        ADD_FAILURE() << "no error";
    } catch (const cvt::ListIndexError& e) {
        EXPECT_STREQ(e.what(), "インデックスがリストの範囲を超えています");
    }
    EXPECT_EQ(RowsOf(store), before);
    EXPECT_EQ(store.Capacity(), capacity);
}

}  // namespace

TEST(VellStrings, BadIndexesAndSizesChangeNothing) {
    TVellStrings store;
    EXPECT_EQ(store.Add("b\0\0"s), 0);
    store.Insert(0, "a\r\n");
    store.Insert(2, "c");  // at Count: appends
    store.Delete(2);
    ExpectIndexError(store, [&] { (void)store.Get(2); });
    ExpectIndexError(store, [&] { store.Put(-1, "x"); });
    ExpectIndexError(store, [&] { store.Delete(-1); });
    ExpectIndexError(store, [&] { store.Insert(3, "x"); });
    ExpectIndexError(store, [&] { store.Insert(-1, "x"); });
    int index = 3;
    ExpectIndexError(store, [&] { store.InsertText(index, "x\r\n"); });
    ExpectIndexError(store, [&] { store.SetCapacity(1); });
    ExpectIndexError(store, [&] { store.SetCount(TVellStrings::MaxRows + 1); });
    EXPECT_EQ(RowsOf(store), (Rows{"a\r\n", "b\0\0"s}));
}

TEST(VellStrings, AssignAddStringsIndexOfAndCommaText) {
    TVellStrings store;
    store.Add("old");
    const Rows list = {"a b\r\n", "c\0\0"s};
    store.Assign(list);
    store.AddStrings(list);
    EXPECT_EQ(store.Capacity(), 4);
    EXPECT_EQ(store.IndexOf("c\0\0"s), 1);
    EXPECT_EQ(store.IndexOf("c"), -1);  // the row end is part of the row
    store.Assign(Rows{"a b", "c", "d,e", ""});
    EXPECT_EQ(store.GetCommaText(), "\"a b\",c,\"d,e\",");
    store.SetCommaText("\"a b\",c,\"d,e\",x,,y\r\nz");  // an item stops at CR; the byte after it is skipped
    EXPECT_EQ(RowsOf(store), (Rows{"a b", "c", "d,e", "x", "", "y", "\nz"}));
}

class VellStringsFiles : public ::testing::Test {
protected:
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("cvt-vell-" + std::to_string(std::random_device{}()));
    TVellStrings store;

    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // ANSI byte path: the store opens it as such.
    std::string File(const std::string& name) const {
        return dir.string() + static_cast<char>(std::filesystem::path::preferred_separator) + name;
    }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
        return File(name);
    }
    Rows Load(const std::string& bytes) {
        store.LoadFromFile(Write("in.txt", bytes));
        EXPECT_EQ(store.Capacity(), store.Count());
        return RowsOf(store);
    }
};

TEST_F(VellStringsFiles, EveryStyleLoadsIntoCrLfRowsEndingWithTheMarker) {
    const std::string longLine(3000, 'x');  // a first line past any fixed look-ahead
    EXPECT_EQ(Load(longLine + "\r\nあ\r\n"), (Rows{longLine + "\r\n", "あ\r\n", "\0\0"s}));
    EXPECT_EQ(Load("a\r\nb\r"), (Rows{"a\r\n", "b\r\n", "\0\0"s}));  // a lone CR at the end completed
    EXPECT_EQ(Load("a\nb"), (Rows{"a\r\n", "b\0\0"s}));
    EXPECT_EQ(Load("a\n"), (Rows{"a\r\n", "\0\0"s}));
    EXPECT_EQ(Load("a\rb\nc\r"), (Rows{"a\r\n", "b\nc\r\n", "\0\0"s}));  // LF is text in a CR file
    EXPECT_EQ(Load("a\n\0b\rc\0"s), (Rows{"a\r\n", "b\rc\0\0"s}));       // NULs dropped
    EXPECT_EQ(Load(""), (Rows{"\0\0"s}));
    std::string lines;
    for (int i = 0; i < 3000; ++i) lines += std::to_string(i) + "\n";  // rows across 16 KiB blocks
    const auto rows = Load(lines);
    ASSERT_EQ(rows.size(), 3001u);
    for (int i = 0; i < 3000; ++i) ASSERT_EQ(rows[static_cast<std::size_t>(i)], std::to_string(i) + "\r\n");
}
