// Message boxes with the system's texts and Japanese buttons. Every prompt
// of both programs goes through showMessage, so tests answer them from a
// script instead of a blocking dialog.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

enum class MessageIcon { None, Information, Warning, Error, Question };
// YesNoDefaultNo: Yes and No with No as the default button.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessagePrompt {
    QString text;  // as the system writes it, CR included
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Shows the prompt modally; CR in the text becomes a line break on screen.
MessageAnswer showMessage(const QString& text, const QString& caption = {}, MessageIcon icon = MessageIcon::None,
                          MessageButtons buttons = MessageButtons::Ok, QWidget* parent = nullptr);

// Replaces the real boxes while it lives: records every prompt and answers
// from its script. A prompt with no answer left raises ScriptError (which
// the handler guard lets through), so an unexpected prompt fails the test.
class ScriptedMessages {
public:
    ScriptedMessages();
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    ScriptedMessages& answer(MessageAnswer a)
    {
        answers_.push_back(a);
        return *this;
    }
    const std::vector<MessagePrompt>& prompts() const { return prompts_; }
    std::size_t unanswered() const { return answers_.size(); }

private:
    std::deque<MessageAnswer> answers_;
    std::vector<MessagePrompt> prompts_;
    std::function<MessageAnswer(const MessagePrompt&)> previous_;
};

// The CR of the system's texts as a line break for display.
QString displayText(QString text);
