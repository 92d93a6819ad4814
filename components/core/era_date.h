// Era dates: every date of a vehicle record is stored as text in the
// Japanese era form with full-width digits ("平成０８年０３月１５日"). This
// kit formats dates that way, reads such texts (or plain western ones) back
// into year, month and day, and holds the era arithmetic of the date dialog.
#pragma once

#include "components/core/cp932.h"

#include <QDate>
#include <optional>
#include <string_view>
#include <vector>

struct Era {
    SjisString name;  // two kanji, 4 bytes
    int baseYear;     // western year of era year 0
    QDate start;      // first day of the era
};

// 明治, 大正, 昭和, 平成, 令和: oldest first.
const std::vector<Era>& eras();

// Index in eras() of the era a date falls in (明治 for earlier dates).
int eraIndexOfDate(QDate date);

// Date patterns (UTF-8): "g" is the era name's first kanji, "gg" or "ggg"
// the whole name; "ee" the era year with two digits at least, "e" without a
// leading zero; "mm"/"m" and "dd"/"d" the month and day likewise; text in
// double quotes stands as it is, as does any other character.
inline constexpr std::string_view kEraDatePattern = "gggee\"年\"mm\"月\"dd\"日\"";
inline constexpr std::string_view kEraMonthPattern = "gggee\"年\"mm\"月\"";
inline constexpr std::string_view kEraYearPattern = "gggee\"年\"";
inline constexpr std::string_view kEraQueryPattern = "ggge\"年\"mm\"月\"dd\"日\"";  // find and filter boxes

// The bytes of the stored text (eraDateText) of the first three patterns,
// for a two-digit era year: the length a date field keeps.
inline constexpr std::size_t kEraDateBytes = 22;
inline constexpr std::size_t kEraMonthBytes = 16;
inline constexpr std::size_t kEraYearBytes = 10;

// The date in the pattern, digits single-byte.
SjisString formatEraDate(QDate date, std::string_view pattern = kEraDatePattern);

// The stored form: formatEraDate through ChangeChar (full-width digits).
SjisString eraDateText(QDate date, std::string_view pattern = kEraDatePattern);

// Reads a date text the way the record book always has. Year, month and
// day start as today's; a leading era name (of eras()) adds its base year to
// the first number; each number is stored in the next slot (year, month,
// day) by the character after it, so a number at the very end is not
// stored. Digits are ASCII or full-width; any other byte is taken as the
// first byte of a two-byte separator. The month is held in 1 to 12 and the
// day at most at the month's length by the old rules (a day of exactly 31
// in a 30-day month becomes 30, any day above 31 becomes 31). Never fails.
void CharToDate(std::string_view S, int& Year, int& Month, int& Day);

// The first run of digits (ASCII or full-width) in a text; nothing when
// the text has none. Very long runs are held at 99,999,999.
std::optional<int> firstNumber(std::string_view text);

// Whole months and a start date into the end date: years and months are
// added, and a day that the end month lacks becomes its last day. Invalid
// when the start is no real date (year below 1, day below 1).
QDate addInsuranceMonths(int year, int month, int day, int months);

// The end of the compulsory insurance: `start` (an era date text) plus the
// first number of `term` ("２４ヶ月") as months, as stored era date text.
// Nothing when term or start is empty, the term holds no number, or the
// start reads as no real date.
std::optional<SjisString> insuranceEndText(std::string_view term, std::string_view start);

// An era (index into eras()) and a year within it, as the date dialog's
// era label and year box show them.
struct EraYear {
    int era = 0;
    int year = 0;
    bool operator==(const EraYear&) const = default;
};

// What the dialog shows for a western year: 1989 is 平成 1, 1988 昭和 63,
// 2019 令和 1. A year before 1868 is 明治 0 or below.
EraYear dialogEraYear(int westernYear);

// The carries of the dialog's year box: a year past the era's last one
// moves on to the next era, year 0 back to the previous era's last year
// (明治 0 stays). Apply until nothing changes.
EraYear carryEraYear(EraYear value);

int westernYear(EraYear value);
