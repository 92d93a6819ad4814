// The converter's postal scan: the index must give what the plain scan
// from the top gives, in modes 0, 1 and 2, for a few fixed addresses, the
// input's own and ones made of the file's names, alone and after a
// prefecture. The input's first line is that address, the rest the file.
#include "components/formats/converter_post_scan.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

void agree(const postal::ConverterKenAll& file, std::string_view address)
{
    for (int mode : {0, 1, 2}) {
        const postal::PostReadResult scanned = postal::converterPostScan(file.lines(), address, mode);
        const postal::PostReadResult indexed = file.lookup(address, mode);
        FUZZ_CHECK(scanned.code == indexed.code);
        FUZZ_CHECK(scanned.prefecture == indexed.prefecture);
    }
}

// Column `number` (from 1) of a line split at every ",".
std::string_view column(std::string_view line, int number)
{
    for (; number > 1; --number) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            return {};
        line.remove_prefix(comma + 1);
    }
    return line.substr(0, line.find(','));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t end = std::min(input.find('\n'), input.size());
    const std::string address(input.substr(0, end));
    const postal::ConverterKenAll file{std::string(input.substr(std::min(end + 1, input.size())))};
    for (const char* fixed : {"東京都千代田区飯田橋３－１０", "港区芝浦３丁目１", ""})
        agree(file, sj(fixed));
    agree(file, address);
    for (std::size_t i = 0; i < std::min<std::size_t>(file.lines().size(), 4); ++i) {
        const std::string_view line = file.lines()[i];
        const std::string city = std::string(postal::unquote(column(line, 8))) + std::string(postal::unquote(column(line, 9)));
        agree(file, std::string(postal::unquote(column(line, 7))) + city);
        agree(file, city + address);
        agree(file, sj("本社 東京都") + city);
    }
    return 0;
}
