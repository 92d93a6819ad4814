#include "components/formats/legacy_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

struct Case {
    const char* what;
    int mode;
    std::string in;   // raw bytes
    std::string out;  // CP932 bytes; ignored on failure
    bool converts = true;
};

std::string u(const char* utf8) { return sj(utf8); }

std::vector<Case> cases()
{
    return {
        // every byte kept; only the ends are cut
        {"mode 20 keeps control bytes inside", 20, " \x01" "A\x7F\xFF\x01 ", "A\x7F\xFF"},
        // the legacy single-byte table
        {"digits and letters", 0, "09AZaz", u("０９ＡＺａｚ")},
        {"signs", 0, " !~\\^_", u("　！～￥＾＿")},
        {"kanji in the control positions", 0, "\x01\x07\x08\x10\x1D\x1E\x1F", u("月日年π大中小")},
        {"punctuation", 0, "\xA1\xA2\xA3\xA4\xA5", u("。「」、・")},
        {"katakana", 0, "\xA6\xA7\xAF\xB0\xB1\xDC\xDD", u("ヲァッーアワン")},
        {"hiragana", 0, "\x86\x87\x8F\x91\x9F\xE0\xFD", u("をぁっあそたん")},
        {"voicing marks", 0, "\xB6\xDE\xCA\xDF\x96\xDE\xB3\xDE", u("ガパがヴ")},
        {"a mark after a digit stays a byte", 0, "1\xDE", u("１") + "\xDE"},
        {"unnamed bytes are copied", 0, "\x90\x00\x11\xFE\xFF\xDF"s, "\x90\x00\x11\xFE\xFF\xDF"s},
        {"trailing spaces stay full-width", 0, "AB  ", u("ＡＢ　　")},
        {"mode 10 is the legacy table", 10, "\xB6\xDE", u("ガ")},
        // digit pairs
        {"digit pairs and JIS blanks", 3, "0#1#!!9#", "019"},
        {"a digit pair of odd length", 3, "1#2", "12"},
        {"a pair that is no digit fails", 3, "1#A#", "", false},
        // the JIS pair rule
        {"a JIS digit", 1, "0#", u("０")},
        {"row 0x30", 1, "!0", u("亜")},
        {"row 0x5F", 1, "!_", u("漾")},
        {"cell 0x60 of an odd row skips 0x7F", 1, "`1", "\x89\x80"},
        {"row 0x5E, the last below the gap", 1, "!^", "\x9F\x9F"},
        {"mode 1 drops ideographic spaces", 1, "0#!!1#!!", u("０１")},
        {"other modes keep them", 2, "0#!!", u("０　")},
        {"negative modes are JIS pairs", -4, "!!0#", u("　０")},
        {"the old system's own signs of row 2", 2, "/\"0\"1\":\"", u("㈱㈲ⅠⅩ")},
        {"an odd last byte pairs with 0", 2, "0", "\x70\xAE"},
        {"a cell below 0x21 fails", 1, " $", "", false},
        {"cell 0x7F fails", 5, "0#\x7F#", "", false},
        {"8-bit arithmetic, whatever the bytes", 2, "\x90\x22" "A#", "\x81\x0E" + u("Ａ")},
        // the half-width table
        {"spaces before a character", 22, sj("ｶﾞｲｼﾞ") + "  ABC ", u("ガイジ　ＡＢＣ")},
        {"the same as hiragana", 21, sj("ｶﾞｲｼﾞ") + "  ABC ", u("がいじ　ＡＢＣ")},
        {"leading spaces give one space", 23, "  A", u("　Ａ")},
        {"vu", 22, "\xB3\xDE", u("ヴ")},
        {"vu as hiragana is plain u", 21, "\xB3\xDE", u("う")},
        {"semi-voiced", 22, sj("ﾊﾟﾎﾟ"), u("パポ")},
        {"single kana and signs", 22, sj("ｦｧｯｰｱﾝ･") + "_", u("ヲァッーアン・　")},
        {"the exceptions of ASCII", 22, "^ux", u("∧μ×")},
        {"double-byte text passes", 30, u("平成") + "1", u("平成１")},
        {"a lead byte at the end is copied alone", 22, "A\x82", u("Ａ") + "\x82"},
        {"dropped bytes", 22, "\x01\x7F\xA1\xA4\xDE\xDF" "A", u("Ａ")},
        {"a mark after a kana that takes none", 22, sj("ｱﾞ"), u("ア")},
    };
}

TEST(ConvertLegacyText, ConvertsEachModeByItsTable)
{
    for (const Case& c : cases()) {
        SjisString s = c.in;
        EXPECT_EQ(ConvertLegacyText(s, c.mode), c.converts) << c.what;
        EXPECT_EQ(s, c.converts ? c.out : c.in) << c.what;
    }
}

TEST(ConvertLegacyText, EmptyTextConvertsInEveryMode)
{
    for (int mode : {-1, 0, 1, 2, 3, 10, 20, 21, 22, 99}) {
        SjisString s;
        EXPECT_TRUE(ConvertLegacyText(s, mode)) << mode;
        EXPECT_EQ(s, "") << mode;
    }
}

}  // namespace
