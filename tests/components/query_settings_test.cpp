#include "components/formats/query_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct FieldFile {
    const char* name;
    FieldChoices (*read)(const QString&);
    void (*write)(const QString&, const FieldChoices&);
};

const FieldFile kFieldFiles[] = {
    {"Find.INI", readFindFields, writeFindFields},
    {"Filter.INI", readFilterFields, writeFilterFields},
    {"Sort.INI", readSortFields, writeSortFields},
};

TEST(QuerySettings, FieldFilesRoundTripAndAMissingOneOffersTheStandardFields)
{
    const FieldChoices chosen{{sj("車名"), "", sj("型式")}};
    EXPECT_EQ(fieldChoicesLines(chosen).toBytes(), sj("車名\r\n\r\n型式\r\n"));
    for (const FieldFile& f : kFieldFiles) {
        QTemporaryDir dir;
        const std::vector<SjisString> standard = f.read(dir.path()).fields;
        ASSERT_EQ(standard.size(), 47u) << f.name;
        EXPECT_EQ(standard.front(), sj("使用者ふりがな"));
        EXPECT_EQ(standard.back(), sj("自賠責期間至"));
        f.write(dir.path(), chosen);
        EXPECT_TRUE(QFile::exists(dir.filePath(QString::fromLatin1(f.name)))) << f.name;
        EXPECT_EQ(f.read(dir.path()).fields, chosen.fields) << f.name;
    }
    EXPECT_TRUE(fieldChoicesFromLines(LineListFile::fromBytes("")).fields.empty());
}

TEST(QuerySettings, CopySettingsRoundTripAndToleratePartialFiles)
{
    const CopySettings copy{{sj("使用者"), sj("電話番号")}, {sj("車名")}};
    const SjisString bytes = chooserListsLines(copy).toBytes();
    EXPECT_EQ(bytes, sj("使用者\r\n電話番号\r\n\r\n車名\r\n\r\n"));
    const CopySettings back = chooserListsFromLines(LineListFile::fromBytes(bytes));
    EXPECT_EQ(back.left, copy.left);
    EXPECT_EQ(back.right, copy.right);

    struct Case {
        const char* bytes;
        std::vector<SjisString> left, right;
    };
    const Case cases[] = {
        {"a\r\n\r\nb\nc", {"a"}, {"b", "c"}},       // no second empty line
        {"\r\nb\r\n\r\nignored\r\n", {}, {"b"}},    // starts with an empty line
        {"a\r\n", {"a"}, {}},
    };
    for (const Case& c : cases) {
        const CopySettings read = chooserListsFromLines(LineListFile::fromBytes(c.bytes));
        EXPECT_EQ(read.left, c.left) << c.bytes;
        EXPECT_EQ(read.right, c.right) << c.bytes;
    }
    QTemporaryDir dir;
    EXPECT_FALSE(readCopySettings(dir.path()));
}

}  // namespace
