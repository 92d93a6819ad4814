#include "components/formats/backup_format.h"

#include "tests/components/random_values.h"

#include <gtest/gtest.h>

using namespace backup;

namespace {

using Kind = BackupFinding::Kind;

std::vector<std::string_view> views(const std::vector<SjisString>& values)
{
    return {values.begin(), values.end()};
}

}  // namespace

TEST(BackupCsv, LinesOfOrdinaryAndAddressBookSets)
{
    struct Case { std::vector<SjisString> values; bool addressBook; std::optional<std::string_view> code; SjisString line; };
    const std::vector<Case> cases = {
        {{sj("やまだ"), sj("山田")}, false, std::nullopt, sj(",やまだ,山田,\r\n")},
        {{sj("やまだ"), sj("山田")}, false, "1000001", sj(",やまだ,山田,1000001\r\n")},
        {{sj("やまだ"), sj("山田")}, false, "", sj(",やまだ,山田,\r\n")},
        {{"", "", "a", "", "b"}, false, std::nullopt, ",,,a,,b,\r\n"},
        {{"", "", "a", "", "b"}, true, std::nullopt, "a,,b\r\n"},
        {{"", "a"}, true, "1000001", "a,1000001\r\n"},
        {{"", ""}, true, "", ",\r\n"},
        {{"", ""}, true, std::nullopt, "\r\n"},
    };
    for (const Case& c : cases) {
        SjisString out = "x";
        appendCsvLine(out, views(c.values), c.addressBook, c.code);
        EXPECT_EQ(out, "x" + c.line) << sjis::toUtf8(c.line);
    }
}

TEST(BackupCsv, FieldsOfTheLayoutModes)
{
    WidthSet set{sj("通常")};
    set.widths[0] = 8;
    set.widths[2] = 20;
    set.widths[46] = 1;
    EXPECT_EQ(csvLineFields(set, 0), (std::vector<int>{1, 3, 47}));
    EXPECT_EQ(csvLineFields(set, 1), (std::vector<int>{1, 3, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56}));
    EXPECT_EQ(csvLineFields(set, 2), (std::vector<int>{1, 3, 47, 56}));
    EXPECT_EQ(csvLineFields(set, 3), (std::vector<int>{1, 3, 47}));
    set.name = sj("顧客住所録２");
    EXPECT_EQ(csvLineFields(set, 1), (std::vector<int>{1, 3, 47}));
    for (int mode : {0, 1, 2})
        EXPECT_EQ(csvMarkerLine(mode), mode ? std::to_string(mode) + "\r\n" : "");
    EXPECT_EQ(csvValueField(48, 47), 56);
    EXPECT_EQ(csvValueField(56, 47), 48);
}

// Whatever the records hold (but ","), a full set's lines read back value
// for value, with or without postal codes, and the check finds nothing.
TEST(BackupCsv, ReadsBackEveryRecordOfEveryMode)
{
    WidthSet full{sj("通常")};
    full.widths.fill(10);
    for (int mode : {0, 1, 2}) {
        for (bool postal : {false, true}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << (postal ? " with postal codes" : ""));
            RandomValues random(unsigned(mode * 2 + postal));
            const std::vector<int> fields = csvLineFields(full, mode);
            std::vector<std::vector<SjisString>> written;
            SjisString file(csvMarkerLine(mode));
            for (int r = 0; r < 30; ++r) {
                const std::vector<SjisString> record = random.record(r);
                std::vector<SjisString> line;
                for (int no : fields)
                    line.push_back(record[std::size_t(no - 1)]);
                appendCsvLine(file, views(line), false,
                              postal ? std::optional<std::string_view>(r % 2 ? "1234567" : "") : std::nullopt);
                written.push_back(line);
            }
            const BackupCheck check = checkCsvBackup(file);
            EXPECT_TRUE(check.findings.empty());
            EXPECT_EQ(check.records, written.size());
            CsvBackupReader reader(file);
            EXPECT_EQ(reader.valueCount(), int(fields.size()));
            for (const auto& line : written) {
                ASSERT_TRUE(reader.next());
                EXPECT_EQ(std::vector<SjisString>(reader.values().begin(), reader.values().end()), line);
            }
            EXPECT_FALSE(reader.next());
        }
    }
}

