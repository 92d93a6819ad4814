// The legacy text conversion in every mode: a failure leaves the text as it
// was, only the pair modes can fail, and no mode more than doubles a text.
#include "components/formats/legacy_text.h"
#include "fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const SjisString input(reinterpret_cast<const char*>(data), size);
    for (int mode : {-7, 0, 1, 2, 3, 10, 15, 20, 21, 22, 23, 30, 31, 99}) {
        SjisString text = input;
        const bool converted = ConvertLegacyText(text, mode);
        const bool pairs = mode < 21 && mode != 0 && mode != 10 && mode != 20;
        FUZZ_CHECK(converted || pairs);
        FUZZ_CHECK(converted || text == input);
        FUZZ_CHECK(text.size() <= 2 * input.size());
        FUZZ_CHECK(!converted || text.empty() || (std::uint8_t(text.front()) > 0x20 && std::uint8_t(text.back()) > 0x20));
    }
    return 0;
}
