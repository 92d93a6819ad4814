#include "components/core/cp932.h"

#include <gtest/gtest.h>

namespace {

SjisString bytes(std::initializer_list<int> b)
{
    SjisString s;
    for (int c : b)
        s.push_back(char(c));
    return s;
}

// Duplicated characters take the code Windows writes; JIS variants that input
// methods give take their twins' codes.
TEST(Cp932, EncodesWithTheMicrosoftMapping)
{
    EXPECT_EQ(sj("使用者"), bytes({0x8E, 0x67, 0x97, 0x70, 0x8E, 0xD2}));
    EXPECT_EQ(sj("令和"), bytes({0x97, 0xDF, 0x98, 0x61}));
    EXPECT_EQ(sj("\\~"), "\\~");
    const struct {
        char16_t character;
        SjisString code;
    } cases[] = {
        {u'～', bytes({0x81, 0x60})}, {u'－', bytes({0x81, 0x7C})}, {u'∥', bytes({0x81, 0x61})}, {u'ｱ', bytes({0xB1})},
        {u'≒', bytes({0x81, 0xE0})}, {u'Ⅰ', bytes({0x87, 0x54})}, {u'￢', bytes({0x81, 0xCA})}, {u'纊', bytes({0xFA, 0x5C})},
        {0x301C, bytes({0x81, 0x60})},  // WAVE DASH
        {0x2212, bytes({0x81, 0x7C})},  // MINUS SIGN
        {0x2016, bytes({0x81, 0x61})}, {0x00A2, bytes({0x81, 0x91})}, {0x00A3, bytes({0x81, 0x92})},
        {0x00AC, bytes({0x81, 0xCA})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sjis::encode(QString(QChar(c.character))), c.code) << std::hex << int(c.character);
}

// One message names the refused character, whatever refuses it.
TEST(Cp932, RefusesCharactersItCannotHold)
{
    const struct {
        const char* text;
        char32_t bad;
    } cases[] = {{"𠮷野家", U'𠮷'}, {"車😀", U'😀'}, {"é", U'é'}, {"한", U'한'}, {"吉𠮷", U'𠮷'}};
    for (const auto& c : cases) {
        const QString s = QString::fromUtf8(c.text);
        char32_t bad = 0;
        EXPECT_FALSE(sjis::canEncode(s, &bad)) << c.text;
        EXPECT_EQ(bad, c.bad) << c.text;
        EXPECT_TRUE(sjis::refusalMessage(c.bad).contains(QString::fromUcs4(&c.bad, 1)));
        try {
            sjis::encode(s);
            ADD_FAILURE() << "no refusal for " << c.text;
        } catch (const TextEncodingError& e) {
            EXPECT_EQ(e.message(), sjis::refusalMessage(c.bad));
            EXPECT_EQ(e.offending(), c.bad);
        }
    }
}

TEST(Cp932, DecodeRoundTripsEveryValidCode)
{
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::isLeadByte(lead))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            SjisString code = bytes({lead, trail});
            QString text = sjis::decode(code);
            if (text == QString(QChar(0xFFFD)) || text.size() != 1)
                continue;
            ++checked;
            SjisString back = sjis::encode(text);
            // Duplicates (NEC-selected IBM rows) come back as their preferred code.
            EXPECT_EQ(sjis::decode(back), text);
        }
    }
    EXPECT_GT(checked, 7000);
}

// 0x9F is the last lead byte of the first block: 渕 (as in 田渕) and 溪
// stand there.
TEST(Cp932, TheLastLeadByteOfTheFirstBlockMakesOneCharacter)
{
    struct Case {
        const char* text;
        SjisString code;
    };
    const Case cases[] = {{"檗", bytes({0x9F, 0x40})}, {"渕", bytes({0x9F, 0xBA})},
                          {"溪", bytes({0x9F, 0xE2})}, {"滌", bytes({0x9F, 0xFC})}};
    for (const Case& c : cases) {
        EXPECT_EQ(sj(c.text), c.code) << c.text;
        EXPECT_EQ(sjis::decode(c.code), QString::fromUtf8(c.text)) << c.text;
        EXPECT_EQ(sjis::characterCount(c.code + "A"), 2u) << c.text;
    }
    EXPECT_EQ(sjis::cutBytes(sj("田渕"), 3), sj("田")) << "never half of 渕";
}

