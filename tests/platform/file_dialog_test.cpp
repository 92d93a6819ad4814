#include "platform/file_dialog.h"

#include "platform/modal.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileDialog, FiltersOfTheSystemsNotationMatchAnyCase)
{
    const QStringList filters = nameFilters(QStringLiteral("CSVﾌｧｲﾙ(*.CSV)|*.CSV|すべて　(*.*)|*.*"));
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], QStringLiteral("CSVﾌｧｲﾙ (*.CSV *.csv)"));
    EXPECT_EQ(filters[1], QStringLiteral("すべて (*.*)"));
    EXPECT_EQ(nameFilters(QStringLiteral("テキスト|*.txt;*.TIF")),
              QStringList{QStringLiteral("テキスト (*.txt *.TXT *.TIF *.tif)")});
}

TEST(FileDialog, AScriptAnswersBySelectingAFileOrCancelling)
{
    QTemporaryDir dir;
    QFile(dir.filePath("a.csv")).open(QIODevice::WriteOnly);
    const QString backup = QStringLiteral("平成08年03月15日バックアップ（全項目＋郵便番号）.CSV");
    QFile(dir.filePath(backup)).open(QIODevice::WriteOnly);
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("OpenDialog1"), [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("開く"));
        const auto* list = d.findChild<QTreeView*>(QStringLiteral("treeView"));
        EXPECT_TRUE(list && list->header()->sectionSize(0)
                                >= list->fontMetrics().horizontalAdvance(backup) + 2 * list->iconSize().width())
            << "a backup's name whole in the list of details";
        static_cast<QFileDialog&>(d).selectFile(dir.filePath("a.csv"));
        return int(QDialog::Accepted);
    });
    dialogs.answer(QStringLiteral("OpenDialog1"), QDialog::Rejected);
    const auto chosen = openFileName(QStringLiteral("OpenDialog1"), QStringLiteral("開く"), {}, dir.path());
    ASSERT_TRUE(chosen);
    EXPECT_EQ(QFileInfo(*chosen).canonicalFilePath(), QFileInfo(dir.filePath("a.csv")).canonicalFilePath());
    EXPECT_FALSE(openFileName(QStringLiteral("OpenDialog1"), QStringLiteral("開く"), {}, dir.path()));
}

TEST(FileDialog, SaveOffersTheGivenNameAndAsksNothingBeforeReplacing)
{
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("SaveDialog1"), [](QDialog& d) {
        EXPECT_TRUE(static_cast<QFileDialog&>(d).testOption(QFileDialog::DontConfirmOverwrite));
        return int(QDialog::Accepted);
    });
    const auto chosen = saveFileName(QStringLiteral("SaveDialog1"), QStringLiteral("保存"), {}, dir.path(),
                                     QStringLiteral("新しい.csv"));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(QFileInfo(*chosen).fileName(), QStringLiteral("新しい.csv"));
    EXPECT_EQ(QFileInfo(*chosen).dir().canonicalPath(), QDir(dir.path()).canonicalPath());
}
