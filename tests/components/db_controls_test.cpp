#include "components/widgets/db_controls.h"
#include "components/widgets/list_entries.h"
#include "platform/message_box.h"
#include "tests/components/table_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

void type(QWidget* w, const QString& text) { simulateTyping(w, text); }
void type(QWidget* w, const char* utf8) { simulateTyping(w, QString::fromUtf8(utf8)); }

void focusOut(QWidget* w, Qt::FocusReason reason)
{
    QFocusEvent e(QEvent::FocusOut, reason);
    QApplication::sendEvent(w, &e);
}

void focusIn(QWidget* w)
{
    QFocusEvent e(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(w, &e);
}

// An input method's event: its composition (empty: none) and its commit.
void imEvent(QWidget* w, const char* preedit, const char* commit = "")
{
    QInputMethodEvent e(QString::fromUtf8(preedit), {});
    e.setCommitString(QString::fromUtf8(commit));
    QApplication::sendEvent(w, &e);
}

// A click from `from` to `to` during a conversion, as IBus with Mozc sends
// it: Qt commits the conversion into the control left, and the input method
// commits it again into the one entered. `between` runs once `to` has the
// focus, before the repeated commit.
void clickAwayDuringConversion(QWidget* from, QWidget* to, const std::function<void()>& between = {})
{
    imEvent(from, "たなか");
    imEvent(from, "田中");
    imEvent(from, "", "田中");
    focusOut(from, Qt::MouseFocusReason);
    focusIn(to);
    imEvent(to, "");
    if (between)
        between();
    imEvent(to, "", "田中");
}

SjisString bytes(std::initializer_list<int> b)
{
    SjisString s;
    for (int c : b)
        s.push_back(char(c));
    return s;
}

// Puts the cursor after the text, where typing appends.
void toEnd(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->end(false);
    else if (auto* m = qobject_cast<QPlainTextEdit*>(w))
        m->moveCursor(QTextCursor::End);
    else
        qobject_cast<QComboBox*>(w)->lineEdit()->end(false);
}

QString shown(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* m = qobject_cast<QPlainTextEdit*>(w))
        return m->toPlainText();
    return qobject_cast<QComboBox*>(w)->currentText();
}

class DbControlTest : public TableTest {
protected:
    std::unique_ptr<Table> t;
    QWidget form;

    void SetUp() override
    {
        TableTest::SetUp();
        t = open("INDATA");
        addRecord(*t, "あべ", "1", "阿部");
        addRecord(*t, "かとう", "2", "加藤");
        addRecord(*t, "さとう", "3", "佐藤");
        t->First();
    }

    SjisString stored(const char* field) { return t->FieldByName(field).AsString(); }

    // Runs `body` on each kind of field control bound to `field`, its cursor
    // at the end; then drops the control and puts the first record back.
    void forEachKind(const char* field, const std::function<void(QWidget*)>& body)
    {
        const std::pair<const char*, std::function<QWidget*()>> kinds[] = {
            {"DBEdit", [&] { return new DBEdit(*t, field, &form); }},
            {"DBMemo", [&] { return new DBMemo(*t, field, &form); }},
            {"DBComboBox", [&] { return new DBComboBox(*t, field, &form); }},
        };
        for (const auto& [kind, make] : kinds) {
            SCOPED_TRACE(kind);
            std::unique_ptr<QWidget> c(make());
            toEnd(c.get());
            body(c.get());
            c.reset();
            t->Cancel();
            t->First();
            t->Edit();
            set(*t, "使用者", "阿部");
            t->Post();
        }
    }
};

TEST_F(DbControlTest, ShowTheCurrentRecordAndFollowTheTable)
{
    forEachKind("使用者", [&](QWidget* c) {
        EXPECT_EQ(shown(c), QStringLiteral("阿部"));
        t->Next();
        EXPECT_EQ(shown(c), QStringLiteral("加藤"));
        // A new order or filter changes the current record without a move.
        t->SetFilter(sj("(使用者ふりがな = 'さとう')"));
        t->SetFiltered(true);
        EXPECT_EQ(shown(c), QStringLiteral("佐藤"));
        t->SetFiltered(false);
        t->Append();
        EXPECT_EQ(shown(c), QString());
    });
    EXPECT_THROW(DBEdit(*t, "無い項目"), DbError);
}

