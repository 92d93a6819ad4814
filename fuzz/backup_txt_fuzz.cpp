// The fixed-width backup reader with its width file: the input's part
// before the first NUL byte is the TIF file, the rest the TXT data. The
// check counts the records the reader gives, values lie inside the data
// without blanks at their ends, and records and left-over bytes make up
// the data.
#include "components/formats/backup_format.h"
#include "fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = std::min(input.find('\0'), input.size());
    const backup::Widths widths = backup::tifWidths(LineListFile::fromBytes(input.substr(0, split)));
    const std::string_view txt = input.substr(std::min(split + 1, input.size()));
    const backup::BackupCheck check = backup::checkTxtBackup(txt, widths);
    backup::TxtBackupReader reader(txt, widths);
    std::size_t records = 0;
    while (reader.next()) {
        ++records;
        for (std::string_view v : reader.values()) {
            FUZZ_CHECK(v.empty() || (v.data() >= txt.data() && v.data() + v.size() <= txt.data() + txt.size()));
            FUZZ_CHECK(v.empty() || (static_cast<unsigned char>(v.front()) > 0x20 && static_cast<unsigned char>(v.back()) > 0x20));
        }
    }
    FUZZ_CHECK(records == check.records);
    if (!check.stop()) {
        std::size_t recordSize = 0;
        for (int w : widths)
            recordSize += std::size_t(w);
        FUZZ_CHECK(records * recordSize + reader.leftover() == txt.size());
    }
    return 0;
}
