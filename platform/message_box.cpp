#include "platform/message_box.h"

#include "platform/modal.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <stdexcept>

namespace {

std::function<MessageAnswer(const MessagePrompt&)>& handler()
{
    static std::function<MessageAnswer(const MessagePrompt&)> h;
    return h;
}

// Room beside the title for the window's icon and its frame buttons.
constexpr int kTitleBarExtras = 160;

// A message box as wide as its title needs, so the title bar does not cut
// "Sorvani For Win32" short.
void fitTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarExtras;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

MessageAnswer showReal(const MessagePrompt& p, QWidget* parent)
{
    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setText(displayText(p.text));
    box.setWindowTitle(p.caption.isEmpty() ? QApplication::applicationName() : p.caption);
    switch (p.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (p.buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    fitTitle(box);
    switch (box.exec()) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return MessageAnswer::Cancel;
    }
}

}  // namespace

QString displayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

MessageAnswer showMessage(const QString& text, const QString& caption, MessageIcon icon, MessageButtons buttons,
                          QWidget* parent)
{
    MessagePrompt p{text, caption, icon, buttons};
    if (handler())
        return handler()(p);
    failUnscripted("unanswered message: " + p.text.toStdString());
    return showReal(p, parent);
}

ScriptedMessages::ScriptedMessages() : previous_(handler())
{
    handler() = [this](const MessagePrompt& p) {
        prompts_.push_back(p);
        if (answers_.empty())
            throw ScriptError("unexpected message: " + p.text.toStdString());
        MessageAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    };
}

ScriptedMessages::~ScriptedMessages()
{
    handler() = previous_;
}
