#include "components/core/japanese_text.h"
#include "components/widgets/yomi_memo.h"
#include "platform/keyboard_locks.h"
#include "platform/message_box.h"
#include "tests/components/table_fixture.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QTextCharFormat>

#include <vector>
#include <stdexcept>

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The composition as an input method shows it: underlined, the cursor at
// its end.
void preedit(QWidget* w, const QString& text)
{
    QTextCharFormat underline;
    underline.setFontUnderline(true);
    QList<QInputMethodEvent::Attribute> attributes{
        {QInputMethodEvent::TextFormat, 0, int(text.size()), underline},
        {QInputMethodEvent::Cursor, int(text.size()), 1, {}},
    };
    QInputMethodEvent e(text, attributes);
    QApplication::sendEvent(w, &e);
}

void commit(QWidget* w, const QString& text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

// The preedit texts one after another, then the commit.
void compose(QWidget* w, const std::vector<const char*>& preedits, const char* committed)
{
    for (const char* p : preedits)
        preedit(w, u(p));
    commit(w, u(committed));
}

void key(QWidget* w, Qt::Key k)
{
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

std::string hiragana(SjisString yomi)
{
    ToHiragana(yomi);
    return sjis::toUtf8(yomi);
}

class YomiMemoTest : public TableTest {
protected:
    std::unique_ptr<Table> t;
    QWidget form;
    TYomiDBMemo* name = nullptr;
    DBMemo* reading = nullptr;
    std::vector<SjisString> readings;  // as handed to OnYomiOut
    std::vector<QString> shownAtHandler;  // the name memo's text then

    void SetUp() override
    {
        TableTest::SetUp();
        t = open("INDATA");
        addRecord(*t, "あべ", "1", "阿部");
        t->First();
        name = new TYomiDBMemo(*t, "使用者", &form);
        reading = new DBMemo(*t, "使用者ふりがな", &form);
        name->moveCursor(QTextCursor::End);
        name->OnYomiOut = [this](TYomiDBMemo& sender, SjisString& yomi) {
            EXPECT_EQ(&sender, name);
            readings.push_back(yomi);
            shownAtHandler.push_back(sender.text());
        };
    }

    std::vector<std::string> hiraganaReadings() const
    {
        std::vector<std::string> out;
        for (const SjisString& r : readings)
            out.push_back(hiragana(r));
        return out;
    }
};

TEST_F(YomiMemoTest, OneConversionGivesTheKanaTypedBeforeIt)
{
    compose(name, {"y", "や", "やm", "やま", "やまd", "やまだ", "山田"}, "山田");
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_EQ(readings[0], sj("ﾔﾏﾀﾞ"));  // half-width, as ToHiragana takes it
    EXPECT_EQ(hiragana(readings[0]), "やまだ");
    // The handler ran before the committed text entered the memo.
    EXPECT_EQ(shownAtHandler[0], u("阿部"));
    EXPECT_EQ(name->text(), u("阿部山田"));
}

// Compositions one after another, each its preedits and its commit, and the
// readings they give, half-width as ToHiragana takes them.
TEST_F(YomiMemoTest, EachCommitHasTheReadingOfTheKanaOfItsOwnComposition)
{
    struct Composition {
        std::vector<const char*> preedits;
        const char* committed;
    };
    struct Case {
        const char* what;
        std::vector<Composition> typed;
        std::vector<const char*> readings;
    };
    const Case cases[] = {
        {"two conversions", {{{"や", "やま", "山"}, "山"}, {{"d", "だ", "田"}, "田"}}, {"ﾔﾏ", "ﾀﾞ"}},
        {"kana committed as they are, or converted to katakana: the commit is the reading",
         {{{"か", "かな"}, "かな"}, {{"た", "たな", "ヤマダ"}, "ヤマダ"}, {{}, "ﾊﾟﾝ"}},
         {"ｶﾅ", "ﾔﾏﾀﾞ", "ﾊﾟﾝ"}},
        {"a long vowel mark", {{{"こ", "こー", "こーひ", "こーひー", "珈琲"}, "珈琲"}}, {"ｺｰﾋｰ"}},
        // As IBus and Fcitx5 with Mozc send them: the "n" of ん stays a letter
        // until the next key, so the last preedit before the conversion can
        // end in it; it is read as ん.
        {"a last n", {{{"ｓ", "さ", "さｔ", "さと", "さとう", "さとうｋ", "さとうけ", "さとうけｎ", "佐藤健"}, "佐藤健"}}, {"ｻﾄｳｹﾝ"}},
        {"a last n after ん",
         {{{"ｋ", "こ", "こｎ", "こんｄ", "こんど", "こんどう", "こんどうｋ", "こんどうけ", "こんどうけｎ", "近藤けん"}, "近藤けん"}},
         {"ｺﾝﾄﾞｳｹﾝ"}},
        {"a last ascii n", {{{"ｊ", "じゅ", "じゅn", "純"}, "純"}}, {"ｼﾞｭﾝ"}},
        {"an n before a vowel", {{{"か", "かｎ", "かな", "仮名"}, "仮名"}}, {"ｶﾅ"}},
        {"ん alone", {{{"ｎ", "ん"}, "ん"}}, {"ﾝ"}},
        // Committed unconverted, the letter is no ん.
        {"a last n committed as it is", {{{"ｊ", "じゅ", "じゅn"}, "じゅn"}, {{"ｎ"}, "ｎ"}}, {"ｼﾞｭ", ""}},
        // Some input methods clear the preedit before they commit; a
        // composition given up, one without kana, and a commit with nothing
        // new composed all forget the kana.
        {"kana outlive the end of their composition but not the start of the next",
         {{{"や", "やま", "山", ""}, "山"}, {{"か", "かわ", ""}, ""}, {{"Ｑ", ""}, "Ｑ"}, {{"た", "田"}, "田"}, {{}, "〒"}},
         {"ﾔﾏ", "", "ﾀ", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        t->Cancel();
        name->moveCursor(QTextCursor::End);
        readings.clear();
        for (const Composition& typed : c.typed)
            compose(name, typed.preedits, typed.committed);
        std::vector<SjisString> expected;
        for (const char* r : c.readings)
            expected.push_back(sj(r));
        EXPECT_EQ(readings, expected);
    }

    // A commit that brings the next composition's first preedit with it.
    readings.clear();
    preedit(name, u("き"));
    preedit(name, u("木"));
    QInputMethodEvent both(u("む"), {});
    both.setCommitString(u("木"));
    QApplication::sendEvent(name, &both);
    preedit(name, u("村"));
    commit(name, u("村"));
    EXPECT_EQ(hiraganaReadings(), (std::vector<std::string>{"き", "む"}));
}

// Return on けｎ commits the letter as it is: the reading holds no ん, so
// that the ん typed to mend the name adds its own.
TEST_F(YomiMemoTest, ALastNCommittedUnconvertedIsNoN)
{
    compose(name, {"ｋ", "け", "けｎ"}, "けｎ");
    name->textCursor().deletePreviousChar();
    compose(name, {"ｎ", "ん"}, "ん");
    EXPECT_EQ(hiraganaReadings(), (std::vector<std::string>{"け", "ん"}));
    EXPECT_EQ(name->text(), u("阿部けん"));
}

TEST_F(YomiMemoTest, LettersWithTheInputMethodOffHaveNoReading)
{
    name->setYomiOut(reading);
    QTest::keyClicks(name, "Yamada");
    EXPECT_TRUE(readings.empty());
    EXPECT_EQ(name->text(), u("阿部Yamada"));
    EXPECT_EQ(reading->text(), u("あべ"));

    // Text committed without any composition: the handler is called with an
    // empty reading and nothing is appended.
    commit(name, u("ＡＢ"));
    EXPECT_EQ(readings, (std::vector<SjisString>{""}));
    EXPECT_EQ(reading->text(), u("あべ"));
}

TEST_F(YomiMemoTest, ReadingsGoToAWritableYomiOutStoredOnLeaveRevertedByEsc)
{
    name->OnYomiOut = nullptr;
    name->setYomiOut(reading);
    compose(name, {"やま", "やまだ", "山田"}, "山田");
    EXPECT_EQ(reading->text(), u("あべﾔﾏﾀﾞ"));
    EXPECT_EQ(t->state(), Table::State::Edit);
    EXPECT_EQ(get(*t, "使用者ふりがな"), "あべ");  // not stored before the leave
    simulateLeave(name);
    EXPECT_EQ(get(*t, "使用者"), "阿部山田");
    EXPECT_EQ(get(*t, "使用者ふりがな"), "あべﾔﾏﾀﾞ");

    // The handler's change is what reaches the memo.
    name->OnYomiOut = [](TYomiDBMemo&, SjisString& yomi) { ToHiragana(yomi); };
    compose(name, {"た", "たろう", "太郎"}, "太郎");
    EXPECT_EQ(reading->text(), u("あべﾔﾏﾀﾞたろう"));
    key(name, Qt::Key_Escape);
    EXPECT_EQ(reading->text(), u("あべﾔﾏﾀﾞ"));
    EXPECT_EQ(name->text(), u("阿部山田"));
    t->Post();
    EXPECT_EQ(get(*t, "使用者ふりがな"), "あべﾔﾏﾀﾞ");
}

TEST_F(YomiMemoTest, OnlyAWritableYomiOutReceivesTheReading)
{
    name->setYomiOut(reading);
    reading->setEnabled(false);
    compose(name, {"あ", "亜"}, "亜");
    reading->setEnabled(true);
    reading->setReadOnly(true);
    compose(name, {"い", "伊"}, "伊");
    EXPECT_EQ(reading->text(), u("あべ"));
    reading->setReadOnly(false);
    reading->unbind();
    compose(name, {"う", "宇"}, "宇");
    EXPECT_EQ(reading->text(), QString());
    EXPECT_EQ(readings.size(), 3u);  // the handler is called all the same

    // A destroyed YomiOut is forgotten.
    delete reading;
    EXPECT_EQ(name->YomiOut(), nullptr);
    compose(name, {"え", "江"}, "江");
    EXPECT_EQ(name->text(), u("阿部亜伊宇江"));
}

TEST_F(YomiMemoTest, LeavingWithoutTypingLeavesYomiOutUnstored)
{
    name->setYomiOut(reading);
    t->Edit();
    reading->setPlainText(u("かわ"));  // typed into the reading memo itself
    simulateLeave(name);
    EXPECT_EQ(get(*t, "使用者ふりがな"), "あべ");
    EXPECT_TRUE(reading->fieldModified());
}

TEST_F(YomiMemoTest, AFailingHandlerStopsTheReadingButNotTheText)
{
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    name->setYomiOut(reading);
    name->OnYomiOut = [](TYomiDBMemo&, SjisString&) { throw std::runtime_error("no reading"); };
    compose(name, {"やま", "山"}, "山");
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
    EXPECT_EQ(reading->text(), u("あべ"));
    EXPECT_EQ(name->text(), u("阿部山"));
}

TEST_F(YomiMemoTest, ACommitTheMemoRefusesHasNoReading)
{
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    compose(name, {"よし", "𠮷"}, "𠮷");
    EXPECT_EQ(messages.prompts().size(), 1u);
    EXPECT_TRUE(readings.empty());
    EXPECT_EQ(name->text(), u("阿部"));
}

TEST_F(YomiMemoTest, KanaLockFollowsTheFocusWhenAsked)
{
    auto focus = [this](QEvent::Type type) {
        QFocusEvent e(type, Qt::TabFocusReason);
        QApplication::sendEvent(name, &e);
    };
    focus(QEvent::FocusIn);
    EXPECT_TRUE(kanaLock());
    focus(QEvent::FocusOut);
    EXPECT_FALSE(kanaLock());
    name->VKkana = false;
    focus(QEvent::FocusIn);
    EXPECT_FALSE(kanaLock());
}

TEST(YomiReadingText, KanaBecomeHalfWidthKatakana)
{
    EXPECT_EQ(HalfWidthKatakana(u("がぎぐげごぱぽっゃ")), sj("ｶﾞｷﾞｸﾞｹﾞｺﾞﾊﾟﾎﾟｯｬ"));
    EXPECT_EQ(HalfWidthKatakana(u("ヴァイオリン")), sj("ｳﾞｧｲｵﾘﾝ"));
    EXPECT_EQ(HalfWidthKatakana(u("ゐゑヰヱゎヶヵヷ")), sj("ｲｴｲｴﾜｹｶﾜﾞ"));
    EXPECT_EQ(HalfWidthKatakana(u("ｶﾞー゛゜")), sj("ｶﾞｰﾞﾟ"));
    EXPECT_EQ(HalfWidthKatakana(u("か\u3099")), sj("ｶﾞ"));  // a combining voiced mark
    EXPECT_EQ(HalfWidthKatakana(u("ゔ")), sj("ｳﾞ"));  // no CP932 character of its own
    EXPECT_EQ(HalfWidthKatakana(u("")), "");

    EXPECT_TRUE(IsKanaOnly(u("やまだヤマダｬﾏﾀﾞーぁヶゔ")));
    for (const char* text : {"", "山田", "やまd", "や・ま", "やま　", "ゝ", "ａ"})
        EXPECT_FALSE(IsKanaOnly(u(text))) << text;
}

}  // namespace
