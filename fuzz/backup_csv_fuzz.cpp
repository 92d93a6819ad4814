// The CSV backup reader and the check a restore makes: the check counts
// the records the reader gives, every value lies inside the input and holds
// no ",", and a record has the values its marker says.
#include "components/formats/backup_format.h"
#include "fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const backup::BackupCheck check = backup::checkCsvBackup(input);
    backup::CsvBackupReader reader(input);
    FUZZ_CHECK(reader.valueCount() == 47 || reader.valueCount() == 48 || reader.valueCount() == 56);
    auto inside = [&](std::string_view v) { return v.empty() || (v.data() >= input.data() && v.data() + v.size() <= input.data() + size); };
    std::size_t records = 0;
    while (reader.next()) {
        ++records;
        FUZZ_CHECK(int(reader.values().size()) == reader.valueCount());
        for (std::string_view v : reader.values()) {
            FUZZ_CHECK(inside(v));
            FUZZ_CHECK(v.find(',') == std::string_view::npos);
        }
        FUZZ_CHECK(inside(reader.rest()) && reader.rest().find(',') == std::string_view::npos);
        FUZZ_CHECK(reader.line() >= 1);
    }
    FUZZ_CHECK(inside(reader.incomplete()));
    FUZZ_CHECK(records == check.records);
    FUZZ_CHECK(!check.stop() || check.records == 0);
    return 0;
}
