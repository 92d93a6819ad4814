// The era formatter checked against ICU's Japanese calendar, day by day.
#include "components/core/era_date.h"

#include <QDate>
#include <QString>
#include <gtest/gtest.h>
#include <unicode/udat.h>
#include <unicode/ucal.h>

#include <memory>

namespace {

struct DateFormatCloser {
    void operator()(UDateFormat* f) const { udat_close(f); }
};
struct CalendarCloser {
    void operator()(UCalendar* c) const { ucal_close(c); }
};

// A date as ICU's Japanese calendar gives it: the era name ICU formats,
// and the era year, month and day ICU computes, laid out in the stored
// pattern. (ICU's own year formatting writes year 1 as 元 and drops the
// leading zero, which the stored form never did.)
class IcuJapaneseCalendar {
public:
    IcuJapaneseCalendar()
    {
        UErrorCode status = U_ZERO_ERROR;
        const std::u16string pattern = u"GGGG";
        eraName_.reset(udat_open(UDAT_PATTERN, UDAT_PATTERN, kLocale, u"UTC", -1, pattern.data(),
                                 int32_t(pattern.size()), &status));
        calendar_.reset(ucal_open(u"UTC", -1, kLocale, UCAL_DEFAULT, &status));
        EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    }

    QString format(QDate date) const
    {
        const UDate millis = double(QDate(1970, 1, 1).daysTo(date)) * 86400000.0;
        UChar era[16];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t n = udat_format(eraName_.get(), millis, era, 16, nullptr, &status);
        ucal_setMillis(calendar_.get(), millis, &status);
        const int year = ucal_get(calendar_.get(), UCAL_YEAR, &status);
        const int month = ucal_get(calendar_.get(), UCAL_MONTH, &status) + 1;
        const int day = ucal_get(calendar_.get(), UCAL_DATE, &status);
        EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(era), n)
               + QStringLiteral("%1年%2月%3日").arg(year, 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0'))
                     .arg(day, 2, 10, QLatin1Char('0'));
    }

private:
    static constexpr const char* kLocale = "ja_JP@calendar=japanese";
    std::unique_ptr<UDateFormat, DateFormatCloser> eraName_;
    std::unique_ptr<UCalendar, CalendarCloser> calendar_;
};

TEST(EraDateAgainstIcu, EveryDayFrom1873To2100)
{
    IcuJapaneseCalendar icu;
    int mismatches = 0;
    for (QDate d(1873, 1, 1); d <= QDate(2100, 12, 31) && mismatches < 10; d = d.addDays(1)) {
        const QString ours = sjis::decode(formatEraDate(d));
        const QString theirs = icu.format(d);
        if (ours != theirs) {
            ++mismatches;
            ADD_FAILURE() << d.toString(Qt::ISODate).toStdString() << ": " << ours.toStdString()
                          << " vs ICU " << theirs.toStdString();
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
