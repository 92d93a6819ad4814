#include "record_book/model/code_check.h"

#include "components/core/japanese_text.h"
#include "components/formats/settings_file.h"

namespace speccode {

namespace {

constexpr std::size_t kMaxColumns = 100;
// Code files list every vehicle type: larger than a settings file may be.
constexpr qint64 kCodeFileLimit = 64 << 20;

struct Words {
    SjisString space = sj("　"), open = sj("（"), close = sj("）"), comma = sj("，"), tilde = sj("～"),
               diesel = sj("軽油"), petrol = sj("ガソリン"), importedCar = sj("輸入乗用車"), passenger = sj("乗用"),
               kei = sj("軽"), keiCar = sj("軽自動車"), dieselMark = sj("Ｋ");
};

const Words& words()
{
    static const Words w;
    return w;
}

std::string_view column(const std::vector<std::string_view>& columns, int number)
{
    return number >= 1 && std::size_t(number) <= columns.size() ? columns[std::size_t(number - 1)]
                                                                 : std::string_view{};
}

// A value without its unit: the last character goes.
SjisString withoutLast(std::string_view value, std::size_t bytes = 1)
{
    return value.size() < bytes ? SjisString() : sjis::cutBytes(value, value.size() - bytes);
}

SjisString withoutLeadingZero(SjisString text)
{
    if (text.starts_with('0'))
        text.erase(0, 1);
    return text;
}

bool holdsClassification(std::string_view value, std::string_view c)
{
    const Words& w = words();
    if (value == c)
        return true;
    if (const std::size_t comma = sjis::findCharacters(value, w.comma); comma != std::string_view::npos)
        if (value.substr(0, comma) == c || value.substr(comma + w.comma.size()) == c)
            return true;
    if (const std::size_t tilde = sjis::findCharacters(value, w.tilde); tilde != std::string_view::npos)
        return value.substr(0, tilde) <= c && value.substr(tilde + w.tilde.size()) >= c;
    return false;
}

// Use and kind from column 2: the use, one more character, then the kind
// in brackets ("軽" meaning a light vehicle); or the word "輸入乗用車".
std::pair<SjisString, SjisString> useAndKind(std::string_view text)
{
    const Words& w = words();
    if (text == w.importedCar)
        return {w.passenger, {}};
    const std::size_t open = sjis::findCharacters(text, w.open);
    const SjisString use = withoutLast(text.substr(0, std::min(open, text.size())), 2);
    if (open == std::string_view::npos)
        return {use, {}};
    std::string_view kind = text.substr(open + w.open.size());
    kind = kind.substr(0, std::min(sjis::findCharacters(kind, w.close), kind.size()));
    return {use, kind == w.kei ? w.keiCar : SjisString(kind)};
}

}  // namespace

std::vector<std::string_view> codeColumns(std::string_view line)
{
    std::vector<std::string_view> columns;
    std::size_t start = 0;
    while (columns.size() < kMaxColumns) {
        const std::size_t comma = line.find(',', start);
        columns.push_back(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return columns;
}

int classificationVariant(const std::vector<std::string_view>& columns, std::string_view classification)
{
    for (int i = 0; i < 3; ++i)
        if (holdsClassification(column(columns, 6 + i), classification))
            return i;
    return -1;
}

std::vector<SpecValue> specificationValues(const std::vector<std::string_view>& columns, int variant,
                                           const std::vector<CodeType>& types)
{
    const Words& w = words();
    const int i = variant;
    auto col = [&](int base) { return column(columns, base + i); };

    // The type stands in column 5 for every variant: columns 6 to 8 hold the
    // variants' classification numbers.
    SjisString type(column(columns, 5));
    ChangeChar(type);
    SjisString shape;
    for (const CodeType& t : types)
        if (t.code == col(18)) {
            shape = t.name;
            break;
        }
    auto [use, kind] = useAndKind(column(columns, 2));

    struct Entry {
        const char* field;
        SjisString value;
        int base;  // 0: the same in every classification of a range
    };
    std::vector<Entry> entries = {
        {"型式", type, 0},
        {"車名", SjisString(column(columns, 4)) + w.space + SjisString(col(9)), 9},
        {"車体の形状", shape, 18},
        {"長さ", withoutLast(col(24)), 24},
        {"幅", withoutLast(col(27)), 27},
        {"高さ", withoutLast(col(30)), 30},
        {"前前軸重", SjisString(col(42)), 42},
        {"後後軸重", SjisString(col(45)), 45},
        {"乗車定員", SjisString(col(51)), 51},
        {"車両重量", SjisString(col(48)), 48},
        {"車両総重量", SjisString(col(60)), 60},
        {"原動機の型式", SjisString(col(63)), 63},
        {"総排気量又は定格出力", withoutLast(col(69)), 69},
        {"燃料の種類", type.starts_with(w.dieselMark) ? w.diesel : w.petrol, 0},
        {"自動車の種別", kind, 0},
        {"用途", use, 0},
    };

    const bool singleRange = variant == 0 && column(columns, 7).empty();
    std::vector<SpecValue> values;
    for (Entry& e : entries) {
        if (singleRange && e.base && !column(columns, e.base + 1).empty())
            e.value.clear();
        const std::string_view field = e.field;
        if ((field == "車両重量" || field == "車両総重量") && sjis::findCharacters(e.value, w.tilde) != std::string_view::npos)
            e.value.clear();
        values.push_back({e.field, std::move(e.value)});
    }
    return values;
}

CodeCheckOutcome searchCodeFiles(const SjisString& designation, const SjisString& classification,
                                 const std::vector<QString>& files, const std::vector<CodeType>& types,
                                 const std::function<bool()>& loadOtherClassification)
{
    const SjisString d = withoutLeadingZero(ToHalfWidth(designation));
    const SjisString c = ToHalfWidth(classification);
    CodeCheckOutcome outcome;
    for (const QString& path : files) {
        const auto file = LineListFile::read(path, kCodeFileLimit);
        if (!file) {
            outcome.result = MissingCodeFile;
            return outcome;
        }
        for (const SjisString& line : file->lines()) {
            if (line.find(d) == std::string::npos)
                continue;
            const std::vector<std::string_view> columns = codeColumns(line);
            if (withoutLeadingZero(SjisString(column(columns, 15))) != d)
                continue;
            int variant = classificationVariant(columns, c);
            if (variant < 0) {
                if (!loadOtherClassification())
                    continue;
                variant = 0;
            }
            outcome.result = Filled;
            outcome.values = specificationValues(columns, variant, types);
            return outcome;
        }
    }
    return outcome;
}

}  // namespace speccode
