// Backup of the record table to CSV, and its restore.
#include "components/widgets/backup_messages.h"
#include "output/backup.h"
#include "platform/file_dialog.h"
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
    setBackupMessages(steps, form);
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
