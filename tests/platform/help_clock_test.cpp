#include "platform/clock.h"
#include "platform/help.h"
#include "platform/message_box.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Help, ExistingFileOpensInTheViewer)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Dremlot.html"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    ScriptedMessages messages;
    ScriptedHelpViewer viewer;
    EXPECT_TRUE(openHelp(path));
    ASSERT_EQ(viewer.opened().size(), 1u);
    EXPECT_EQ(viewer.opened()[0], QUrl::fromLocalFile(path));

    // A name relative to the data directory.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_TRUE(openHelp(QStringLiteral("Dremlot.html")));
    QDir::setCurrent(previous);
    ASSERT_EQ(viewer.opened().size(), 2u);
    EXPECT_EQ(viewer.opened()[1].toLocalFile(), QDir(dir.path()).canonicalPath() + QStringLiteral("/Dremlot.html"));
    EXPECT_TRUE(messages.prompts().empty());
}

TEST(Help, MissingOrUnopenableFileIsReported)
{
    QTemporaryDir dir;
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
    ScriptedHelpViewer viewer(false);

    const QString missing = QDir(dir.path()).filePath(QStringLiteral("Dremlot.html"));
    EXPECT_FALSE(openHelp(missing));
    EXPECT_FALSE(openHelp(dir.path()));  // a folder is no help file
    EXPECT_TRUE(viewer.opened().empty());

    QFile f(missing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(openHelp(missing));  // the desktop has no viewer for it
    EXPECT_EQ(viewer.opened().size(), 1u);

    ASSERT_EQ(messages.prompts().size(), 3u);
    EXPECT_EQ(messages.prompts()[0].text, helpFileMissingText(missing));
    EXPECT_TRUE(messages.prompts()[0].text.contains(QStringLiteral("Dremlot.html")));
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages.prompts()[2].text, helpFileNotOpenedText(missing));
}

TEST(Clock, FixedDateWhileAFixedClockLives)
{
    {
        FixedClock clock(QDate(2000, 2, 29));
        EXPECT_EQ(today(), QDate(2000, 2, 29));
        {
            FixedClock inner(QDate(1989, 1, 7));
            EXPECT_EQ(today(), QDate(1989, 1, 7));
            inner.set(QDate(1989, 1, 8));
            EXPECT_EQ(today(), QDate(1989, 1, 8));
        }
        EXPECT_EQ(today(), QDate(2000, 2, 29));
    }
    const QDate before = QDate::currentDate();
    const QDate now = today();
    EXPECT_TRUE(now == before || now == QDate::currentDate());
}

}  // namespace
