#include "components/formats/settings_file.h"
#include "platform/error_guard.h"
#include "platform/message_box.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

TEST(ErrorGuard, EscapingErrorBecomesOneStandardErrorBox)
{
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    bool after = false;
    EXPECT_FALSE(guarded([&] {
        throw std::runtime_error("ファイルを開けません。");
        after = true;
    }));
    EXPECT_FALSE(after);
    ASSERT_EQ(messages.prompts().size(), 1u);
    const MessagePrompt& p = messages.prompts()[0];
    EXPECT_EQ(p.text, QStringLiteral("ファイルを開けません。"));
    EXPECT_EQ(p.caption, QCoreApplication::applicationName());
    EXPECT_EQ(p.icon, MessageIcon::Error);
    EXPECT_EQ(p.buttons, MessageButtons::Ok);

    // A handler that ends normally shows nothing.
    EXPECT_TRUE(guarded([] {}));
    EXPECT_EQ(messages.prompts().size(), 1u);
}

TEST(ErrorGuard, MessagesOfEveryKindOfException)
{
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok).answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
    guarded([] { throw FileError(QStringLiteral("DataBase.INI に書き込めません。")); });
    guarded([] { throw std::out_of_range("index"); });  // a logic error of the program is still shown
    guarded([] { throw 42; });
    guarded([] { throw std::runtime_error(""); });
    ASSERT_EQ(messages.prompts().size(), 4u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("DataBase.INI に書き込めません。"));
    EXPECT_EQ(messages.prompts()[1].text, QStringLiteral("index"));
    EXPECT_EQ(messages.prompts()[2].text, unknownErrorText());
    EXPECT_EQ(messages.prompts()[3].text, unknownErrorText());
}

TEST(ErrorGuard, TestScriptFailuresPassThrough)
{
    ScriptedMessages messages;
    EXPECT_THROW(guarded([] { throw ScriptError("unexpected dialog: X"); }), ScriptError);
    // A prompt the script did not expect: the error box for it is not
    // expected either, so the failure leaves the guard.
    EXPECT_THROW(guarded([] { showMessage(QStringLiteral("予期しない確認")); }), std::logic_error);
}

class TForm : public QWidget {
public:
    TForm()
    {
        Button1 = new QPushButton(this);
        Edit1 = new QLineEdit(this);
        connectGuarded(Button1, &QPushButton::clicked, this, &TForm::Button1Click);
        connectGuarded(Edit1, &QLineEdit::textChanged, this, &TForm::Edit1Change);
        connect(Button1, &QPushButton::clicked, this, [this] { ++laterSlots; });
    }
    void Button1Click()
    {
        ++clicks;
        throw std::runtime_error("保存できません。");
    }
    void Edit1Change(const QString& text)
    {
        changed = text;
        if (text == QStringLiteral("x"))
            throw std::runtime_error("不正な値です。");
    }
    QPushButton* Button1;
    QLineEdit* Edit1;
    int clicks = 0;
    int laterSlots = 0;
    QString changed;
};

TEST(ErrorGuard, ConnectedHandlersAreGuarded)
{
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
    TForm form;
    form.show();
    QTest::mouseClick(form.Button1, Qt::LeftButton);  // clicked(bool) into a handler without arguments
    EXPECT_EQ(form.clicks, 1);
    EXPECT_EQ(form.laterSlots, 1);  // the signal's other slots still run
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("保存できません。"));

    QTest::keyClicks(form.Edit1, QStringLiteral("x"));
    EXPECT_EQ(form.changed, QStringLiteral("x"));  // the signal's argument arrives
    ASSERT_EQ(messages.prompts().size(), 2u);
    EXPECT_EQ(messages.prompts()[1].text, QStringLiteral("不正な値です。"));
}

TEST(ErrorGuard, LambdaHandlersAndTheirContext)
{
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    QPushButton button;
    auto context = std::make_unique<QObject>();
    int calls = 0;
    connectGuarded(&button, &QPushButton::clicked, context.get(), [&](bool checked) {
        ++calls;
        EXPECT_FALSE(checked);
        throw std::runtime_error("失敗");
    });
    button.click();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(messages.prompts().size(), 1u);
    context.reset();  // the connection ends with its context
    button.click();
    EXPECT_EQ(calls, 1);
}

}  // namespace
