#include "components/widgets/backup_messages.h"

#include "platform/message_box.h"

void setBackupMessages(backup::BackupSteps& steps, QWidget* parent)
{
    steps.ask = [parent](const QString& question) {
        return showMessage(question, {}, MessageIcon::Question, MessageButtons::YesNoDefaultNo, parent) ==
               MessageAnswer::Yes;
    };
    steps.showError = [parent](const QString& text) {
        showMessage(text, {}, MessageIcon::Error, MessageButtons::Ok, parent);
    };
    steps.inform = [parent](const QString& text) {
        showMessage(text, {}, MessageIcon::Information, MessageButtons::Ok, parent);
    };
}