TEST_F(DbControlTest, TypingEditsTheRecordAndThePostStoresTheTypedBytes)
{
    forEachKind("使用者", [&](QWidget* c) {
        type(c, "渡邊");
        EXPECT_EQ(t->state(), Table::State::Edit);
        QTest::keyClicks(c, " A1");
        type(c, QString(QChar(0x301C)));  // WAVE DASH from an input method
        t->Post();
        EXPECT_EQ(stored("使用者"), sj("阿部渡邊 A1") + bytes({0x81, 0x60}));
        EXPECT_EQ(t->RecordCount(), 3);
    });
}

TEST_F(DbControlTest, TypingIntoAnEmptyTableAppendsARecord)
{
    t->EmptyTable();
    DBEdit reading(*t, "使用者ふりがな", &form);
    type(&reading, "いとう");
    EXPECT_EQ(t->state(), Table::State::Insert);
    t->Post();
    EXPECT_EQ(t->RecordCount(), 1);
    EXPECT_EQ(TableTest::reading(*t), "いとう");
}

TEST_F(DbControlTest, UntouchedControlsNeverWriteBack)
{
    DBEdit name(*t, "使用者", &form);
    DBMemo phone(*t, "電話番号", &form);
    DBComboBox owner(*t, "所有者", &form);
    // The form's leave handler and the before-post hook set fields the user
    // did not touch; their controls show the values at once and keep them.
    QObject::connect(&name, &DBEdit::exited, [&] { set(*t, "所有者", "同上"); });
    t->BeforePost = [](Table& table) { set(table, "電話番号", "03-1234"); };
    type(&name, "様");
    simulateLeave(&name);
    EXPECT_EQ(owner.currentText(), QStringLiteral("同上"));
    t->Post();
    EXPECT_EQ(get(*t, "使用者"), "阿部様");
    EXPECT_EQ(get(*t, "所有者"), "同上");
    EXPECT_EQ(get(*t, "電話番号"), "03-1234");
    EXPECT_EQ(phone.toPlainText(), QStringLiteral("03-1234"));

    // Two controls on one field: the one not typed in hands nothing over,
    // whichever of them the table asks first.
    DBMemo sameName(*t, "使用者", &form);
    sameName.moveCursor(QTextCursor::End);
    type(&sameName, "殿");
    t->Post();
    EXPECT_EQ(get(*t, "使用者"), "阿部様殿");
    EXPECT_EQ(name.text(), QStringLiteral("阿部様殿"));
}

TEST_F(DbControlTest, ProgramSettingTheControlsOwnFieldWins)
{
    DBEdit name(*t, "使用者", &form);
    type(&name, "様");
    set(*t, "使用者", "阿部商店");
    EXPECT_EQ(name.text(), QStringLiteral("阿部商店"));
    EXPECT_FALSE(name.fieldModified());
    t->Post();
    EXPECT_EQ(get(*t, "使用者"), "阿部商店");
}

TEST_F(DbControlTest, EscRevertsToTheFieldValue)
{
    forEachKind("使用者", [&](QWidget* c) {
        type(c, "様");
        QTest::keyClick(c, Qt::Key_Escape);
        EXPECT_EQ(shown(c), QStringLiteral("阿部"));
        EXPECT_EQ(t->state(), Table::State::Edit);  // as it was: only the control reverts
        type(c, "氏");
        QTest::keyClick(c, Qt::Key_Escape);
        t->Next();
        t->First();
        EXPECT_EQ(get(*t, "使用者"), "阿部");
    });
}

TEST_F(DbControlTest, LeavingHandsOverTheTextBeforeExited)
{
    forEachKind("使用者", [&](QWidget* c) {
        SjisString seen = "(not left)";
        auto exited = [&] { seen = stored("使用者"); };
        if (auto* e = qobject_cast<DBEdit*>(c))
            QObject::connect(e, &DBEdit::exited, exited);
        else if (auto* m = qobject_cast<DBMemo*>(c))
            QObject::connect(m, &DBMemo::exited, exited);
        else
            QObject::connect(qobject_cast<DBComboBox*>(c), &DBComboBox::exited, exited);
        type(c, "様");
        // Another window or a popup taking the focus is no leave.
        focusOut(c, Qt::ActiveWindowFocusReason);
        focusOut(c, Qt::PopupFocusReason);
        EXPECT_EQ(seen, "(not left)");
        simulateLeave(c);
        EXPECT_EQ(seen, sj("阿部様"));
    });
}