TEST(Cp932, DecodeKeepsBrokenBytesVisible)
{
    EXPECT_EQ(sjis::decode(bytes({0x41, 0x82})), QString::fromUtf8("A\uFFFD"));
    EXPECT_EQ(sjis::decode(bytes({0x82, 0x20})), QString::fromUtf8("\uFFFD "));
    EXPECT_EQ(sjis::decode(bytes({0x5C})), QStringLiteral("\\"));
    EXPECT_EQ(sjis::decode(bytes({0xB1, 0xDE})), QString::fromUtf8("ｱﾞ"));
}

TEST(Cp932, FindsTheFirstByteThatIsNoText)
{
    EXPECT_EQ(sjis::findNonText(sj("使用者 ｱｲ\r\n\t") + "\x1A"), std::string::npos);
    EXPECT_EQ(sjis::findNonText(bytes({0x82, 0xA0, 0x82})), 2u);  // a lead byte at the end
    EXPECT_EQ(sjis::findNonText(bytes({0x41, 0x80})), 1u);
    EXPECT_EQ(sjis::findNonText(bytes({0xA0})), 0u);
}

TEST(Cp932, ByteCutsNeverSplitACharacter)
{
    SjisString s = sj("A使用者B");
    EXPECT_EQ(sjis::cutBytes(s, 0), "");
    EXPECT_EQ(sjis::cutBytes(s, 1), "A");
    EXPECT_EQ(sjis::cutBytes(s, 2), "A");
    EXPECT_EQ(sjis::cutBytes(s, 3), sj("A使"));
    EXPECT_EQ(sjis::cutBytes(s, 100), s);
    // A trailing lone lead byte counts as one character.
    EXPECT_EQ(sjis::cutBytes(bytes({0x41, 0x82}), 2), bytes({0x41, 0x82}));
}

TEST(Cp932, TrimRemovesControlBytesAndBlanksOnly)
{
    EXPECT_EQ(sjis::trim(" \t\r\nABC \x01"), "ABC");
    EXPECT_EQ(sjis::trim(sj("　A　")), sj("　A　"));  // the full-width blank stays
    EXPECT_EQ(sjis::trim("   "), "");
    EXPECT_EQ(sjis::trimRight("  A  "), "  A");
}

TEST(Cp932, CharacterSearchSkipsTrailBytes)
{
    SjisString date = sj("昭和６０年");
    // The second byte of 和 is 0x61, "a".
    EXPECT_NE(date.find('a'), SjisString::npos);
    EXPECT_EQ(sjis::findCharacters(date, "a"), SjisString::npos);
    EXPECT_EQ(sjis::findCharacters(sj("アイウ"), sj("イ")), 2u);
    EXPECT_EQ(sjis::findCharacters("abcabc", "c", 3), 5u);
    EXPECT_EQ(sjis::characterCount(sj("A使用B")), 4u);
    EXPECT_TRUE(sjis::isCharacterStart(sj("使用"), 2));
    EXPECT_FALSE(sjis::isCharacterStart(sj("使用"), 1));
    // Past the end nothing is found.
    EXPECT_EQ(sjis::findCharacters("abc", "c", 10), std::string_view::npos);
    EXPECT_FALSE(sjis::isCharacterStart("abc", 10));
    EXPECT_TRUE(sjis::isCharacterStart("abc", 3));
}


// ---- edits of shown text -------------------------------------------------------------

// IBM Roman numeral one (re-encodes as NEC 0x8754), a NEC-selected IBM code
// (re-encodes as 0xFA40), and a byte that is no character.
const SjisString kIbmOne = bytes({0xFA, 0x4A});
const SjisString kNecSelected = bytes({0xEE, 0xEF});
const SjisString kNoCharacter = bytes({0xFD});

