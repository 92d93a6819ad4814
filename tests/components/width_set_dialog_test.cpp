// The width-set dialog: as Brindel builds it (choose only, with its own
// window key and column-width file), and Dremlot's edit mode.
#include "components/formats/settings_file.h"
#include "components/widgets/column_width.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/panel.h"
#include "components/widgets/width_set_dialog.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/registry.h"
#include "table_fixture.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kPrompt = QStringLiteral("バックアップ方法を指定してください。");

class WidthSetDialogTest : public TableTest {
protected:
    QTemporaryDir config;
    std::unique_ptr<RegistryFolderOverride> registry;
    QString previousDir = QDir::currentPath();
    std::unique_ptr<Table> sets;
    QLabel busy;
    ScriptedDialogs dialogs;

    void SetUp() override
    {
        TableTest::SetUp();
        QDir::setCurrent(dir.path());
        registry = std::make_unique<RegistryFolderOverride>(config.path());
        sets = open("INDTLEN");
    }
    void TearDown() override { QDir::setCurrent(previousDir); }

    std::unique_ptr<TInDTLenForm> chooser(const QString& widthsFile = QStringLiteral("BrindelListLen.INI"))
    {
        return std::make_unique<TInDTLenForm>(
            *sets, WidthSetDialogOptions{.objectName = QStringLiteral("InDTLForm"), .canEdit = false,
                                         .positionKey = QStringLiteral("Brindel"), .columnWidthsFile = widthsFile,
                                         .geometry = {200, 107, 324, 220}, .busyLabel = &busy});
    }

    // Shows the chooser; `act` runs while it is open.
    bool choose(TInDTLenForm& form, const std::function<void()>& act)
    {
        dialogs.answer("InDTLForm", [&](QDialog&) { return act(), int(QDialog::Accepted); });
        return form.choose(kPrompt);
    }
};

TEST_F(WidthSetDialogTest, ChoosesByTheCaptionAndKeepsColumnWidthsAndPlaceUnderTheOptionsNames)
{
    LineListFile({"12", "0"}).write(dir.filePath("BrindelListLen.INI"));
    auto form = chooser();
    EXPECT_EQ(busy.text(), QStringLiteral("Busy"));
    const ColumnWidth unit(form->DBGrid1->fontMetrics(), 6);
    EXPECT_EQ(form->DBGrid1->columnWidth(0), unit.pixels(12));
    EXPECT_EQ(form->DBGrid1->columnWidth(1), chooser(QString())->DBGrid1->columnWidth(1)) << "0 keeps the default";
    form->DBGrid1->setColumnWidth(1, unit.pixels(30));
    EXPECT_TRUE(choose(*form, [&] {
        EXPECT_EQ(form->Panel1->caption(), kPrompt);
        EXPECT_TRUE(form->Edit1->isVisible());
        const int n = sets->RecordCount();
        for (auto [from, key, to] : {std::tuple{1, Qt::Key_Down, 1}, {1, Qt::Key_Up, 2}, {n, Qt::Key_Up, n}}) {
            form->Edit1->setText(QString::number(from));
            QTest::keyClick(form->Edit1, key);
            EXPECT_EQ(form->Edit1->text(), QString::number(to)) << from << (key == Qt::Key_Up ? " up" : " down");
        }
        form->Edit1->setText(QStringLiteral("3"));
        form->OKBtn->click();
    }));
    EXPECT_EQ(form->Panel1->caption(), QString());
    EXPECT_EQ(sets->RecNo(), 3);
    for (bool closeBox : {false, true}) {
        EXPECT_FALSE(choose(*form, [&] { closeBox ? void(form->close()) : form->CancelBtn->click(); }));
        EXPECT_EQ(form->Panel1->caption(), kPrompt);
    }
    // Shown to edit, a choose-only dialog still only chooses.
    dialogs.answer("InDTLForm", [&](QDialog&) {
        EXPECT_FALSE(form->DBGrid1->gridModel()->editable());
        QTest::keyClick(form->DBGrid1, Qt::Key_Insert);
        return int(QDialog::Accepted);
    });
    form->showEdit();
    EXPECT_EQ(sets->RecordCount(), 3) << "choosing adds no set";

    form.reset();
    const auto written = LineListFile::read(dir.filePath("BrindelListLen.INI"));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->lineCount(), std::size_t(sets->FieldCount()));
    EXPECT_EQ(std::make_pair(written->number(0), written->number(1)), std::make_pair(12, 30));
    const auto key = RegistryKey::open(QStringLiteral("Brindel"), false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readInteger(QStringLiteral("InDataLen Width")), 324);

    // Without a widths file (Dremlot) no settings file is written.
    QFile::remove(dir.filePath("BrindelListLen.INI"));
    form = chooser(QString());
    ASSERT_TRUE(choose(*form, [&] { form->OKBtn->click(); }));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.INI")}, QDir::Files), QStringList());
}

