#include "components/widgets/db_controls.h"
#include "platform/message_box.h"
#include "table_fixture.h"

using DBGridEditTest = TableTest;

TEST_F(DBGridEditTest, CellsAreReadOnlyUnlessTheGridIsEditable)
{
    auto t = open("code");
    t->AppendRecord({sj("１"), sj("１"), sj("型"), sj("旧")});
    DBGrid grid;
    grid.setTable(t.get());
    DBGridModel* model = grid.gridModel();
    const QModelIndex name = model->index(0, t->FieldIndex("車名"));
    EXPECT_FALSE(model->flags(name) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->setData(name, QStringLiteral("新")));

    grid.setEditable(true);
    EXPECT_TRUE(model->flags(name) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->setData(name, QStringLiteral("新")));
    EXPECT_EQ(t->state(), Table::State::Edit);
    EXPECT_EQ(model->data(name, Qt::EditRole).toString(), QStringLiteral("新"));
    t->Post();
    EXPECT_EQ(get(*t, "車名"), "新");
}

TEST_F(DBGridEditTest, AnEditMovesToItsRecordAndRefusesWhatCp932CannotHold)
{
    auto t = open("code");
    t->AppendRecord({sj("１"), sj("１"), {}, sj("一")});
    t->AppendRecord({sj("２"), sj("１"), {}, sj("二")});
    t->First();
    DBGrid grid;
    grid.setTable(t.get());
    grid.setEditable(true);
    DBGridModel* model = grid.gridModel();
    const int column = t->FieldIndex("車名");
    EXPECT_TRUE(model->setData(model->index(1, column), QStringLiteral("弐")));
    EXPECT_EQ(get(*t, "自動車型式指定番号"), "２");

    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    EXPECT_FALSE(model->setData(model->index(1, column), QString::fromUtf8("𠮷")));
    EXPECT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(get(*t, "車名"), "弐");
}

TEST_F(DBGridEditTest, AnEditKeepsTheBytesOfEveryCharacterItDidNotTouch)
{
    // IBM Roman numeral one (re-encodes as NEC 0x8754), a NEC-selected IBM
    // code (re-encodes as 0xFA40) and a byte that is no character.
    const SjisString ibmOne("\xFA\x4A"), necSelected("\xEE\xEF"), odd("\xFD");
    auto t = open("code");
    t->AppendRecord({sj("１"), sj("１"), {}, ibmOne + "a" + necSelected + odd});
    DBGrid grid;
    grid.setTable(t.get());
    grid.setEditable(true);
    DBGridModel* model = grid.gridModel();
    const QModelIndex name = model->index(0, t->FieldIndex("車名"));
    QString text = model->data(name, Qt::EditRole).toString();
    text.replace(1, 1, QStringLiteral("型"));
    ScriptedMessages messages;  // any prompt fails the test
    EXPECT_TRUE(model->setData(name, text));
    t->Post();
    EXPECT_EQ(t->FieldByName("車名").AsString(), ibmOne + sj("型") + necSelected + odd);

    // A second edit starts from the stored bytes.
    text = model->data(name, Qt::EditRole).toString() + QStringLiteral("車");
    EXPECT_TRUE(model->setData(name, text));
    t->Post();
    EXPECT_EQ(t->FieldByName("車名").AsString(), ibmOne + sj("型") + necSelected + odd + sj("車"));
}

TEST_F(DBGridEditTest, TheRefusalIsTheStandardWarningOverTheGrid)
{
    auto t = open("code");
    t->AppendRecord({sj("１"), sj("１"), {}, sj("一")});
    DBGrid grid;
    grid.setTable(t.get());
    grid.setEditable(true);
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    EXPECT_FALSE(grid.gridModel()->setData(grid.gridModel()->index(0, t->FieldIndex("車名")), QString::fromUtf8("一😀")));
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, sjis::refusalMessage(U'😀'));
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(t->state(), Table::State::Browse);
}
