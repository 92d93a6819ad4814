#include "platform/application.h"
#include "platform/message_box.h"

#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

namespace {

TEST(Messages, ScriptAnswersAndRecordsPrompts)
{
    ScriptedMessages script;
    script.answer(MessageAnswer::No);
    EXPECT_EQ(showMessage("a\rb", "t", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::No);
    ASSERT_EQ(script.prompts().size(), 1u);
    EXPECT_EQ(script.prompts()[0].text, QStringLiteral("a\rb"));
    EXPECT_THROW(showMessage("unexpected"), std::logic_error);
    EXPECT_EQ(displayText("a\rb\r\nc"), QStringLiteral("a\nb\nc"));
}

}  // namespace

TEST(RoomyRows, ListRowsAreTallerThanTheirText)
{
    RoomyRowsStyle style;
    QStyleOptionViewItem option;
    option.fontMetrics = QFontMetrics(QFont(QStringLiteral("IPAPGothic"), 10));
    const QSize row = style.sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(40, 10), nullptr);
    EXPECT_GE(row.height(), option.fontMetrics.lineSpacing() + 4);
}