TEST_F(DbControlTest, MovingTheFocusIsALeave)
{
    auto* name = new DBEdit(*t, "使用者", &form);
    auto* phone = new DBEdit(*t, "電話番号", &form);
    QSignalSpy left(name, &DBEdit::exited);
    form.show();
    QApplication::setActiveWindow(&form);
    name->setFocus();
    type(name, "様");
    phone->setFocus();
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(get(*t, "使用者"), "阿部様");
}

TEST_F(DbControlTest, AConversionOpenAtAPostMoveOrCancelIsCommittedOrDroppedOnce)
{
    const std::tuple<const char*, std::function<void(QWidget*)>, const char*> actions[] = {
        {"Post", [this](QWidget*) { t->Post(); }, "阿部本田"},
        {"Next", [this](QWidget*) { t->Next(); }, "阿部本田"},
        {"leave", [](QWidget* c) { simulateLeave(c); }, "阿部本田"},
        {"Cancel", [this](QWidget*) { t->Cancel(); }, "阿部"},
    };
    for (const auto& [action, act, kept] : actions) {
        SCOPED_TRACE(action);
        forEachKind("使用者", [&](QWidget* c) {
            imEvent(c, "ほんだ");
            EXPECT_EQ(t->state(), Table::State::Edit);  // as typing does
            imEvent(c, "本田");
            act(c);
            imEvent(c, "", "本田");  // the input method's repeat after its reset
            t->CheckBrowseMode();
            EXPECT_EQ(column(*t, "使用者")[0], kept);
            EXPECT_EQ(shown(c), t->RecNo() == 1 ? QString::fromUtf8(kept) : QStringLiteral("加藤"));
        });
    }
}

TEST_F(DbControlTest, AConversionCommittedAgainIntoTheControlEnteredLandsOnce)
{
    // What the user does in the control entered before the repeated commit,
    // and the text it hands over then: only what was typed there.
    struct Case {
        const char* typedThere;
        std::function<void(QWidget*)> type;
        const char* handedOver;
    };
    const Case cases[] = {
        {"nothing", [](QWidget*) {}, ""},
        {"a composition of its own", [](QWidget* w) { imEvent(w, "たなか"); }, "田中"},
        {"a key", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Right); }, "田中"},
        {"another commit", [](QWidget* w) { imEvent(w, "", "様"); }, "様田中"},
    };
    auto* name = new DBMemo(*t, "使用者", &form);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typedThere);
        forEachKind("使用者住所", [&](QWidget* address) {
            name->moveCursor(QTextCursor::End);
            clickAwayDuringConversion(name, address, [&] { c.type(address); });
            EXPECT_EQ(get(*t, "使用者"), "阿部田中");
            EXPECT_EQ(shown(address), QString::fromUtf8(c.handedOver));
            simulateLeave(address);
            EXPECT_EQ(get(*t, "使用者住所"), c.handedOver);
        });
    }
}

TEST_F(DbControlTest, AMemoShowsTheStartOfEveryRecordsText)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    for (auto wrap : {QPlainTextEdit::WidgetWidth, QPlainTextEdit::NoWrap}) {
        SCOPED_TRACE(wrap);
        DBMemo phone(*t, "電話番号", &form);
        phone.setLineWrapMode(wrap);
        phone.setGeometry(0, 0, 60, 24);
        phone.show();
        phone.moveCursor(QTextCursor::End);
        type(&phone, "０３－１２３４－５６７８　０９０－１２３４－５６７８");
        phone.ensureCursorVisible();
        ASSERT_GT(phone.verticalScrollBar()->value() + phone.horizontalScrollBar()->value(), 0);
        for (auto move : {&Table::Next, &Table::First, &Table::Next}) {
            (t.get()->*move)();
            EXPECT_EQ(phone.verticalScrollBar()->value() + phone.horizontalScrollBar()->value(), 0);
            EXPECT_EQ(phone.textCursor().position(), 0);
        }
        t->First();
        t->Edit();
        set(*t, "電話番号", "");
        t->Post();
    }
}

