#include "components/widgets/db_controls.h"
#include "components/widgets/yomi_memo.h"
#include "record_book/main_window.h"
#include "tests/record_book/main_window_fixture.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// The record card, not shown.
class CardReadingTest : public MainWindowFixture {
protected:
    TYomiDBMemo* name = nullptr;
    DBMemo* reading = nullptr;

    void create(const char* userReading = nullptr)
    {
        if (userReading)
            seed({{{"使用者ふりがな", userReading}, {"自動車登録番号", "1"}}});
        MainWindowFixture::create();
        name = form()->findChild<TYomiDBMemo*>(QStringLiteral("YomiDBMemo1"));
        reading = form()->findChild<DBMemo*>(QStringLiteral("DBMemo1"));
        ASSERT_TRUE(name && reading);
        name->moveCursor(QTextCursor::End);
    }

    // Kana typed, shown as preedit texts, then the conversion committed.
    void compose(std::initializer_list<const char*> preedits, const char* committed)
    {
        for (const char* p : preedits) {
            const QString text = QString::fromUtf8(p);
            QInputMethodEvent e(text, {{QInputMethodEvent::Cursor, int(text.size()), 1, {}}});
            QApplication::sendEvent(name, &e);
        }
        QInputMethodEvent e;
        e.setCommitString(QString::fromUtf8(committed));
        QApplication::sendEvent(name, &e);
    }
};

TEST_F(CardReadingTest, ANameTypedInOneConversionAppendsItsReadingInHiragana)
{
    create("");
    compose({"y", "や", "やま", "やまだ", "山田"}, "山田");
    EXPECT_EQ(form()->Table1->state(), Table::State::Edit);
    EXPECT_EQ(field("使用者ふりがな"), "やまだ");
    EXPECT_EQ(reading->text(), QStringLiteral("やまだ"));
    form()->Table1->Post();
    EXPECT_EQ(field("使用者"), "山田");
    EXPECT_EQ(field("使用者ふりがな"), "やまだ");
    EXPECT_FALSE(name->VKkana);
}

TEST_F(CardReadingTest, ReadingsAccumulateAfterWhatTheReadingMemoShows)
{
    create("すずき");
    compose({"やま", "山"}, "山");
    compose({"だ", "田"}, "田");
    EXPECT_EQ(field("使用者ふりがな"), "すずきやまだ");

    // Text typed into the reading memo and not yet handed over is kept.
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("　"));
    reading->moveCursor(QTextCursor::End);
    QApplication::sendEvent(reading, &typed);
    compose({"こ", "こー", "こーひー", "珈琲"}, "珈琲");
    EXPECT_EQ(field("使用者ふりがな"), "すずきやまだ　こおひい");

    // Letters typed with the input method off add nothing.
    QTest::keyClicks(name, "co");
    EXPECT_EQ(field("使用者ふりがな"), "すずきやまだ　こおひい");
    form()->Table1->Post();
    EXPECT_EQ(QString::fromStdString(field("使用者")).toLower(), QStringLiteral("山田珈琲co"));
}

TEST_F(CardReadingTest, TheFirstNameOfAnEmptyBookFillsTheNewRecord)
{
    create();
    ASSERT_EQ(form()->Table1->state(), Table::State::Insert);
    compose({"たなか", "田中"}, "田中");
    EXPECT_EQ(form()->Table1->state(), Table::State::Insert);
    EXPECT_EQ(field("使用者ふりがな"), "たなか");
    form()->Table1->Post();
    EXPECT_EQ(form()->Table1->RecordCount(), 1);
    EXPECT_EQ(field("使用者"), "田中");
    EXPECT_EQ(field("使用者ふりがな"), "たなか");
}

}  // namespace
