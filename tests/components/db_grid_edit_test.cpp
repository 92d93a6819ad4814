#include "components/db_controls.h"
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