TEST_F(DbControlTest, CharactersCp932CannotHoldAreRefusedWithTheStandardWarning)
{
    forEachKind("使用者", [&](QWidget* c) {
        ScriptedMessages messages;
        messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
        type(c, "𠮷");  // refused before the table is touched
        EXPECT_EQ(t->state(), Table::State::Browse);
        type(c, "様");
        QKeyEvent emoji(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("😀"));
        QApplication::sendEvent(c, &emoji);
        ASSERT_EQ(messages.prompts().size(), 2u);
        EXPECT_EQ(messages.prompts()[0].text, sjis::refusalMessage(U'𠮷'));
        EXPECT_EQ(messages.prompts()[1].text, sjis::refusalMessage(U'😀'));
        for (const auto& prompt : messages.prompts())
            EXPECT_EQ(prompt.icon, MessageIcon::Warning);
        EXPECT_EQ(shown(c), QStringLiteral("阿部様"));
        t->Post();
        EXPECT_EQ(stored("使用者"), sj("阿部様"));
    });
}

TEST_F(DbControlTest, PastedCharactersCp932CannotHoldAreRefused)
{
    DBEdit edit(*t, "使用者", &form);
    DBMemo memo(*t, "備考", &form);
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
    QApplication::clipboard()->setText(QString::fromUtf8("吉𠮷"));
    edit.end(false);
    edit.paste();
    memo.paste();
    EXPECT_EQ(messages.prompts().size(), 2u);
    EXPECT_EQ(edit.text(), QStringLiteral("阿部"));
    EXPECT_EQ(edit.cursorPosition(), 2);
    EXPECT_EQ(memo.toPlainText(), QString());
    EXPECT_EQ(t->state(), Table::State::Browse);
}

TEST_F(DbControlTest, MemoLineBreaksAreStoredAsCrLf)
{
    t->Edit();
    t->FieldByName("備考").SetAsString(sj("一行目\r\n二行目"));
    t->Post();
    DBMemo memo(*t, "備考", &form);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("一行目\n二行目"));
    memo.moveCursor(QTextCursor::End);
    QTest::keyClick(&memo, Qt::Key_Return);
    type(&memo, "三行目");
    t->Post();
    EXPECT_EQ(stored("備考"), sj("一行目\r\n二行目\r\n三行目"));
}

TEST_F(DbControlTest, BytesTheUserDidNotTouchKeepTheirCodes)
{
    // A byte that is no CP932 character, a lone LF the converter wrote, and
    // NEC-selected IBM extension codes, which re-encode to the IBM codes.
    const SjisString odd = bytes({0x41, 0xFD, 0xED, 0x40, 0x0A, 0x42});
    t->Edit();
    t->FieldByName("備考").SetAsString(odd);
    t->FieldByName("使用者").SetAsString(odd);
    t->Post();
    DBMemo memo(*t, "備考", &form);
    DBEdit edit(*t, "使用者", &form);
    EXPECT_EQ(memo.toPlainText(), QString::fromUtf8("A\xEF\xBF\xBD纊\nB"));
    memo.moveCursor(QTextCursor::End);
    type(&memo, "C");
    edit.setCursorPosition(1);
    type(&edit, "x");
    t->Post();
    EXPECT_EQ(stored("備考"), odd + "C");
    EXPECT_EQ(stored("使用者"), bytes({0x41, 'x', 0xFD, 0xED, 0x40, 0x0A, 0x42}));
}

TEST_F(DbControlTest, AChosenEntryIsTypedWithItsOwnBytesAndFillingTheListKeepsTheText)
{
    // IBM Roman numeral one (re-encodes as NEC 0x8754), an entry with a byte
    // that is no character, and one added as text.
    const SjisString ibmOne = bytes({0xFA, 0x4A});
    const SjisString odd = bytes({0x41, 0xFD});
    DBComboBox box(*t, "使用者", &form);
    setListEntries(&box, {ibmOne, odd});
    box.addItem(QStringLiteral("東京"));
    EXPECT_EQ(box.currentText(), QStringLiteral("阿部"));
    EXPECT_EQ(t->state(), Table::State::Browse);
    ScriptedMessages messages;  // any prompt fails the test
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(t->state(), Table::State::Edit);
    EXPECT_EQ(box.currentText(), sjis::decode(ibmOne));
    t->Post();
    EXPECT_EQ(stored("使用者"), ibmOne);
    QTest::keyClick(&box, Qt::Key_Down);
    t->Post();
    EXPECT_EQ(stored("使用者"), odd);
    // Typing after the entry keeps its bytes too.
    toEnd(&box);
    type(&box, "B");
    t->Post();
    EXPECT_EQ(stored("使用者"), odd + "B");
    QTest::keyClick(&box, Qt::Key_Down);
    t->Post();
    EXPECT_EQ(get(*t, "使用者"), "東京");
}

