#include "components/core/era_date.h"

#include "components/core/japanese_text.h"
#include "platform/clock.h"

#include <algorithm>
#include <cstdint>

namespace {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Full-width digit "０"-"９": 0x82 0x4F-0x58.
bool isFullWidthDigit(std::string_view s, std::size_t i)
{
    return i + 1 < s.size() && uint8_t(s[i]) == 0x82 && uint8_t(s[i + 1]) >= 0x4F && uint8_t(s[i + 1]) <= 0x58;
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The record book read dates into 32-bit integers that wrap on overflow.
int32_t wrapped(int64_t value)
{
    return int32_t(uint32_t(uint64_t(value)));
}

std::string padded(int value, bool twoDigits)
{
    std::string s = std::to_string(value);
    if (twoDigits && value >= 0 && value < 10)
        s.insert(0, 1, '0');
    return s;
}

// Length of the run of letter `c` (either case) at pattern[i].
std::size_t runOf(std::string_view pattern, std::size_t i, char c)
{
    std::size_t n = 0;
    while (i + n < pattern.size() && (pattern[i + n] | 0x20) == c)
        ++n;
    return n;
}

}  // namespace

const std::vector<Era>& eras()
{
    static const std::vector<Era> list = {
        {sj("明治"), 1867, QDate(1868, 1, 1)},    {sj("大正"), 1911, QDate(1912, 7, 30)},
        {sj("昭和"), 1925, QDate(1926, 12, 25)},  {sj("平成"), 1988, QDate(1989, 1, 8)},
        {sj("令和"), 2018, QDate(2019, 5, 1)},
    };
    return list;
}

int eraIndexOfDate(QDate date)
{
    int index = 0;
    for (std::size_t i = 0; i < eras().size(); ++i)
        if (date >= eras()[i].start)
            index = int(i);
    return index;
}

SjisString formatEraDate(QDate date, std::string_view pattern)
{
    const Era& era = eras()[std::size_t(eraIndexOfDate(date))];
    SjisString out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = char(pattern[i] | 0x20);
        std::size_t n = (c == 'g' || c == 'e' || c == 'm' || c == 'd') ? runOf(pattern, i, c) : 0;
        if (c == 'g')
            out += n == 1 ? era.name.substr(0, 2) : era.name;
        else if (c == 'e')
            out += padded(date.year() - era.baseYear, n > 1);
        else if (c == 'm')
            out += padded(date.month(), n > 1);
        else if (c == 'd')
            out += padded(date.day(), n > 1);
        if (n > 0) {
            i += n;
            continue;
        }
        std::size_t end = i + 1;
        if (pattern[i] == '"') {
            end = pattern.find('"', i + 1);
            end = end == std::string_view::npos ? pattern.size() : end;
            out += sjis::fromUtf8(pattern.substr(i + 1, end - i - 1));
            ++end;
        } else {
            while (end < pattern.size() && (uint8_t(pattern[end]) & 0xC0) == 0x80)
                ++end;  // the rest of a UTF-8 character
            out += sjis::fromUtf8(pattern.substr(i, end - i));
        }
        i = end;
    }
    return out;
}

SjisString eraDateText(QDate date, std::string_view pattern)
{
    SjisString text = formatEraDate(date, pattern);
    ChangeChar(text);
    return text;
}

void CharToDate(std::string_view S, int& Year, int& Month, int& Day)
{
    const QDate now = today();
    int32_t parts[3] = {int32_t(now.year()), int32_t(now.month()), int32_t(now.day())};
    int32_t base = 0;
    // Newest era first: 令和, 平成, 昭和, 大正, 明治.
    for (auto it = eras().rbegin(); it != eras().rend(); ++it) {
        if (S.substr(0, 4) == it->name) {
            base = it->baseYear;
            S.remove_prefix(4);
            break;
        }
    }
    int32_t number = 0;
    std::size_t slot = 0;
    std::size_t i = 0;
    while (i < S.size()) {
        if (isFullWidthDigit(S, i)) {
            number = wrapped(int64_t(number) * 10 + (uint8_t(S[i + 1]) - 0x4F));
            i += 2;
        } else if (isAsciiDigit(S[i])) {
            number = wrapped(int64_t(number) * 10 + (S[i] - '0'));
            i += 1;
        } else {
            if ((number != 0 || base != 0) && slot < 3)
                parts[slot] = wrapped(int64_t(number) + base);
            ++slot;
            number = 0;
            base = 0;
            i += 2;
        }
    }
    Year = parts[0];
    Month = std::clamp(parts[1], int32_t(1), int32_t(12));
    Day = parts[2];
    if (Month == 2)
        Day = std::min(Day, isLeapYear(Year) ? 29 : 28);
    else if ((Month == 4 || Month == 6 || Month == 9 || Month == 11) && Day == 31)
        Day = 30;
    Day = std::min(Day, 31);
}

std::optional<int> firstNumber(std::string_view text)
{
    std::optional<int> number;
    std::size_t i = 0;
    while (i < text.size()) {
        int digit = -1;
        std::size_t width = sjis::isLeadByte(uint8_t(text[i])) ? 2 : 1;
        if (isFullWidthDigit(text, i))
            digit = uint8_t(text[i + 1]) - 0x4F;
        else if (isAsciiDigit(text[i]))
            digit = text[i] - '0';
        if (digit >= 0)
            number = std::min(number.value_or(0) * 10 + digit, 99'999'999);
        else if (number)
            break;
        i += width;
    }
    return number;
}

QDate addInsuranceMonths(int year, int month, int day, int months)
{
    int64_t y = int64_t(year) + months / 12;
    int m = month + months % 12;
    if (m > 12) {
        m -= 12;
        ++y;
    }
    if (year < 1 || day < 1 || y > 9999)
        return {};
    const QDate first(int(y), m, 1);
    return first.isValid() ? QDate(int(y), m, std::min(day, first.daysInMonth())) : QDate();
}

std::optional<SjisString> insuranceEndText(std::string_view term, std::string_view start)
{
    if (term.empty() || start.empty())
        return std::nullopt;
    const std::optional<int> months = firstNumber(term);
    if (!months)
        return std::nullopt;
    int y = 0, m = 0, d = 0;
    CharToDate(start, y, m, d);
    const QDate end = addInsuranceMonths(y, m, d, *months);
    if (!end.isValid())
        return std::nullopt;
    return eraDateText(end);
}

EraYear dialogEraYear(int year)
{
    int era = 0;
    for (std::size_t i = 0; i < eras().size(); ++i)
        if (eras()[i].baseYear < year)
            era = int(i);
    return {era, year - eras()[std::size_t(era)].baseYear};
}

EraYear carryEraYear(EraYear v)
{
    const int last = int(eras().size()) - 1;
    for (;;) {
        const auto span = [](int era) {
            return eras()[std::size_t(era) + 1].baseYear - eras()[std::size_t(era)].baseYear;
        };
        if (v.era < last && v.year > span(v.era))
            v = {v.era + 1, v.year - span(v.era)};
        else if (v.era > 0 && v.year == 0)
            v = {v.era - 1, span(v.era - 1)};
        else
            return v;
    }
}

int westernYear(EraYear v)
{
    return eras()[std::size_t(v.era)].baseYear + v.year;
}
