#include "components/core/era_date.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Ymd = std::tuple<int, int, int>;

// Today is 2024-06-15 in every reading test.
Ymd read(const SjisString& text)
{
    FixedClock clock(QDate(2024, 6, 15));
    int y = 0, m = 0, d = 0;
    CharToDate(text, y, m, d);
    return {y, m, d};
}

Ymd readUtf8(const char* utf8)
{
    return read(sj(utf8));
}

EraYear era(const char* name, int year)
{
    for (std::size_t i = 0; i < eras().size(); ++i)
        if (eras()[i].name == sj(name))
            return {int(i), year};
    ADD_FAILURE() << "no era " << name;
    return {};
}

TEST(EraDateFormat, StoredFormsHaveTheirFixedLengths)
{
    const QDate d(1996, 3, 15);
    EXPECT_EQ(eraDateText(d), sj("平成０８年０３月１５日"));
    EXPECT_EQ(eraDateText(d).size(), 22u);
    EXPECT_EQ(eraDateText(d, kEraMonthPattern), sj("平成０８年０３月"));
    EXPECT_EQ(eraDateText(d, kEraYearPattern), sj("平成０８年"));
    EXPECT_EQ(eraDateText(d, kEraQueryPattern), sj("平成８年０３月１５日"));
    EXPECT_EQ(formatEraDate(d), sj("平成08年03月15日"));
    EXPECT_EQ(formatEraDate(d, "g/e.m.d"), sj("平/8.3.15"));
}

TEST(EraDateFormat, EraChangesOnItsFirstDay)
{
    EXPECT_EQ(formatEraDate(QDate(1912, 7, 29)), sj("明治45年07月29日"));
    EXPECT_EQ(formatEraDate(QDate(1912, 7, 30)), sj("大正01年07月30日"));
    EXPECT_EQ(formatEraDate(QDate(1926, 12, 24)), sj("大正15年12月24日"));
    EXPECT_EQ(formatEraDate(QDate(1926, 12, 25)), sj("昭和01年12月25日"));
    EXPECT_EQ(formatEraDate(QDate(1989, 1, 7)), sj("昭和64年01月07日"));
    EXPECT_EQ(formatEraDate(QDate(1989, 1, 8)), sj("平成01年01月08日"));
    EXPECT_EQ(formatEraDate(QDate(2019, 4, 30)), sj("平成31年04月30日"));
    EXPECT_EQ(formatEraDate(QDate(2019, 5, 1)), sj("令和01年05月01日"));
    EXPECT_EQ(eras().back().name, std::string("\x97\xDF\x98\x61"));
}

TEST(CharToDate, ReadsEraTextsWithEitherDigits)
{
    EXPECT_EQ(readUtf8("平成０８年０３月１５日"), Ymd(1996, 3, 15));
    EXPECT_EQ(readUtf8("平成８年３月１５日"), Ymd(1996, 3, 15));
    EXPECT_EQ(readUtf8("平成8年3月15日"), Ymd(1996, 3, 15));
    EXPECT_EQ(readUtf8("昭和６４年０１月０７日"), Ymd(1989, 1, 7));
    EXPECT_EQ(readUtf8("明治４５年０７月２９日"), Ymd(1912, 7, 29));
    EXPECT_EQ(readUtf8("令和０６年０４月０１日"), Ymd(2024, 4, 1));
    EXPECT_EQ(readUtf8("令和元年"), Ymd(2018, 6, 15));  // 元 is no digit: the era alone gives its base year
}

TEST(CharToDate, MissingPartsKeepTodaysValues)
{
    EXPECT_EQ(read(""), Ymd(2024, 6, 15));
    EXPECT_EQ(readUtf8("平成０８年０３月１５"), Ymd(1996, 3, 15));  // no closing 日: the day is not stored
    EXPECT_EQ(readUtf8("２４"), Ymd(2024, 6, 15));
    EXPECT_EQ(readUtf8("１２ヶ月"), Ymd(12, 6, 15));
    // An unknown era uses up the year and month slots.
    EXPECT_EQ(readUtf8("慶応０３年０４月"), Ymd(2024, 6, 3));
}

TEST(CharToDate, WesternTextsAreClampedByTheOldRules)
{
    EXPECT_EQ(readUtf8("1998年02月30日"), Ymd(1998, 2, 28));
    EXPECT_EQ(readUtf8("2000年02月30日"), Ymd(2000, 2, 29));
    EXPECT_EQ(readUtf8("1900年02月29日"), Ymd(1900, 2, 28));
    EXPECT_EQ(readUtf8("1999年04月31日"), Ymd(1999, 4, 30));
    EXPECT_EQ(readUtf8("1999年04月35日"), Ymd(1999, 4, 31));
    EXPECT_EQ(readUtf8("1999年13月40日"), Ymd(1999, 12, 31));
    EXPECT_EQ(readUtf8("1999年00月05日"), Ymd(1999, 6, 5));  // 0 is no number: today's month stays
}

TEST(CharToDate, SingleByteSeparatorsSwallowTheByteAfterThem)
{
    // Every separator is read as a two-byte character.
    EXPECT_EQ(read("1998/02/28"), Ymd(1998, 2, 15));
    EXPECT_EQ(read("1998/"), Ymd(1998, 6, 15));
    EXPECT_EQ(read("\x82"), Ymd(2024, 6, 15));
}