TEST(Cp932, AnEditEncodesOnlyTheCharactersItReplaced)
{
    // What the edits must avoid: duplicates do not survive a whole re-encoding.
    EXPECT_EQ(sjis::encode(sjis::decode(kIbmOne)), bytes({0x87, 0x54}));
    EXPECT_EQ(sjis::encode(sjis::decode(kNecSelected)), bytes({0xFA, 0x40}));
    EXPECT_FALSE(sjis::canEncode(sjis::decode(kNoCharacter)));

    const SjisString original = kIbmOne + "a" + kNecSelected + kNoCharacter + "b";
    const QString shown = sjis::decode(original);
    ASSERT_EQ(shown.size(), 5);
    QString replaced = shown;
    replaced[1] = QLatin1Char('z');
    EXPECT_EQ(sjis::encodeEdit(original, shown, replaced), kIbmOne + "z" + kNecSelected + kNoCharacter + "b");
    EXPECT_EQ(sjis::encodeEdit(original, shown, shown), original);
    EXPECT_EQ(sjis::encodeEdit(original, shown, shown + QStringLiteral("車")), original + sj("車"));
    EXPECT_EQ(sjis::encodeEdit(original, shown, QStringLiteral("～") + shown), sj("～") + original);
    EXPECT_EQ(sjis::encodeEdit(original, shown, shown.left(1) + shown.mid(2)), kIbmOne + kNecSelected + kNoCharacter + "b");
    EXPECT_EQ(sjis::encodeEdit(original, shown, QString()), SjisString());
    // Typed text standing for the bytes: a WAVE DASH shown for 0x8160.
    EXPECT_EQ(sjis::encodeEdit(kIbmOne + sj("～"), sjis::decode(kIbmOne) + QChar(0x301C),
                               sjis::decode(kIbmOne) + QChar(0x301C) + QStringLiteral("x")),
              kIbmOne + sj("～") + "x");
    // Shown text that is not the bytes: the whole text is encoded.
    EXPECT_EQ(sjis::encodeEdit(kIbmOne + "a", QStringLiteral("xyz"), QStringLiteral("xyzw")), SjisString("xyzw"));
}

TEST(Cp932, AnEditRefusesOnlyWhatWasTyped)
{
    const SjisString original = kNoCharacter + "a";
    const QString shown = sjis::decode(original);
    EXPECT_EQ(sjis::encodeEdit(original, shown, shown + QStringLiteral("b")), kNoCharacter + "ab");
    try {
        sjis::encodeEdit(original, shown, shown + QString::fromUtf8("😀"));
        ADD_FAILURE() << "no refusal";
    } catch (const TextEncodingError& e) {
        EXPECT_EQ(e.offending(), U'😀');
        EXPECT_EQ(e.message(), sjis::refusalMessage(U'😀'));
    }
}

TEST(Cp932, AnEditWithUnifiedLineBreaksKeepsEachBreaksBytes)
{
    const SjisString original = SjisString("a\nb\r\nc\rd") + kIbmOne;
    const QString shown = sjis::decode(original, sjis::LineBreaks::Unified);
    EXPECT_EQ(shown, QStringLiteral("a\nb\nc\nd") + sjis::decode(kIbmOne));
    EXPECT_EQ(sjis::encodeEdit(original, shown, shown + QStringLiteral("\ne"), sjis::LineBreaks::Unified),
              original + "\r\ne");
    QString joined = shown;
    joined.remove(3, 1);  // the CR LF between b and c
    EXPECT_EQ(sjis::encodeEdit(original, shown, joined, sjis::LineBreaks::Unified),
              SjisString("a\nbc\rd") + kIbmOne);
}

TEST(Cp932, EditedLinesKeepTheBytesOfEveryLineLeftAlone)
{
    const std::vector<SjisString> original = {kIbmOne, sj("トヨタ"), kNecSelected + "x", kNoCharacter, sj("ホンダ")};
    auto shown = [&](std::size_t i) { return sjis::decode(original[i]); };
    // A new first line, the second line changed, the last one removed, the
    // line with the byte that is no character edited after that byte.
    const QStringList edited = {QStringLiteral("マツダ"), shown(0), QStringLiteral("トヨタ自動車"), shown(2),
                                shown(3) + QStringLiteral("!")};
    EXPECT_EQ(sjis::encodeEditedLines(original, edited),
              (std::vector<SjisString>{sj("マツダ"), kIbmOne, sj("トヨタ自動車"), kNecSelected + "x", kNoCharacter + "!"}));
    QStringList unchanged;
    for (std::size_t i = 0; i < original.size(); ++i)
        unchanged << shown(i);
    EXPECT_EQ(sjis::encodeEditedLines(original, unchanged), original);
    EXPECT_EQ(sjis::encodeEditedLines(original, {}), std::vector<SjisString>{});
    EXPECT_THROW(sjis::encodeEditedLines(original, {shown(0), QString::fromUtf8("𠮷")}), TextEncodingError);
}

}  // namespace
