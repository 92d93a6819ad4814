// The width-set dialog as Brindel builds it: choose only, with its own
// window key and column-width file.
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
#include <QtTest/QTest>

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
        const QString last = QString::number(sets->RecordCount());
        for (auto [from, key, to] : {std::tuple{QStringLiteral("1"), Qt::Key_Down, QStringLiteral("1")},
                                     {QStringLiteral("1"), Qt::Key_Up, QStringLiteral("2")},
                                     {last, Qt::Key_Up, last}}) {
            form->Edit1->setText(from);
            QTest::keyClick(form->Edit1, key);
            EXPECT_EQ(form->Edit1->text(), to) << from.toStdString() << (key == Qt::Key_Up ? " up" : " down");
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
        return int(QDialog::Rejected);
    });
    form->showEdit();

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

}  // namespace
