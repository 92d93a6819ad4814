// The width-set dialog as Brindel builds it: choose only, its own window
// key and column-width file.
#include "components/formats/settings_file.h"
#include "components/widgets/column_width.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/panel.h"
#include "components/widgets/width_set_dialog.h"
#include "platform/modal.h"
#include "platform/registry.h"
#include "table_fixture.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString kPrompt = QStringLiteral("バックアップ方法を指定してください。");

class WidthSetDialogTest : public TableTest {
protected:
    QTemporaryDir config;
    std::unique_ptr<RegistryFolderOverride> registry;
    QString previousDir;
    std::unique_ptr<Table> sets;
    QLabel busy;

    void SetUp() override
    {
        TableTest::SetUp();
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        registry = std::make_unique<RegistryFolderOverride>(config.path());
        sets = open("INDTLEN");
        for (const char* name : {"四", "五"})
            sets->AppendRecord({sj(name)});
        sets->First();
    }

    void TearDown() override { QDir::setCurrent(previousDir); }

    std::unique_ptr<TInDTLenForm> chooser(const QString& widthsFile = QStringLiteral("BrindelListLen.INI"))
    {
        return std::make_unique<TInDTLenForm>(*sets, WidthSetDialogOptions{.objectName = QStringLiteral("InDTLForm"),
                                                                           .canEdit = false,
                                                                           .positionKey = QStringLiteral("Brindel"),
                                                                           .columnWidthsFile = widthsFile,
                                                                           .geometry = {200, 107, 324, 220},
                                                                           .busyLabel = &busy});
    }
};

TEST_F(WidthSetDialogTest, ChooseAnswersByTheCaptionAndTheChosenRowStaysCurrent)
{
    auto form = chooser();
    EXPECT_EQ(busy.text(), QStringLiteral("Busy"));
    ScriptedDialogs dialogs;
    dialogs.answer("InDTLForm", [&](QDialog&) {
        EXPECT_EQ(form->Panel1->caption(), kPrompt);
        EXPECT_TRUE(form->Edit1->isVisible());
        EXPECT_FALSE(form->DBGrid1->gridModel()->editable());
        EXPECT_EQ(form->OKBtn->x(), 324 / 3 - 37);
        EXPECT_EQ(form->CancelBtn->x(), 324 / 3 * 2 - 37);
        form->Edit1->setText(QStringLiteral("3"));
        form->OKBtn->click();
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(form->choose(kPrompt));
    EXPECT_EQ(form->Panel1->caption(), QString());
    EXPECT_EQ(sets->RecNo(), 3);

    for (bool closeBox : {false, true}) {
        dialogs.answer("InDTLForm", [&](QDialog&) {
            form->Edit1->setText(QStringLiteral("1"));
            closeBox ? void(form->close()) : form->CancelBtn->click();
            return int(QDialog::Accepted);
        });
        EXPECT_FALSE(form->choose(kPrompt)) << closeBox;
        EXPECT_EQ(form->Panel1->caption(), kPrompt);
    }
    // Shown to edit, a choose-only dialog still only chooses.
    dialogs.answer("InDTLForm", [&](QDialog&) {
        EXPECT_FALSE(form->DBGrid1->gridModel()->editable());
        EXPECT_TRUE(form->Edit1->isVisible());
        return int(QDialog::Rejected);
    });
    form->showEdit();
}

TEST_F(WidthSetDialogTest, Edit1MakesItsRowCurrentAndShowsNoNumberPastTheLast)
{
    auto form = chooser();
    const struct {
        const char* typed;
        const char* shown;
        int current;
    } cases[] = {
        {"2", "2", 2}, {"99", "5", 5}, {"0", "0", 5}, {"-3", "-3", 5}, {"abc", "abc", 5}, {"4x", "4x", 4},
    };
    for (const auto& c : cases) {
        form->Edit1->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(form->Edit1->text(), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(sets->RecNo(), c.current) << c.typed;
    }
    form->Edit1->setText(QStringLiteral("5"));
    form->UpDown1->upButton()->click();
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("5"));
    form->UpDown1->downButton()->click();
    EXPECT_EQ(sets->RecNo(), 4);

    // The owner's after-scroll hook keeps the box on the current row.
    sets->AfterScroll = [&](Table&) { form->showCurrentRow(); };
    sets->First();
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("1"));
}

TEST_F(WidthSetDialogTest, ColumnWidthsComeFromTheirOwnFileAndOkWritesThem)
{
    LineListFile({"12", "0"}).write(dir.filePath("BrindelListLen.INI"));
    auto form = chooser();
    const ColumnWidth unit(form->DBGrid1->fontMetrics(), 6);
    EXPECT_EQ(form->DBGrid1->columnWidth(0), unit.pixels(12));
    EXPECT_GT(form->DBGrid1->columnWidth(1), 0);
    form->DBGrid1->setColumnWidth(1, unit.pixels(30));

    ScriptedDialogs dialogs;
    dialogs.answer("InDTLForm", [&](QDialog&) {
        form->OKBtn->click();
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(form->choose(kPrompt));
    const auto written = LineListFile::read(dir.filePath("BrindelListLen.INI"));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->lineCount(), std::size_t(sets->FieldCount()));
    EXPECT_EQ(written->number(0), 12);
    EXPECT_EQ(written->number(1), 30);
    EXPECT_FALSE(QFile::exists(dir.filePath("FormListLen.INI")));
}

TEST_F(WidthSetDialogTest, WithoutAWidthsFileNothingIsWrittenAndThePlaceGoesUnderItsKey)
{
    auto form = chooser(QString());
    ScriptedDialogs dialogs;
    dialogs.answer("InDTLForm", [&](QDialog&) {
        form->OKBtn->click();
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(form->choose(kPrompt));
    form.reset();
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.INI")}, QDir::Files), QStringList());
    const auto key = RegistryKey::open(QStringLiteral("Brindel"), false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readInteger(QStringLiteral("InDataLen Width")), 324);
    EXPECT_TRUE(key->readInteger(QStringLiteral("InDataLen PosX")));
}

}  // namespace
