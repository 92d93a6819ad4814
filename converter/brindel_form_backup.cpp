// Brindel's backup (SpeedButton2) and restore (SpeedButton1).
#include "components/formats/width_set.h"
#include "components/widgets/backup_messages.h"
#include "components/widgets/width_set_dialog.h"
#include "converter/brindel_form.h"
#include "converter/converter_backup.h"
#include "platform/file_dialog.h"

#include <QLabel>
#include <optional>

namespace {

// The window's dialogs and messages for the backup and the restore.
backup::BackupSteps windowSteps(TBrindelForm* form)
{
    backup::BackupSteps steps;
    steps.chooseWidthSet = [form](const QString& instruction) { return form->InDTLForm->chooseSet(instruction); };
    steps.chooseBackupFile = [form](const QString& folder, const QString& fileName) {
        return saveFileName(QStringLiteral("SaveDialog1"), QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙの指定"),
                            QStringLiteral("ｴｯｸｽﾎﾟｰﾄﾌｧｲﾙ(*.CSV)|*.CSV|ｴｯｸｽﾎﾟｰﾄﾌｧｲﾙ(*.TXT)|*.TXT|全て(*.*)|*.*"),
                            folder, fileName, form);
    };
    // The import's dialog, from the INIDIR.INI folder the settings carry.
    steps.chooseRestoreFile = [form](const QString&) { return form->openImportFile(); };
    setBackupMessages(steps, form);
    return steps;
}

ConverterBackupSettings settingsOf(const TBrindelForm& form)
{
    return {form.RecordLayoutMode, form.dataDirectory(), form.IniDirFolder};
}

}  // namespace

void TBrindelForm::SpeedButton2Click()
{
    backUpConverterRecords(*Table1, *Table3, settingsOf(*this), windowSteps(this));
}

void TBrindelForm::SpeedButton1Click()
{
    if (const std::optional<int> restored = restoreConverterRecords(*Table1, settingsOf(*this), windowSteps(this)))
        Label1->setText(QStringLiteral("%1 件のレコードをリストアしました。").arg(*restored));
}
