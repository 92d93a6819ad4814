// Settings files: the line split, the number rule and every typed reader,
// which must keep their values in range and write back what they read.
#include "components/formats/card_settings.h"
#include "components/formats/choice_files.h"
#include "components/formats/list_settings.h"
#include "components/formats/lookup_settings.h"
#include "components/formats/print_settings.h"
#include "components/formats/query_settings.h"
#include "components/formats/settings_file.h"
#include "fuzz/fuzz_check.h"

#include <cstdint>

namespace {

void widths(const LineListFile& file)
{
    const WidthSettings read = widthSettingsFromLines(file);
    for (const auto& w : read.widths)
        FUZZ_CHECK(!w || (*w >= 0 && *w <= kMaxWidth));
    FUZZ_CHECK(widthSettingsFromLines(widthSettingsLines(read)).widths == read.widths);
    const HeightSettings height = heightSettingsFromLines(file);
    FUZZ_CHECK(heightSettingsFromLines(heightSettingsLines(height)).lineCount == height.lineCount);
}

void columns(const LineListFile& file)
{
    const ColumnWidths read = columnWidthsFromLines(file);
    FUZZ_CHECK(read.columns.size() <= std::size_t(kMaxGridColumns));
    for (auto [field, width] : read.columns)
        FUZZ_CHECK(field >= 0 && field <= kMaxGridColumns && width >= 0 && width <= kMaxColumnChars);
    FUZZ_CHECK(columnWidthsFromLines(columnWidthsLines(read)).columns == read.columns);
    for (int c : postDataColumnsFromLines(file).columns)
        FUZZ_CHECK(c >= 0 && c <= kMaxPostDataColumn);
}

void lists(const LineListFile& file)
{
    const ChooserLists chosen = chooserListsFromLines(file);
    FUZZ_CHECK(chosen.left.size() + chosen.right.size() <= file.lineCount());
    const BodyShapeCodes codes = bodyShapeCodesFromLines(file);
    FUZZ_CHECK(codes.codes.size() <= kMaxBodyShapeCodes);
    FUZZ_CHECK(choiceEntriesFromLines(file).entries == file.lines());
    FUZZ_CHECK(sectionTitlesFromLines(file).title(file.lineCount()).empty());
    FUZZ_CHECK(fieldChoicesFromLines(file).fields == codeFileListFromLines(file).paths);
    titleColorSettingsFromLines(file);
    const int points = fontBlockFromLines(file).pointSize();
    FUZZ_CHECK(points >= 1 && points <= kMaxFontPoints);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LineListFile file = LineListFile::fromBytes(bytes);
    FUZZ_CHECK(LineListFile::fromBytes(file.toBytes()).lines() == file.lines());
    for (const SjisString& line : file.lines())
        FUZZ_CHECK(readNumber(line) == readNumber(SjisString(line)));
    readNumber(bytes);
    widths(file);
    columns(file);
    lists(file);
    return 0;
}
