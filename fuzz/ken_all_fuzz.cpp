// KEN_ALL.CSV: the index must give what a scan from the top gives, for a
// few fixed addresses, one from the input, and ones made of the file's own
// names, alone and after a prefecture, so that cities and towns match. The
// input's first line is that address, the rest the file.
#include "components/formats/post_read.h"
#include "components/formats/settings_file.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

const std::vector<SjisString>& fixedAddresses()
{
    static const std::vector<SjisString> addresses = {
        sj("東京都千代田区飯田橋３－１０"), sj("港区芝浦３丁目１"), sj("千代田区一番町"), sj("大阪府港区海岸１"), sj(""),
    };
    return addresses;
}

void agree(const postal::KenAllIndex& index, const std::vector<std::string_view>& lines, std::string_view address)
{
    for (int mode : {0, 1}) {
        const postal::PostReadResult scanned = postal::postReadScan(lines, address, mode);
        const postal::PostReadResult indexed = index.lookup(address, mode);
        FUZZ_CHECK(scanned.code == indexed.code);
        FUZZ_CHECK(scanned.prefecture == indexed.prefecture);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t end = std::min(input.find('\n'), input.size());
    const std::string_view address = input.substr(0, end);
    const std::string file(input.substr(std::min(end + 1, input.size())));
    const postal::KenAllIndex index(file);
    const std::vector<std::string_view> lines = splitLines(file);
    for (std::string_view line : index.lines()) {
        const postal::KenAllLine columns(line);
        FUZZ_CHECK(columns.count() >= 1 && columns.count() <= postal::KenAllLine::kMaxColumns);
    }
    agree(index, lines, address);
    for (const SjisString& a : fixedAddresses())
        agree(index, lines, a);
    // The first lines' prefecture, city and town, whole and without the
    // prefecture, and the input's address after them.
    for (std::size_t i = 0; i < std::min<std::size_t>(index.lines().size(), 4); ++i) {
        const postal::KenAllLine line(index.lines()[i]);
        const std::string city = std::string(postal::unquote(line.column(8))) + std::string(postal::unquote(line.column(9)));
        agree(index, lines, std::string(postal::unquote(line.column(7))) + city);
        agree(index, lines, city + std::string(address));
        agree(index, lines, sj("本社 東京都") + city);
    }
    return 0;
}
