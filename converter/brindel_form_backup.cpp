// Brindel's backup (SpeedButton2) and restore (SpeedButton1).
#include "components/formats/width_set.h"
#include "components/widgets/backup_messages.h"
#include "components/widgets/width_set_dialog.h"
#include "converter/brindel_form.h"
#include "converter/converter_backup.h"
#include "platform/file_dialog.h"

#include <QLabel>
#include <QScopeGuard>

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

// The status line counts the records of a restore that replaced the book
// (one that stopped with a message left it as it was).
void TBrindelForm::SpeedButton1Click()
{
    bool replaced = false, stopped = false;
    backup::BackupSteps steps = windowSteps(this);
    steps.showError = [&stopped, show = steps.showError](const QString& text) {
        stopped = true;
        show(text);
    };
    const QMetaObject::Connection watch = connect(Table1, &Table::dataSetChanged, this, [&] { replaced = true; });
    const auto unwatch = qScopeGuard([&] { disconnect(watch); });
    restoreConverterRecords(*Table1, settingsOf(*this), steps);
    if (replaced && !stopped)
        Label1->setText(QStringLiteral("%1 件のレコードをリストアしました。").arg(Table1->RecordCount()));
}
