#include "components/core/record_fields.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordFields, CatalogueKeepsThePhysicalOrder)
{
    EXPECT_STREQ(recordField(1).name, "使用者ふりがな");
    EXPECT_STREQ(recordField(16).name, "所有者");
    EXPECT_STREQ(recordField(47).name, "自賠責期間至");
    EXPECT_STREQ(recordField(56).name, "メモ");
    EXPECT_EQ(recordFieldNumber("エンジンＮＯ．"), 52);
    EXPECT_EQ(recordFieldNumber("なし"), 0);
    for (int no = 1; no <= kExtendedFieldCount; ++no)
        EXPECT_EQ(recordField(no).wholeNumber, no >= 24 && no <= 30) << no;
}

TEST(RecordFields, PrimaryKeyIsTheFirstSixteenFields)
{
    EXPECT_EQ(recordPrimaryKey(),
              "使用者ふりがな;電話番号;使用者;使用者住所;自動車登録番号;登録年月日;初度登録年月;型式;車台番号;"
              "原動機の型式;自動車型式指定番号;類別区分番号;有効期間の満了する日;自賠責保険機関;自賠責証明番号;所有者");
}

TEST(RecordFields, IndexNameDropsTheLastCharacterWithThreeExceptions)
{
    EXPECT_EQ(indexNameOfUtf8("車台番号"), "車台番");
    EXPECT_EQ(indexNameOfUtf8("幅"), "はば");
    EXPECT_EQ(indexNameOfUtf8("自賠責期間自"), "賠責期間自");
    EXPECT_EQ(indexNameOfUtf8("自賠責期間至"), "賠責期間至");
    EXPECT_EQ(indexNameOfUtf8("自賠責期間"), "自賠責期");
    EXPECT_EQ(indexNameOfUtf8("長さ"), "長");
    EXPECT_EQ(indexNameOf(sj("用途")), sj("用"));
    // Every standard field has a distinct index name.
    std::set<std::string> names;
    for (int no = 1; no <= kStandardFieldCount; ++no)
        names.insert(indexNameOfUtf8(recordField(no).name));
    EXPECT_EQ(names.size(), std::size_t(kStandardFieldCount));
}

}  // namespace
