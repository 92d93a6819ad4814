// The old-data layout file and the decoder: the input's first byte gives
// the length of the layout file, which also serves as ConvType.INI; the rest
// is the data. A layout is refused or decodes exactly the whole records.
#include "components/formats/legacy_import.h"
#include "fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view layoutBytes = bytes.substr(0, std::min<std::size_t>(data[0], bytes.size()));
    const std::string_view records = bytes.substr(layoutBytes.size());
    const LineListFile file = LineListFile::fromBytes(layoutBytes);
    const ConvTypePairs pairs = convTypeFromLines(file);
    FUZZ_CHECK(pairs.size() == file.lineCount());
    for (OldDataFile kind : {OldDataFile::Base, OldDataFile::Merge}) {
        const auto layout = oldDataLayoutFromLines(file, kind);
        if (!layout)
            continue;
        FUZZ_CHECK(!layout->entries.empty() && layout->entries.size() <= std::size_t(kMaxOldDataEntries));
        const std::size_t length = layout->recordLength(kind);
        FUZZ_CHECK(length > 0);
        std::size_t count = 0;
        decodeOldData(*layout, kind, pairs, records, [&](const OldDataRecord&) { ++count; });
        FUZZ_CHECK(count == records.size() / length);
    }
    return 0;
}