TEST_F(DbControlTest, AFailedPostKeepsTheTypedText)
{
    DBEdit seats(*t, "乗車定員", &form);
    QTest::keyClicks(&seats, "5x");
    EXPECT_THROW(t->Post(), DbError);
    EXPECT_EQ(seats.text(), QStringLiteral("5x"));
    EXPECT_EQ(t->state(), Table::State::Edit);
    QTest::keyClick(&seats, Qt::Key_Backspace);
    t->Post();
    EXPECT_EQ(t->FieldByName("乗車定員").AsInteger(), 5);
}

TEST_F(DbControlTest, TypingIntoAClosedTableDoesNothing)
{
    DBEdit name(*t, "使用者", &form);
    t->Close();
    EXPECT_EQ(name.text(), QString());
    QTest::keyClicks(&name, "abc");
    EXPECT_EQ(name.text(), QString());
    EXPECT_FALSE(name.fieldModified());
}

// ---- grid ------------------------------------------------------------------------------

class DbControlGridTest : public DbControlTest {
protected:
    QStringList readings(DBGridModel& m)
    {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.index(r, 0).data().toString();
        return out;
    }
};

TEST_F(DbControlGridTest, RowsAreTheVisibleRecordsInTheActiveOrder)
{
    DBGridModel m(t.get());
    m.setFieldNames({"使用者ふりがな", "自動車登録番号", "乗車定員"});
    EXPECT_EQ(m.columnCount(), 3);
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("自動車登録番号"));
    EXPECT_EQ(readings(m), (QStringList{"あべ", "かとう", "さとう"}));
    EXPECT_EQ(m.index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight, Qt::AlignRight);

    t->Edit();
    set(*t, "使用者", "渡辺");
    t->Post();
    t->SetIndexFieldNames("使用者");  // 加藤 < 佐藤 < 渡辺 in Shift-JIS order
    EXPECT_EQ(readings(m), (QStringList{"かとう", "さとう", "あべ"}));
    t->SetFilter(sj("(使用者ふりがな <= 'かとう')"));
    t->SetFiltered(true);
    EXPECT_EQ(readings(m), (QStringList{"かとう", "あべ"}));
    addRecord(*t, "いとう", "4", "伊藤");
    EXPECT_EQ(readings(m), (QStringList{"いとう", "かとう", "あべ"}));
    t->SetFiltered(false);
    t->SetIndexFieldNames("");
    EXPECT_EQ(readings(m), (QStringList{"あべ", "いとう", "かとう", "さとう"}));

    // The record being edited shows its edited values.
    t->First();
    t->Edit();
    set(*t, "使用者ふりがな", "あべの");
    EXPECT_EQ(m.index(0, 0).data().toString(), QStringLiteral("あべの"));
    t->Cancel();
    EXPECT_EQ(m.index(0, 0).data().toString(), QStringLiteral("あべ"));
    t->Close();
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_THROW(m.setFieldNames({"無い項目"}), DbError);
}

TEST_F(DbControlGridTest, ClickingARowMovesTheTableAndTheCurrentRowStaysSelected)
{
    DBGrid grid(&form);
    grid.setTable(t.get());
    grid.setFieldNames({"使用者ふりがな"});
    form.resize(400, 300);
    grid.resize(400, 300);
    form.show();
    auto click = [&](int row) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(row, 0)).center());
        QApplication::processEvents();
    };
    click(2);
    EXPECT_EQ(reading(*t), "さとう");
    t->First();
    QApplication::processEvents();
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(0, {}));

    // A pending edit is posted first; the record moves to the end, yet the
    // click still lands on the record that was clicked.
    t->Edit();
    set(*t, "使用者ふりがな", "たなか");
    click(1);  // かとう
    EXPECT_EQ(reading(*t), "かとう");
    EXPECT_EQ(t->state(), Table::State::Browse);
    EXPECT_EQ(column(*t), (Texts{"かとう", "さとう", "たなか"}));
    EXPECT_EQ(grid.currentIndex().row(), 0);
}