TEST(CharToDate, HugeNumbersWrapInsteadOfFailing)
{
    int y = 0, m = 0, d = 0;
    CharToDate(sj("99999999999999999999年99999999999999999999月"), y, m, d);
    EXPECT_GE(m, 1);
    EXPECT_LE(m, 12);
}

TEST(FirstNumber, TakesTheFirstRunOfDigits)
{
    EXPECT_EQ(firstNumber(sj("１２ヶ月")), 12);
    EXPECT_EQ(firstNumber(sj("２４")), 24);
    EXPECT_EQ(firstNumber(sj("約36ヶ月と1日")), 36);
    EXPECT_EQ(firstNumber(sj("ヶ月")), std::nullopt);
    EXPECT_EQ(firstNumber(""), std::nullopt);
    // 0x82 as the trail byte of "≠" (0x81 0x82) is no digit's lead byte.
    EXPECT_EQ(firstNumber("\x81\x82\x4F" "5"), 5);
    EXPECT_EQ(firstNumber(std::string(30, '9')), 99'999'999);
}

// The term is added month by month; an end in December stays in its year,
// and a day the end month lacks becomes its last day.
TEST(InsuranceEnd, AddsTheTermToTheStart)
{
    FixedClock clock(QDate(2024, 6, 15));
    const struct {
        const char *term, *start, *end;
    } cases[] = {
        {"１２ヶ月", "平成１０年０４月０１日", "平成１１年０４月０１日"},
        {"１４ヶ月", "平成１０年１１月０１日", "平成１２年０１月０１日"},
        {"２４", "令和０５年０６月１０日", "令和０７年０６月１０日"},
        {"３６ヶ月", "平成２９年０５月０１日", "令和０２年０５月０１日"},
        {"１２ヶ月", "令和０４年１２月０１日", "令和０５年１２月０１日"},
        {"２４ヶ月", "平成２９年１２月１０日", "令和０１年１２月１０日"},
        {"２５ヶ月", "令和０４年１１月１５日", "令和０６年１２月１５日"},
        {"３７ヶ月", "令和０４年１１月３０日", "令和０７年１２月３０日"},
        {"１ヶ月", "令和０４年１２月３１日", "令和０５年０１月３１日"},
        {"１ヶ月", "令和０５年０３月３１日", "令和０５年０４月３０日"},
        {"１２ヶ月", "令和０２年０２月２９日", "令和０３年０２月２８日"},
        {"４８ヶ月", "令和０２年０２月２９日", "令和０６年０２月２９日"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(insuranceEndText(sj(c.term), sj(c.start)), sj(c.end)) << c.term << " " << c.start;
}

TEST(InsuranceEnd, NothingWithoutATermNumberOrAStart)
{
    FixedClock clock(QDate(2024, 6, 15));
    EXPECT_EQ(insuranceEndText("", sj("令和０５年０３月３１日")), std::nullopt);
    EXPECT_EQ(insuranceEndText(sj("ヶ月"), sj("令和０５年０３月３１日")), std::nullopt);
    EXPECT_EQ(insuranceEndText(sj("１２ヶ月"), ""), std::nullopt);
    EXPECT_EQ(insuranceEndText(sj("99999999"), sj("令和０５年０３月３１日")), std::nullopt);
    EXPECT_FALSE(addInsuranceMonths(0, 1, 1, 12).isValid());
    EXPECT_FALSE(addInsuranceMonths(2000, 1, 0, 12).isValid());
}

TEST(DialogEra, YearsShowInTheEraTheyEndIn)
{
    EXPECT_EQ(dialogEraYear(1988), era("昭和", 63));
    EXPECT_EQ(dialogEraYear(1989), era("平成", 1));
    EXPECT_EQ(dialogEraYear(1926), era("昭和", 1));
    EXPECT_EQ(dialogEraYear(1925), era("大正", 14));
    EXPECT_EQ(dialogEraYear(1911), era("明治", 44));
    EXPECT_EQ(dialogEraYear(1912), era("大正", 1));
    EXPECT_EQ(dialogEraYear(2018), era("平成", 30));
    EXPECT_EQ(dialogEraYear(2019), era("令和", 1));
    EXPECT_EQ(dialogEraYear(1868), era("明治", 1));
}

TEST(DialogEra, YearBoxCarriesBetweenEras)
{
    EXPECT_EQ(carryEraYear(era("明治", 45)), era("大正", 1));
    EXPECT_EQ(carryEraYear(era("平成", 0)), era("昭和", 63));
    EXPECT_EQ(carryEraYear(era("大正", 0)), era("明治", 44));
    EXPECT_EQ(carryEraYear(era("昭和", 64)), era("平成", 1));
    EXPECT_EQ(carryEraYear(era("平成", 31)), era("令和", 1));
    EXPECT_EQ(carryEraYear(era("令和", 0)), era("平成", 30));
    EXPECT_EQ(carryEraYear(era("明治", 0)), era("明治", 0));
    EXPECT_EQ(carryEraYear(era("令和", 500)), era("令和", 500));
    // A large year runs through every later era.
    EXPECT_EQ(carryEraYear(era("明治", 200)), era("令和", 49));
    for (int y = 1868; y <= 2100; ++y)
        EXPECT_EQ(westernYear(carryEraYear(dialogEraYear(y))), y);
}

}  // namespace
