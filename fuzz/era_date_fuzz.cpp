// Date texts as typed or stored: CharToDate never fails, keeps the month in
// range and the day at most at 31 (the date dialog checks the rest).
#include "components/core/era_date.h"
#include "fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int year = 0, month = 0, day = 0;
    CharToDate(text, year, month, day);
    FUZZ_CHECK(month >= 1 && month <= 12);
    FUZZ_CHECK(day <= (month == 2 ? 29 : 31));
    firstNumber(text);
    return 0;
}
