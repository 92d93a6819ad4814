#include "components/formats/legacy_import.h"

#include "components/core/era_date.h"
#include "components/formats/legacy_text.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <string>

namespace {

constexpr int kLastRecordField = 56;

// Bytes from `pos` on, at most `count`; nothing past the end.
std::string_view part(std::string_view text, std::size_t pos, std::size_t count = std::string_view::npos)
{
    return pos < text.size() ? text.substr(pos, count) : std::string_view();
}

std::optional<int> digits(std::string_view text, std::size_t pos, std::size_t count)
{
    if (pos + count > text.size())
        return std::nullopt;
    int value = 0;
    for (char c : text.substr(pos, count)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The era and era year of a date's digits: from the era table when they
// make a year from 1868 on and a month; a day the month lacks (00 for "day
// unknown", 30 February) and a year and month alone count as the month's
// first day. Else the old rule, 平成 from 1990, 昭和 before.
std::pair<SjisString, int> eraOf(std::string_view value, int year, bool withDay)
{
    const auto y = digits(value, 0, 4), m = digits(value, 4, 2);
    const auto d = withDay ? digits(value, 6, 2) : std::optional<int>(1);
    if (y && m && d && *y >= 1868 && *m >= 1 && *m <= 12) {
        const QDate date(*y, *m, *d);
        const Era& era = eras()[std::size_t(eraIndexOfDate(date.isValid() ? date : QDate(*y, *m, 1)))];
        return {era.name, *y - era.baseYear};
    }
    return year >= 1990 ? std::pair(sj("平成"), year - 1988) : std::pair(sj("昭和"), year - 1925);
}

// Type 0: the engine model after "ｹﾞﾝｹｲ" goes to field 10; then the digits
// around a point: those after it to field 12, the five before it to field
// 11; the model keeps what stands before them.
void splitModel(OldDataRecord& record, SjisString& value)
{
    auto legacy = [](std::string_view bytes) {
        SjisString s(bytes);
        ConvertLegacyText(s, 0);
        return s;
    };
    static const SjisString engineWord = sj("ｹﾞﾝｹｲ");
    if (const std::size_t p = value.find(engineWord); p != SjisString::npos) {
        record[10] += legacy(part(value, p + engineWord.size() + 1));
        value.resize(p);
    }
    const std::size_t q = value.find('.');
    if (q == SjisString::npos)
        return;
    record[12] += legacy(part(value, q + 1));
    if (q < 6) {
        record[11] += legacy(part(value, 0, q));
        value.resize(q);
    } else {
        record[11] += legacy(part(value, q - 5, 5));
        value.resize(q - 6);
    }
}

void replaceByPair(SjisString& value, const ConvTypePairs& pairs)
{
    auto it = std::find_if(pairs.begin(), pairs.end(), [&](const ConvTypePair& p) { return p.from == value; });
    if (it != pairs.end())
        value = it->to;
}

// Types 10 and 15: an era in front of the slot chosen by its beginning
// `head`, and `suffix` after it; an empty slot stays empty.
void prefixEra(SjisString& slot, std::string_view head, const SjisString& suffix)
{
    static const SjisString twenty = sj("２０"), sixtyFour = sj("６４");
    static const SjisString heisei = sj("平成"), nineteen = sj("１９"), showa = sj("昭和");
    if (slot.empty())
        return;
    const SjisString& era = head < std::string_view(twenty) ? heisei : head > std::string_view(sixtyFour) ? nineteen : showa;
    slot = era + slot + suffix;
}

void afterConversion(SjisString& slot, int type)
{
    static const SjisString twoSpaces = sj("　　");
    switch (type) {
    case 10:
        if (slot.compare(0, twoSpaces.size(), twoSpaces) != 0)
            prefixEra(slot, part(slot, 0, 4), sj("日"));
        break;
    case 15: prefixEra(slot, slot, sj("年")); break;
    case 2: slot += "\r\n"; break;
    case 16: slot += sj("月"); break;
    case 17: slot += sj("日"); break;
    case 18: slot += sj("ヶ月"); break;
    default: break;
    }
}

}  // namespace

std::size_t OldDataLayout::recordLength(OldDataFile file) const
{
    std::size_t length = 0;
    for (std::size_t i = firstEntry(file); i < entries.size(); ++i)
        length += std::size_t(std::max(entries[i].length, 0));
    return length;
}

std::optional<OldDataLayout> oldDataLayoutFromLines(const LineListFile& file, OldDataFile kind)
{
    const int count = file.number(0);
    if (count < (kind == OldDataFile::Merge ? 2 : 1) || count > kMaxOldDataEntries)
        return std::nullopt;
    OldDataLayout layout;
    for (int i = 0; i < count; ++i) {
        const std::size_t line = 1 + 3 * std::size_t(i);
        OldDataEntry e{file.number(line), file.number(line + 1), file.number(line + 2)};
        if (e.target < 0 || e.target > kMaxOldDataTarget || e.length <= 0)
            return std::nullopt;
        layout.entries.push_back(e);
    }
    if (kind == OldDataFile::Merge && (layout.keyField() < 1 || layout.keyField() > kLastRecordField))
        return std::nullopt;
    return layout;
}

ConvTypePairs convTypeFromLines(const LineListFile& file)
{
    ConvTypePairs pairs;
    for (const SjisString& line : file.lines()) {
        const std::size_t comma = line.find(',');
        if (comma == SjisString::npos)
            pairs.push_back({line, line});
        else
            pairs.push_back({line.substr(0, comma), line.substr(comma + 1)});
    }
    return pairs;
}

SjisString oldDataEraDate(std::string_view value, bool withDay)
{
    static const std::string_view blanks[] = {"00000000", "        ", "000000", "      ", "0000", "    "};
    if (std::find(std::begin(blanks), std::end(blanks), value) != std::end(blanks))
        return {};
    const SjisString rest = withDay ? SjisString(part(value, 4, 2)) + sj("月") + SjisString(part(value, 6)) + sj("日")
                                    : SjisString(part(value, 4));
    const auto [era, eraYear] = eraOf(value, readNumber(part(value, 0, 4)), withDay);
    std::string year = std::to_string(eraYear);
    if (year.size() == 1)
        year.insert(0, "0");
    return era + year + sj("年") + rest;
}

void decodeOldDataEntry(OldDataRecord& record, const OldDataEntry& entry, std::string_view bytes,
                        const ConvTypePairs& pairs)
{
    SjisString value(bytes);
    if (entry.type == 23)
        replaceByPair(value, pairs);
    else if (entry.type == 30 || entry.type == 31)
        value = oldDataEraDate(value, entry.type == 30);
    else if (entry.type == 0)
        splitModel(record, value);
    const bool stored = entry.target >= 0 && entry.target <= kMaxOldDataTarget;
    SjisString& slot = record[stored ? std::size_t(entry.target) : 0];
    SjisString converted = value;
    if (ConvertLegacyText(converted, entry.type)) {
        slot += converted;
    } else {
        ConvertLegacyText(value, 1);
        record[kRemarksSlot] += value + "\r\n";
    }
    afterConversion(slot, entry.type);
}

void decodeOldData(const OldDataLayout& layout, OldDataFile kind, const ConvTypePairs& pairs, std::string_view data,
                   const std::function<void(const OldDataRecord&)>& onRecord)
{
    const std::size_t length = layout.recordLength(kind);
    if (length == 0)
        return;
    OldDataRecord record;
    for (std::size_t pos = 0; data.size() - pos >= length; pos += length) {
        for (SjisString& slot : record)
            slot.clear();
        std::size_t at = pos;
        for (std::size_t i = layout.firstEntry(kind); i < layout.entries.size(); ++i) {
            const OldDataEntry& e = layout.entries[i];
            decodeOldDataEntry(record, e, data.substr(at, std::size_t(e.length)), pairs);
            at += std::size_t(e.length);
        }
        if (kind == OldDataFile::Base)
            record[kPurchaseAmountSlot] = std::to_string(readNumber(record[kPurchaseAmountSlot]));
        onRecord(record);
    }
}

std::optional<OldDataInput> readOldDataInput(const QString& dataFile, const QString& dataDir, OldDataFile kind)
{
    const QFileInfo info(dataFile);
    const QString folder = info.absolutePath();
    OldDataInput input;
    if (const auto conv = readSettingsFile(folder, QStringLiteral("ConvType.INI")))
        input.pairs = convTypeFromLines(*conv);
    auto layoutFile = readSettingsFile(folder, info.completeBaseName() + QStringLiteral(".INI"));
    if (!layoutFile)
        layoutFile = readSettingsFile(dataDir, QStringLiteral("Brindel.INI"));
    if (!layoutFile)
        return std::nullopt;
    auto layout = oldDataLayoutFromLines(*layoutFile, kind);
    if (!layout)
        return std::nullopt;
    input.layout = std::move(*layout);
    QFile file(dataFile);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("%1 を開けません。\r%2").arg(dataFile, file.errorString()));
    input.data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("%1 を読み込めません。\r%2").arg(dataFile, file.errorString()));
    return input;
}
