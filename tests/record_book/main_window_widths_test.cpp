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

    // Opens the cell editor of a row and field, clears it and types `text`.
    QLineEdit* typeIntoCell(int row, const char* field, const char* text)
    {
        DBGrid* grid = dialog().DBGrid1;
        const QModelIndex cell = grid->gridModel()->index(row, sets().FieldIndex(field));
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
        if (editor) {
            editor->selectAll();
            QTest::keyClick(editor, Qt::Key_Backspace);
            QTest::keyClicks(editor, QString::fromLatin1(text));
        }
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
    for (auto [typed, shown, current] : {std::tuple{"99", "5", 5}, {"0", "0", 5}, {"abc", "abc", 5}, {"4x", "4", 4}}) {
        dialog().Edit1->setText(QString::fromUtf8(typed));
        EXPECT_EQ(dialog().Edit1->text(), QString::fromUtf8(shown)) << typed;
        EXPECT_EQ(sets().RecNo(), current) << typed;
    }
    dialog().UpDown1->downButton()->click();
    EXPECT_EQ(sets().RecNo(), 3);

    DBGrid* grid = dialog().DBGrid1;  // a click on a row moves the set and the box
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
    dialogs.answer("InDTLenForm", [&](QDialog&) { return dialog().CancelBtn->click(), int(QDialog::Accepted); });
    EXPECT_FALSE(form()->chooseWidthSet(prompt));
}

// OK stores whole numbers up to 99999; Cancel and the close box drop the
// edit pending in the grid, posted or still in the editor.
TEST_F(WidthsTest, EditModeStoresOnOkAndDropsOnCancelOrClose)
{
    create();
    for (auto [row, field, typed, stored] : {std::tuple{1, "使用者住所", "123", "123"}, {1, "使用者住所", "abc12", "12"},
                                             {1, "使用者住所", "-5", "5"}, {1, "使用者住所", "1234567", "12345"},
                                             {1, "使用者住所", "", "0"}, {0, "データ用途", "1-2", "1-2"}}) {
        editSets([&] { typeIntoCell(row, field, typed), dialog().OKBtn->click(); });
        EXPECT_EQ(sets().state(), Table::State::Browse) << typed;
        sets().Refresh();
        EXPECT_EQ(sets().RecNo(), row + 1);
        EXPECT_EQ(setField(field), stored) << typed;
    }

    for (int i = 0; i < 4; ++i) {
        const bool closeBox = i & 1, editorOpen = i & 2;
        editSets([&] {
            QLineEdit* editor = typeIntoCell(0, "電話番号", "77");
            ASSERT_TRUE(editor);
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

}  // namespace
