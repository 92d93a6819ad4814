#include "components/widgets/typed_text.h"
#include "platform/message_box.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(TypedText, OnlyACharacterCp932CannotHoldGetsAWarningAndItIsTheStandardOne)
{
    QWidget parent;
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok).answer(MessageAnswer::Ok).answer(MessageAnswer::Ok);
    EXPECT_EQ(encodeOrWarn(QStringLiteral("車検"), nullptr), sj("車検"));
    EXPECT_TRUE(acceptOrWarn(QStringLiteral("車検"), nullptr));
    EXPECT_EQ(encodeOrWarn(QString::fromUtf8("吉𠮷"), &parent), std::nullopt);
    EXPECT_FALSE(acceptOrWarn(QString::fromUtf8("😀"), &parent));
    const SjisString original = "\xFD";
    const auto edited = encodingOrWarn(
        [&] { return sjis::encodeEdit(original, sjis::decode(original), sjis::decode(original) + QChar(0x00E9)); },
        &parent);
    EXPECT_EQ(edited, std::nullopt);
    ASSERT_EQ(messages.prompts().size(), 3u);  // none for the text it can hold
    const char32_t refused[] = {U'𠮷', U'😀', U'é'};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(messages.prompts()[i].text, sjis::refusalMessage(refused[i]));
        EXPECT_EQ(messages.prompts()[i].icon, MessageIcon::Warning);
        EXPECT_EQ(messages.prompts()[i].buttons, MessageButtons::Ok);
        EXPECT_EQ(messages.prompts()[i].caption, QString());
    }
}

}  // namespace