// ---- navigator ------------------------------------------------------------------------

class DbControlNavigatorTest : public DbControlTest {
protected:
    DBNavigator nav{&form};

    void SetUp() override
    {
        DbControlTest::SetUp();
        nav.setTable(t.get());
    }

    // As the user clicks: once the buttons follow the table.
    void click(DBNavigator::Button b)
    {
        QApplication::processEvents();
        nav.button(b)->click();
    }

    // The enabled buttons, in their order.
    std::string enabled()
    {
        QApplication::processEvents();
        static const char* names[] = {"First", "Prior", "Next", "Last", "Insert",
                                      "Delete", "Edit", "Post", "Cancel", "Refresh"};
        std::string out;
        for (int i = 0; i < DBNavigator::kButtonCount; ++i)
            if (nav.button(DBNavigator::Button(1 << i))->isEnabled())
                out += std::string(out.empty() ? "" : " ") + names[i];
        return out;
    }
};

TEST_F(DbControlNavigatorTest, ButtonsAreEnabledForTheTableState)
{
    EXPECT_EQ(enabled(), "Next Last Insert Delete Edit Refresh");
    t->Next();
    EXPECT_EQ(enabled(), "First Prior Next Last Insert Delete Edit Refresh");
    t->Last();
    EXPECT_EQ(enabled(), "First Prior Insert Delete Edit Refresh");
    t->Edit();
    EXPECT_EQ(enabled(), "First Prior Insert Delete Post Cancel Refresh");
    t->Cancel();
    t->Insert();
    EXPECT_EQ(enabled(), "First Prior Next Last Insert Delete Post Cancel Refresh");
    t->Cancel();
    t->EmptyTable();
    EXPECT_EQ(enabled(), "Insert Edit Refresh");
    t->Append();
    EXPECT_EQ(enabled(), "Insert Post Cancel Refresh");
    t->Close();
    EXPECT_EQ(enabled(), "");
}

TEST_F(DbControlNavigatorTest, ButtonsActThenReportTheClick)
{
    int recNoSeen = 0;
    QObject::connect(&nav, &DBNavigator::clicked, [&](DBNavigator::Button b) {
        if (b == DBNavigator::Next)
            recNoSeen = t->RecNo();
    });
    QSignalSpy clicks(&nav, &DBNavigator::clicked);
    click(DBNavigator::Next);
    EXPECT_EQ(recNoSeen, 2);

    // The text of the control being edited is posted.
    DBEdit name(*t, "使用者", &form);
    type(&name, "様");
    click(DBNavigator::Post);
    EXPECT_EQ(get(*t, "使用者"), "加藤様");
    EXPECT_EQ(t->state(), Table::State::Browse);

    ScriptedMessages messages;
    messages.answer(MessageAnswer::Cancel).answer(MessageAnswer::Ok);
    click(DBNavigator::Delete);
    EXPECT_EQ(t->RecordCount(), 3);
    click(DBNavigator::Delete);
    EXPECT_EQ(t->RecordCount(), 2);
    EXPECT_EQ(messages.prompts()[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(clicks.count(), 3);  // Next, Post and the confirmed Delete
    EXPECT_EQ(clicks.last().at(0).value<DBNavigator::Button>(), DBNavigator::Delete);
}

TEST_F(DbControlNavigatorTest, AFailedPostIsShownAndNotReported)
{
    QSignalSpy clicks(&nav, &DBNavigator::clicked);
    t->Append();
    set(*t, "使用者ふりがな", "あべ");
    set(*t, "自動車登録番号", "1");
    set(*t, "使用者", "阿部");  // the key of the first record
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    click(DBNavigator::Post);
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].icon, MessageIcon::Error);
    EXPECT_EQ(t->state(), Table::State::Insert);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(DbControlNavigatorTest, OnlyTheChosenButtonsShow)
{
    nav.setVisibleButtons({DBNavigator::Cancel});
    for (int i = 0; i < DBNavigator::kButtonCount; ++i) {
        auto b = DBNavigator::Button(1 << i);
        EXPECT_EQ(nav.button(b)->isHidden(), b != DBNavigator::Cancel);
    }
}

}  // namespace
