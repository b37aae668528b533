// Quote colouring and link underlining of the editor.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "editor/VellEditSub.h"
#include "editor/VellHighlight.h"

using namespace std::string_literals;
using cvt::TVellStrings;
using Rows = std::vector<std::string>;

namespace {

const std::string End("\0\0", 2);

void Fill(TVellStrings& store, const Rows& rows) {
    store.Clear();
    for (const auto& r : rows) store.Add(r);
}

std::string Format(const std::vector<cvt::LinkPiece>& pieces) {
    std::string out;
    for (const auto& p : pieces) {
        if (!out.empty()) out += ' ';
        out += std::to_string(p.Row) + ':' + std::to_string(p.Begin) + '-' + std::to_string(p.End);
    }
    return out;
}

std::string Links(const Rows& rows, int first = 0, int last = INT_MAX, bool single = false) {
    TVellStrings store;
    Fill(store, rows);
    return Format(cvt::FindLinks(store, first, last, single, cvt::IsCp932LeadByte));
}

}  // namespace

TEST(VellHighlightLinks, PrefixesCaseAndDelimiters) {
    EXPECT_EQ(Links({"see HTTP://A.b/C x\r\n", End}), "0:4-16");
    EXPECT_EQ(Links({"HTTPS://a mailto:b mail:c ftp://d\r\n"}), "0:0-9 0:10-18 0:19-25");
    EXPECT_EQ(Links({"https:/x y\r\n"}), "0:0-8");
    EXPECT_EQ(Links({"http://a\r\n", "b" + End}), "0:0-8");  // the line end stops a link
    EXPECT_EQ(Links({"http://a" + End}), "0:0-8");
    for (const char c : "\t \"<>[]\\`{}|"s) EXPECT_EQ(Links({"http://a"s + c + "b\r\n"}), "0:0-8") << c;
    for (const char c : "(),;'.#*"s) EXPECT_EQ(Links({"http://a"s + c + "b\r\n"}), "0:0-10") << c;
}

TEST(VellHighlightLinks, DoubleByteCharacters) {
    EXPECT_EQ(Links({"http://aあb\r\n"}), "0:0-8");
    EXPECT_EQ(Links({"表http://a表\r\n"}), "0:2-10");
    // The second byte of Ｉ is 'h': no link starts inside a character.
    EXPECT_EQ(Links({"Ｉttp://x\r\n"}), "");
    EXPECT_EQ(Links({"aＩ", "ttp://x\r\n"}), "");  // nor on a row's last byte, with the rest on the next row
    EXPECT_EQ(Links({"\x82", "http://x\r\n"}), "1:0-8");
    EXPECT_EQ(Links({"\x82" "HTTP://x\r\n"}), "");
    EXPECT_EQ(Links({"\x82" "HTTP://x\r\n"}, 0, 0, true), "0:1-9");
    // A lead byte without its second byte at a row's end.
    EXPECT_EQ(Links({"http://a\x82", "b\r\n"}), "0:0-8");
    EXPECT_EQ(Links({"tag:a.b\x82", "c;d\r\n"}), "0:0-8 1:0-1");
    EXPECT_EQ(Links({"x\x82\r\n", "http://y" + End}), "1:0-8");
}

// Random rows of link fragments: pieces stay inside the text, never split a character, and do not
// depend on where the page starts.
TEST(VellHighlight, RandomRowsKeepPiecesSound) {
    const std::string parts[] = {"http://", "HTTPS:/", "mail:", "mailto:", "tag:", "ht", "tp://", "ta", "g:",
                                 ".",       " ",       ",",     "|",       "<",    "a",  "あ",    "ポ", "表", "\x82"};
    std::mt19937 rng(20240611);
    TVellStrings store;
    for (int round = 0; round < 300; ++round) {
        Rows rows(1 + rng() % 8);
        for (auto& row : rows) {
            for (int n = static_cast<int>(rng() % 6); n > 0; --n) row += parts[rng() % std::size(parts)];
            if (rng() % 3 == 0) row += "\r\n";
        }
        rows.back() += End;
        Fill(store, rows);
        const int last = static_cast<int>(rows.size()) - 1;
        const auto all = cvt::FindLinks(store, 0, last, false, cvt::IsCp932LeadByte);
        for (std::size_t i = 0; i < all.size(); ++i) {
            const auto& p = all[i];
            const std::string text = cvt::StripRowEnd(rows[static_cast<std::size_t>(p.Row)]);
            ASSERT_LT(p.Begin, p.End);
            ASSERT_LE(p.End, static_cast<int>(text.size()));
            EXPECT_NE(cvt::GetByteType(text, p.Begin + 1, false, cvt::IsCp932LeadByte), cvt::ByteType::Trail);
            EXPECT_NE(cvt::GetByteType(text, p.End + 1, false, cvt::IsCp932LeadByte), cvt::ByteType::Trail);
            if (i > 0) ASSERT_TRUE(all[i - 1].Row < p.Row || all[i - 1].End <= p.Begin);
        }
        const int first = static_cast<int>(rng() % rows.size());
        std::vector<cvt::LinkPiece> tail;
        std::copy_if(all.begin(), all.end(), std::back_inserter(tail), [&](const auto& p) { return p.Row >= first; });
        ASSERT_EQ(Format(cvt::FindLinks(store, first, last, false, cvt::IsCp932LeadByte)), Format(tail)) << round;
    }
}
