#include "components/core/japanese_text.h"

#include <gtest/gtest.h>

namespace {

SjisString changed(SjisString s)
{
    ChangeChar(s);
    return s;
}

SjisString halfWidth(SjisString s)
{
    ToHalfWidth(s);
    return s;
}

SjisString hiragana(const char* utf8)
{
    SjisString s = sj(utf8);
    ToHiragana(s);
    return s;
}

TEST(ChangeChar, DigitsAndCapitalsGiveTheirFullWidthCodes)
{
    EXPECT_EQ(changed("0123456789"), sj("０１２３４５６７８９"));
    EXPECT_EQ(changed("AZ"), "\x82\x60\x82\x79");
    EXPECT_EQ(changed("AB-12 "), sj("ＡＢ－１２"));
}

TEST(ChangeChar, OtherSingleByteCharactersGetTheirProperForms)
{
    EXPECT_EQ(changed("abc"), sj("ａｂｃ"));
    EXPECT_EQ(changed("A B"), sj("Ａ　Ｂ"));
    EXPECT_EQ(changed("(1)/2."), sj("（１）／２．"));
    EXPECT_EQ(changed(sj("ｶﾞｿﾘﾝ")), sj("ガソリン"));
    EXPECT_EQ(changed(sj("ﾊﾟﾋﾞｳﾞｯﾞ")), sj("パビヴッ゛"));
    EXPECT_EQ(changed(sj("ｱﾟ")), sj("ア゜"));
    EXPECT_EQ(changed(sj("ｰ｡")), sj("ー。"));
}

TEST(ChangeChar, TrimsBlanksAndControlsFirstAndKeepsFullWidthText)
{
    EXPECT_EQ(changed("  12\r\n"), sj("１２"));
    EXPECT_EQ(changed(sj("平成１０年０１月")), sj("平成１０年０１月"));
    EXPECT_EQ(changed(sj("平成10年")), sj("平成１０年"));
    EXPECT_EQ(changed(""), "");
    EXPECT_EQ(changed("   "), "");
}

TEST(ToHalfWidth, TurnsFullWidthDigitsAndLettersIntoAscii)
{
    EXPECT_EQ(halfWidth(sj("１２３ａｂＣ")), "123abC");
    EXPECT_EQ(halfWidth(sj("東京都１－２")), sj("東京都1－2"));
    EXPECT_EQ(halfWidth(sj("ｱｲ１")), sj("ｱｲ1"));
    // A lead byte that ends the text is copied alone.
    EXPECT_EQ(halfWidth("A\x82"), "A\x82");
    // Round trip with ChangeChar for codes.
    EXPECT_EQ(halfWidth(changed("XZ123")), "XZ123");
}

TEST(ToHiragana, ConvertsHalfWidthReadings)
{
    EXPECT_EQ(hiragana("ｶﾞｯｺｳ"), sj("がっこう"));
    EXPECT_EQ(hiragana("ﾔﾏﾀﾞﾀﾛｳ"), sj("やまだたろう"));
    EXPECT_EQ(hiragana("ﾎﾟﾝﾌﾟ"), sj("ぽんぷ"));
    EXPECT_EQ(hiragana("ｦ"), sj("を"));
    EXPECT_EQ(hiragana(""), "");
}

// ﾄ and ﾎ end the ranges of kana that take a voiced mark.
TEST(VoicedKana, TheLastKanaOfEachRangeTakesItsMark)
{
    struct Case {
        const char* halfWidth;
        const char* katakana;
        const char* reading;
    };
    const Case cases[] = {
        {"ﾄﾞ", "ド", "ど"},
        {"ｺﾝﾄﾞｳ", "コンドウ", "こんどう"},
        {"ｴﾝﾄﾞｳ", "エンドウ", "えんどう"},
        {"ﾎﾞﾎﾟ", "ボポ", "ぼぽ"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(changed(sj(c.halfWidth)), sj(c.katakana)) << c.halfWidth;
        EXPECT_EQ(hiragana(c.halfWidth), sj(c.reading)) << c.halfWidth;
    }
}

TEST(ToHiragana, LongVowelMarksRepeatTheVowel)
{
    EXPECT_EQ(hiragana("ｺｰﾋｰ"), sj("こおひい"));
    EXPECT_EQ(hiragana("ｰｱ"), sj("ーあ"));
    EXPECT_EQ(hiragana("ﾝｰ"), sj("んー"));
    EXPECT_EQ(hiragana("ｳﾞｧ"), sj("う゛ぁ"));
    EXPECT_EQ(hiragana("ｽ-ﾊﾟ-"), sj("すうぱあ"));
    EXPECT_EQ(hiragana("ｼﾞｰ"), sj("じい"));
    EXPECT_EQ(hiragana("ﾌﾟｰ"), sj("ぷう"));
    // A non-kana between keeps the vowel.
    EXPECT_EQ(hiragana("ｶ1ｰ"), sj("か1あ"));
}

TEST(ToHiragana, KeepsTwoByteCharactersWhole)
{
    // ア is 0x83 0x41; 秋 is 0x8F 0x48; 院 is 0x89 0x40. Trail bytes in the
    // half-width kana range (0xA1-0xDF) must not be converted.
    SjisString s = sj("亜ｱ漢ﾞ");
    SjisString expected = sj("亜あ漢ﾞ");
    ToHiragana(s);
    EXPECT_EQ(s, expected);
    SjisString withKanaTrail = sj("院誰");  // 誰 is 0x92 0xAF: trail ｯ
    SjisString before = withKanaTrail;
    ToHiragana(withKanaTrail);
    EXPECT_EQ(withKanaTrail, before);
}

}  // namespace
