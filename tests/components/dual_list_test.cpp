#include "components/widgets/dual_list.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

std::vector<SjisString> entries(const Names& utf8)
{
    std::vector<SjisString> out;
    for (const std::string& s : utf8)
        out.push_back(sj(s));
    return out;
}

Names names(const std::vector<SjisString>& bytes)
{
    Names out;
    for (const SjisString& b : bytes)
        out.push_back(sjis::toUtf8(b));
    return out;
}

// Rows (from 0) of the selected entries.
std::vector<int> selectedRows(const QListWidget* list)
{
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows.push_back(i);
    return rows;
}

void select(QListWidget* list, std::initializer_list<int> rows)
{
    list->clearSelection();
    for (int r : rows)
        list->item(r)->setSelected(true);
}

class DualListTest : public ::testing::Test {
protected:
    TDualListChooser chooser{QStringLiteral("複写しない項目"), QStringLiteral("複写する項目")};

    void fill(const Names& left, const Names& right)
    {
        chooser.setLeftEntries(entries(left));
        chooser.setRightEntries(entries(right));
    }
    Names left() const { return names(chooser.leftEntries()); }
    Names right() const { return names(chooser.rightEntries()); }
};

TEST_F(DualListTest, MovingRightTakesTheWholeBlockToTheEndInItsOrder)
{
    fill({"一", "二", "三", "四", "五", "六"}, {"甲"});
    select(chooser.ListBox1, {1, 4});  // entries 2 and 5
    chooser.SpeedButton1->click();
    EXPECT_EQ(left(), (Names{"一", "六"}));
    EXPECT_EQ(right(), (Names{"甲", "二", "三", "四", "五"}));
    EXPECT_TRUE(selectedRows(chooser.ListBox1).empty());
}

TEST_F(DualListTest, MovingBackAppendsAtTheEndNeverAtTheOldPlace)
{
    fill({"一", "二", "三"}, {});
    select(chooser.ListBox1, {0});
    chooser.SpeedButton1->click();
    select(chooser.ListBox2, {0});
    chooser.SpeedButton2->click();
    EXPECT_EQ(left(), (Names{"二", "三", "一"}));
    EXPECT_TRUE(right().empty());
}

TEST_F(DualListTest, NothingSelectedMovesNothing)
{
    fill({"一", "二"}, {"甲", "乙"});
    QSignalSpy changed(&chooser, &TDualListChooser::changed);
    for (QToolButton* b : {chooser.SpeedButton1, chooser.SpeedButton2, chooser.SpeedButton3, chooser.SpeedButton4})
        b->click();
    EXPECT_EQ(left(), (Names{"一", "二"}));
    EXPECT_EQ(right(), (Names{"甲", "乙"}));
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(DualListTest, UpAtTheTopAndDownAtTheBottomMoveNothing)
{
    fill({}, {"甲", "乙", "丙"});
    select(chooser.ListBox2, {0, 1});
    chooser.SpeedButton3->click();
    EXPECT_EQ(right(), (Names{"甲", "乙", "丙"}));
    select(chooser.ListBox2, {2});
    chooser.SpeedButton4->click();
    EXPECT_EQ(right(), (Names{"甲", "乙", "丙"}));
}

TEST_F(DualListTest, UpMovesTheBlockAndKeepsOnlyItsFirstEntrySelected)
{
    fill({}, {"甲", "乙", "丙", "丁", "戊"});
    select(chooser.ListBox2, {1, 3});  // block 乙 丙 丁, 丙 unselected
    chooser.SpeedButton3->click();
    EXPECT_EQ(right(), (Names{"乙", "丙", "丁", "甲", "戊"}));
    EXPECT_EQ(selectedRows(chooser.ListBox2), (std::vector<int>{0}));
    // A second press moves nothing: the lone selected entry is at the top.
    chooser.SpeedButton3->click();
    EXPECT_EQ(right(), (Names{"乙", "丙", "丁", "甲", "戊"}));

    select(chooser.ListBox2, {2, 4});
    chooser.SpeedButton3->click();
    EXPECT_EQ(right(), (Names{"乙", "丁", "甲", "戊", "丙"}));
    EXPECT_EQ(selectedRows(chooser.ListBox2), (std::vector<int>{1}));
    chooser.SpeedButton3->click();  // 丁 alone
    EXPECT_EQ(right(), (Names{"丁", "乙", "甲", "戊", "丙"}));
    EXPECT_EQ(selectedRows(chooser.ListBox2), (std::vector<int>{0}));
}

TEST_F(DualListTest, DownMovesTheBlockAndKeepsOnlyItsLastEntrySelected)
{
    fill({}, {"甲", "乙", "丙", "丁", "戊"});
    select(chooser.ListBox2, {0, 2});
    chooser.SpeedButton4->click();
    EXPECT_EQ(right(), (Names{"丁", "甲", "乙", "丙", "戊"}));
    EXPECT_EQ(selectedRows(chooser.ListBox2), (std::vector<int>{3}));
    chooser.SpeedButton4->click();  // 丙 alone
    EXPECT_EQ(right(), (Names{"丁", "甲", "乙", "戊", "丙"}));
    EXPECT_EQ(selectedRows(chooser.ListBox2), (std::vector<int>{4}));
}

TEST_F(DualListTest, EntriesKeepTheirBytes)
{
    const SjisString odd = std::string("\x81\x20") + sj("名") + "\xFD";
    chooser.setLeftEntries({odd, sj("車名")});
    select(chooser.ListBox1, {0});
    chooser.SpeedButton1->click();
    ASSERT_EQ(chooser.rightEntries().size(), 1u);
    EXPECT_EQ(chooser.rightEntries()[0], odd);
    EXPECT_EQ(chooser.ListBox1->item(0)->text(), QStringLiteral("車名"));
}

TEST_F(DualListTest, MoveOnlyChooserHasNoOrderButtons)
{
    TDualListChooser shown(QStringLiteral("表示しない項目"), QStringLiteral("表示する項目"),
                           TDualListChooser::Buttons::MoveOnly);
    EXPECT_TRUE(shown.SpeedButton3->isHidden());
    EXPECT_TRUE(shown.SpeedButton4->isHidden());
    EXPECT_FALSE(shown.SpeedButton1->isHidden());
}

}  // namespace

TEST(DualListFit, BothListsAreAsWideAsTheWidestEntryOfEither)
{
    TDualListChooser chooser(QStringLiteral("a"), QStringLiteral("b"));
    const QString longest = QStringLiteral("自動車型式指定番号");
    setListEntries(chooser.ListBox1, {sj("型式"), sj("自動車型式指定番号")});
    const int text = chooser.ListBox1->fontMetrics().horizontalAdvance(longest);
    for (QListWidget* l : {chooser.ListBox1, chooser.ListBox2})
        EXPECT_GT(l->minimumWidth(), text) << l->objectName().toStdString();
}
