#include "platform/keyboard_locks.h"

#include <QFileDialog>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

class CapsLock : public ::testing::Test {
protected:
    ~CapsLock() override { setCapsLock(false); }
};

// Records the key events that reach it; a child of it ignores them.
class KeyLog : public QWidget {
public:
    QStringList presses, releases;

protected:
    // Letter keys only (QTest also presses and releases the modifiers).
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
            presses << e->text();
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
            releases << e->text();
    }
};

TEST_F(CapsLock, TypedLettersChangeCaseOnlyWhileOn)
{
    QLineEdit edit;
    edit.show();
    QTest::keyClicks(&edit, QStringLiteral("abC"));
    EXPECT_EQ(edit.text(), QStringLiteral("abC"));

    setCapsLock(true);
    EXPECT_TRUE(capsLock());
    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("abC12-z"));
    EXPECT_EQ(edit.text(), QStringLiteral("ABc12-Z"));
    // Shift with Caps Lock gives small letters, as a keyboard does.
    QTest::keyClick(&edit, 'Q', Qt::ShiftModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("ABc12-Zq"));
    // From the window system: the window gets the key first, then the edit.
    edit.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
    QTest::keyClick(edit.windowHandle(), 'w');
    EXPECT_EQ(edit.text(), QStringLiteral("ABc12-ZqW"));

    // A file name typed in a file dialog, or in its completer's list (a
    // window of its own), stays as typed.
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    auto* nameEdit = new QLineEdit(&files);
    QTest::keyClicks(nameEdit, QStringLiteral("list.pdf"));
    EXPECT_EQ(nameEdit->text(), QStringLiteral("list.pdf"));
    files.setModal(true);
    files.show();
    QLineEdit completerList;
    QTest::keyClicks(&completerList, QStringLiteral("bk.csv"));
    EXPECT_EQ(completerList.text(), QStringLiteral("bk.csv"));
    files.hide();

    setCapsLock(false);
    EXPECT_FALSE(capsLock());
    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    EXPECT_EQ(edit.text(), QStringLiteral("ab"));
}

TEST_F(CapsLock, IgnoredKeysReachEachParentOnceWithTheNewText)
{
    setCapsLock(true);
    KeyLog parent;
    auto* child = new QWidget(&parent);  // ignores keys: they go on to the parent
    parent.show();
    QTest::keyClick(child, 'a');
    EXPECT_EQ(parent.presses, QStringList{QStringLiteral("A")});
    EXPECT_EQ(parent.releases, QStringList{QStringLiteral("A")});
}

TEST_F(CapsLock, ShortcutsAndComposedTextAreLeftAlone)
{
    setCapsLock(true);
    KeyLog log;
    log.show();
    QTest::keyClick(&log, 'a', Qt::ControlModifier);
    QTest::keyClick(&log, 'a', Qt::AltModifier);
    EXPECT_EQ(log.presses, (QStringList{QStringLiteral("a"), QStringLiteral("a")}));

    // Ctrl+A still selects everything in an edit.
    QLineEdit edit;
    edit.show();
    QTest::keyClicks(&edit, QStringLiteral("xy"));
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit.selectedText(), QStringLiteral("XY"));

    // Text from the input method is not typed through key events.
    edit.clear();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("abc"));
    QCoreApplication::sendEvent(&edit, &commit);
    EXPECT_EQ(edit.text(), QStringLiteral("abc"));

    setKanaLock(true);  // no counterpart: nothing changes
    setKanaLock(false);
    QTest::keyClicks(&edit, QStringLiteral("d"));
    EXPECT_EQ(edit.text(), QStringLiteral("abcD"));
}

}  // namespace
