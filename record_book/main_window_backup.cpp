// Backup of the record table to CSV, and its restore.
#include "output/backup.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "record_book/main_window.h"

namespace {

// The window's dialogs and messages for the backup and the restore.
BackupSteps windowSteps(TCarDataForm* form)
{
    BackupSteps steps;
    steps.chooseWidthSet = [form](const QString& instruction) { return form->chooseWidthSet(instruction); };
    steps.chooseBackupFile = [form](const QString& folder, const QString& fileName) {
        return saveFileName(QStringLiteral("SaveDialog1"), QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙの指定"),
                            QStringLiteral("ｴｯｸｽﾎﾟｰﾄﾌｧｲﾙ(*.CSV)|*.CSV|全て(*.*)|*.*"), folder, fileName, form);
    };
    steps.chooseRestoreFile = [form](const QString& folder) {
        return openFileName(QStringLiteral("OpenDialog1"), QStringLiteral("ｲﾝﾎﾟｰﾄﾌｧｲﾙの指定"),
                            QStringLiteral("ｲﾝﾎﾟｰﾄﾌｧｲﾙ(*.CSV;*.TXT)|*.CSV;*.TXT|全て(*.*)|*.*"), folder, form);
    };
    steps.ask = [form](const QString& question) {
        return showMessage(question, {}, MessageIcon::Question, MessageButtons::YesNoDefaultNo, form) ==
               MessageAnswer::Yes;
    };
    steps.showError = [form](const QString& text) { showMessage(text, {}, MessageIcon::Error, MessageButtons::Ok, form); };
    steps.inform = [form](const QString& text) {
        showMessage(text, {}, MessageIcon::Information, MessageButtons::Ok, form);
    };
    return steps;
}

}  // namespace

void TCarDataForm::Exp1Click()
{
    backUpRecords(book_, windowSteps(this));
}

void TCarDataForm::Inp1Click()
{
    restoreRecords(book_, windowSteps(this));
}
