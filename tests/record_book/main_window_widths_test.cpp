// The width sets in the main window: editing them from the menu, choosing
// one for a backup or a restore, and the number box following INDTLEN.
#include "components/widgets/db_controls.h"
#include "components/widgets/width_set_dialog.h"
#include "tests/record_book/main_window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

class WidthsTest : public MainWindowFixture {
protected:
    TInDTLenForm& dialog() { return *InDTLenForm; }
    Table& sets() { return *form()->Table3; }
    std::string setField(const char* name) { return sjis::toUtf8(sets().FieldByName(name).AsString()); }

    // Opens the cell editor of a row and field, clears it and types `text`
    // (ASCII) into it.
    QLineEdit* typeIntoCell(int row, const char* field, const char* text)
    {
        DBGrid* grid = dialog().DBGrid1;
        const QModelIndex cell = grid->gridModel()->index(row, sets().FieldIndex(field));
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
        if (!editor) {
            ADD_FAILURE() << "no editor for " << field;
            return nullptr;
        }
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, QString::fromLatin1(text));
        return editor;
    }

    // The edit dialog from the menu; `act` runs with it open.
    void editSets(const std::function<void()>& act)
    {
        ScriptedDialogs dialogs;
        dialogs.answer("InDTLenForm", [&](QDialog&) {
            EXPECT_EQ(dialog().Panel1->caption(), QString());
            EXPECT_FALSE(dialog().Edit1->isVisible());
            EXPECT_TRUE(dialog().DBGrid1->gridModel()->editable());
            act();
            return int(QDialog::Rejected);
        });
        action("S1")->trigger();
        EXPECT_EQ(dialogs.unanswered(), 0u);
    }
};

TEST_F(WidthsTest, TheNumberBoxAndTheSetsFollowEachOther)
{
    seed("INDTLEN", {{{"データ用途", "四"}}, {{"データ用途", "五"}}});
    create();
    EXPECT_EQ(w<QLabel>("T3Label")->text(), QStringLiteral("Busy"));
    sets().SetRecNo(2);
    EXPECT_EQ(dialog().Edit1->text(), QStringLiteral("2"));

    // Past the last set the box shows the last; no number moves nothing.
    const struct {
        const char* typed;
        const char* shown;
        int current;
    } cases[] = {{"99", "5", 5}, {"0", "0", 5}, {"abc", "abc", 5}, {"4x", "4", 4}};
    for (const auto& c : cases) {
        dialog().Edit1->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(dialog().Edit1->text(), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(sets().RecNo(), c.current) << c.typed;
    }
    dialog().UpDown1->downButton()->click();
    EXPECT_EQ(sets().RecNo(), 3);

    DBGrid* grid = dialog().DBGrid1;
    dialog().show();
    QApplication::processEvents();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->gridModel()->index(0, 0)).center());
    QApplication::processEvents();
    EXPECT_EQ(sets().RecNo(), 1);
    EXPECT_EQ(dialog().Edit1->text(), QStringLiteral("1"));
    dialog().hide();
}

TEST_F(WidthsTest, ChoosingGivesTheSetOfTheChosenRowWhichStaysCurrent)
{
    create();
    const QString prompt = QStringLiteral("リストア方法を指定してください。");
    ScriptedDialogs dialogs;
    dialogs.answer("InDTLenForm", [&](QDialog&) {
        EXPECT_EQ(dialog().Panel1->caption(), prompt);
        EXPECT_TRUE(dialog().Edit1->isVisible());
        EXPECT_FALSE(dialog().DBGrid1->gridModel()->editable());
        dialog().Edit1->setText(QStringLiteral("3"));
        dialog().OKBtn->click();
        return int(QDialog::Rejected);
    });
    const std::optional<WidthSet> chosen = form()->chooseWidthSet(prompt);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->name, sets().FieldByName("データ用途").AsString());
    EXPECT_TRUE(chosen->isAddressBook());
    EXPECT_EQ(sets().RecNo(), 3);

    dialogs.answer("InDTLenForm", [&](QDialog&) {
        dialog().CancelBtn->click();
        return int(QDialog::Accepted);
    });
    EXPECT_FALSE(form()->chooseWidthSet(prompt));
}

TEST_F(WidthsTest, EditModeStoresWholeNumbersUpTo99999OnOk)
{
    create();
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {{"123", "123"}, {"abc12", "12"}, {"-5", "5"}, {"1234567", "12345"}, {"", "0"}};
    for (const auto& c : cases) {
        editSets([&] {
            typeIntoCell(1, "使用者住所", c.typed);
            dialog().OKBtn->click();
        });
        EXPECT_EQ(sets().state(), Table::State::Browse) << c.typed;
        sets().Refresh();
        EXPECT_EQ(sets().RecNo(), 2);
        EXPECT_EQ(setField("使用者住所"), c.stored) << c.typed;
    }
    editSets([&] {
        typeIntoCell(0, "データ用途", "1-2");
        dialog().OKBtn->click();
    });
    EXPECT_EQ(setField("データ用途"), "1-2");
}

TEST_F(WidthsTest, CancelAndTheCloseBoxDropTheEditPendingInTheGrid)
{
    create();
    for (bool closeBox : {false, true}) {
        for (bool editorOpen : {false, true}) {
            editSets([&] {
                QLineEdit* editor = typeIntoCell(0, "電話番号", "77");
                if (!editorOpen) {
                    QTest::keyClick(editor, Qt::Key_Return);
                    QApplication::processEvents();
                    EXPECT_EQ(sets().state(), Table::State::Edit);
                }
                closeBox ? void(dialog().close()) : dialog().CancelBtn->click();
            });
            EXPECT_EQ(sets().state(), Table::State::Browse);
            sets().Next();  // a move posts nothing left behind
            sets().First();
            EXPECT_EQ(setField("電話番号"), "16") << closeBox << editorOpen;
        }
    }
}

}  // namespace