TEST(BackupCsv, TheCheckFindsWhatTheRestoreWouldReadOutOfStep)
{
    const SjisString line = "," + std::string(46, ',') + ",\r\n";  // 47 empty values, no code
    const SjisString line56 = "," + std::string(55, ',') + ",1234567\r\n";
    struct Case {
        const char* name;
        SjisString bytes;
        std::size_t records;
        std::vector<std::pair<Kind, std::size_t>> findings;  // kind and line (or record)
    };
    const std::vector<Case> cases = {
        {"empty file", "", 0, {}},
        {"marker line alone", "2\r\n", 0, {}},
        {"marker without line end", "1", 0, {}},
        {"no comma", "abc\r\ndef\r\n", 0, {{Kind::NoComma, 0}}},
        {"blank lines only", "\r\n\r\n", 0, {{Kind::NoComma, 0}}},
        {"records", line + line, 2, {}},
        {"marker and records", "1\r\n" + line56 + line56, 2, {}},
        {"no final line end", line + line.substr(0, line.size() - 2), 2, {}},
        {"a comma in a value", line + ",a,b" + line.substr(1) + line, 3,
         {{Kind::RecordEnd, 2}, {Kind::RecordEnd, 3}, {Kind::IncompleteRecord, 4}}},
        {"letters after the last value", ",a" + std::string(46, ',') + ",x\r\n", 1, {{Kind::RecordEnd, 1}}},
        {"a value of several lines", ",a\r\nb" + line.substr(1) + line, 2, {}},
        {"incomplete last record", line + ",a,b\r\n", 1, {{Kind::IncompleteRecord, 2}}},
        {"address book", sj("やまだ,山田\r\nさとう,佐藤\r\n") + line, 1, {{Kind::Header, 1}, {Kind::RecordEnd, 3}, {Kind::IncompleteRecord, 2}}},
        {"mode-0 file of a set that left fields out", ",a,b,\r\n,c,d,\r\n", 0, {{Kind::IncompleteRecord, 1}}},
        {"no text, UTF-8 too, once a line", line + ",\x82 \x82 " + line.substr(1) + line + ",\xE3\x82\x84\xE3\x81\xBE" + line.substr(1),
         4, {{Kind::NotText, 2}, {Kind::NotText, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BackupCheck check = checkCsvBackup(c.bytes);
        EXPECT_EQ(check.records, c.records);
        std::vector<std::pair<Kind, std::size_t>> found;
        for (const BackupFinding& f : check.findings)
            found.emplace_back(f.kind, f.kind == Kind::IncompleteRecord ? f.record : f.line);
        EXPECT_EQ(found, c.findings);
        EXPECT_EQ(check.stop() != nullptr, !c.findings.empty() && c.findings[0].first == Kind::NoComma);
    }
}

// A fixed-width file read with its widths gives every value without the
// blanks at its ends, widths of 0 (the last ones too) take no bytes, and
// the widths survive their TIF file.
TEST(BackupTxt, ReadsBackWhatItWrites)
{
    RandomValues random(7);
    for (int run = 0; run < 10; ++run) {
        Widths widths{};
        for (int& w : widths)
            w = random.below(3) == 0 ? 0 : random.below(6);
        widths[46] = 0;
        std::vector<std::array<SjisString, kStandardFieldCount>> records(20);
        std::vector<std::array<std::string_view, kStandardFieldCount>> shown(records.size());
        for (std::size_t r = 0; r < records.size(); ++r) {
            const std::vector<SjisString> values = random.record(int(r));
            for (std::size_t i = 0; i < kStandardFieldCount; ++i) {
                records[r][i] = widths[i] ? values[i] : SjisString();
                shown[r][i] = records[r][i];
            }
            widenToFit(widths, shown[r]);
        }
        const Widths read = tifWidths(LineListFile::fromBytes(tifFile(widths).toBytes()));
        EXPECT_EQ(read, widths);
        EXPECT_EQ(tifFile(widths).lineCount(), std::size_t(kStandardFieldCount));
        if (std::all_of(read.begin(), read.end(), [](int w) { return w == 0; }))
            continue;
        SjisString file;
        for (const auto& values : shown)
            appendTxtRecord(file, values, widths, false);
        const BackupCheck check = checkTxtBackup(file, read);
        EXPECT_TRUE(check.findings.empty());
        EXPECT_EQ(check.records, records.size());
        TxtBackupReader reader(file, read);
        for (const auto& values : records) {
            ASSERT_TRUE(reader.next());
            for (std::size_t i = 0; i < kStandardFieldCount; ++i)
                EXPECT_EQ(reader.values()[i], sjis::trim(values[i])) << "field " << i + 1;
        }
        EXPECT_FALSE(reader.next());
    }
}

TEST(BackupTxt, AnAddressBookCutsAtWholeCharactersAndEndsEachRecord)
{
    Widths widths{};
    widths[0] = 5;
    widths[2] = 3;
    std::array<std::string_view, kStandardFieldCount> values{};
    const SjisString reading = sj("やまだ"), name = "AB";
    values[0] = reading;
    values[2] = name;
    SjisString out;
    appendTxtRecord(out, values, widths, true);
    EXPECT_EQ(out, sj("やま") + " " + "AB " + "\r\f");
    Widths grown = widths;
    EXPECT_TRUE(widenToFit(grown, values));
    EXPECT_EQ(grown[0], 6);
    EXPECT_FALSE(widenToFit(grown, values));
}

TEST(BackupTxt, WidthsAndLengthsTheRestoreCannotRead)
{
    Widths widths{};
    EXPECT_EQ(checkTxtBackup("abc", widths).stop()->kind, Kind::NoWidth);
    widths[3] = 4;
    widths[9] = -1;
    const BackupCheck negative = checkTxtBackup("abcd", widths);
    ASSERT_TRUE(negative.stop());
    EXPECT_EQ(negative.stop()->field, 10);
    TxtBackupReader nothing("abcdabcd", widths);
    EXPECT_FALSE(nothing.next());

    widths[9] = 0;
    const BackupCheck leftover = checkTxtBackup("abcdabcdab", widths);
    EXPECT_EQ(leftover.records, 2u);
    ASSERT_EQ(leftover.findings.size(), 1u);
    EXPECT_EQ(leftover.findings[0].kind, Kind::IncompleteRecord);
    EXPECT_EQ(leftover.findings[0].bytes, 2u);
    EXPECT_FALSE(leftover.stop());
    EXPECT_TRUE(checkTxtBackup("", widths).findings.empty());
    const BackupCheck notText = checkTxtBackup(std::string("abcd\xFD\xFE\xFD\xFE\0bcd", 12), widths);
    ASSERT_EQ(notText.findings.size(), 2u);  // once a record
    EXPECT_EQ(std::pair(notText.findings[1].kind, notText.findings[1].record), std::pair(Kind::NotText, std::size_t(3)));
    // A width file of fewer than 47 lines.
    EXPECT_EQ(tifWidths(LineListFile::fromBytes("3\r\n-2\r\n")), (Widths{3, -2}));
}

TEST(BackupNames, PathsKeywordsAndTheOfferedName)
{
    const BackupPath p = BackupPath::split(QStringLiteral("/data/顧客.分割.Csv"));
    EXPECT_EQ(p.folder + "|" + p.baseName + "|" + p.extension, QStringLiteral("/data/|顧客.分割|.Csv"));
    EXPECT_EQ(BackupPath::split(QStringLiteral("backup")).extension, QString());
    for (const char* ext : {".CSV", ".csv"})
        EXPECT_TRUE(isCsvExtension(QString::fromUtf8(ext)));
    for (const char* ext : {".Csv", ".TXT", "", ".CSV ", ".tif"})
        EXPECT_FALSE(isCsvExtension(QString::fromUtf8(ext)));
    EXPECT_TRUE(isSplitName(p.baseName) && isAddressBookName(QStringLiteral("取引先住所録2")));
    EXPECT_TRUE(isAppendingName(QStringLiteral("追加分")) && !isAppendingName(p.baseName));

    const QDate date(2020, 3, 5);
    EXPECT_EQ(defaultBackupName(false, sj("控"), sj("分"), date), QStringLiteral("控令和02年03月05日分"));
    EXPECT_EQ(defaultBackupName(false, {}, {}, date, kEraQueryPattern), QStringLiteral("令和2年03月05日"));
    EXPECT_EQ(defaultBackupName(true, sj("控"), {}, date), QStringLiteral("住所録"));
}