// A click makes the clicked cell current, whatever the table did in
// between; typing then opens the cell's editor and Return hands it over.
void clickAndType(DBGrid& grid, int row, int column, const char* keys)
{
    const QModelIndex at = grid.model()->index(row, column);
    grid.scrollTo(at);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(at).center());
    QApplication::processEvents();
    QTest::keyClick(&grid, keys[0]);
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, keys + 1);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
}

TEST_F(WidthSetDialogTest, EditModeTypesIntoTheCellClickedAndAddsAndRemovesSets)
{
    TInDTLenForm form(*sets);
    const int name = sets->FieldIndex("データ用途"), user = sets->FieldIndex("使用者"),
              reading = sets->FieldIndex("使用者ふりがな");
    ScriptedMessages messages;
    messages.answer(MessageAnswer::No).answer(MessageAnswer::Yes);
    dialogs.answer("InDTLenForm", [&](QDialog&) {
        DBGrid& grid = *form.DBGrid1;
        clickAndType(grid, 0, reading, "17");
        clickAndType(grid, 2, user, "33");
        EXPECT_EQ(grid.currentIndex(), grid.model()->index(2, user));
        EXPECT_EQ(grid.selectionModel()->selectedIndexes(), QModelIndexList{grid.currentIndex()});

        // Down past the last row starts a set; Up drops it untouched.
        QTest::keyClick(&grid, Qt::Key_Down);
        EXPECT_EQ(sets->state(), Table::State::Insert);
        EXPECT_EQ(grid.currentIndex(), grid.model()->index(3, user));
        QTest::keyClick(&grid, Qt::Key_Up);
        QApplication::processEvents();
        EXPECT_EQ(sets->RecordCount(), 3);
        EXPECT_EQ(grid.model()->rowCount(), 3);
        // Insert starts one too, which keeps what is typed into it.
        QTest::keyClick(&grid, Qt::Key_Insert);
        clickAndType(grid, 3, name, "new");
        clickAndType(grid, 3, user, "5");
        QTest::keyClick(&grid, Qt::Key_Up);
        QApplication::processEvents();
        EXPECT_EQ(sets->RecordCount(), 4);

        // Ctrl+Delete asks: No keeps the set, Yes removes it.
        clickAndType(grid, 1, user, "8");
        QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(sets->RecordCount(), 4);
        QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(sets->RecordCount(), 3);
        QTest::keyClick(&grid, Qt::Key_Insert);  // an untouched set, which OK drops
        form.OKBtn->click();
        return int(QDialog::Accepted);
    });
    form.showEdit();
    ASSERT_EQ(messages.prompts().size(), 2u);
    EXPECT_EQ(messages.prompts()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(column(*sets, "データ用途"), (Texts{"全項目", "住所録＋郵便番号", "new"}));
    EXPECT_EQ(column(*sets, "使用者ふりがな")[0], "17");
    EXPECT_EQ(column(*sets, "使用者"), (Texts{"40", "33", "5"}));
}

}  // namespace
