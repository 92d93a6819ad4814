// The CSV import with named columns, from the tool bar's "CSV読み込み".
#include "components/core/data_directory.h"
#include "components/core/table.h"
#include "components/formats/backup_format.h"
#include "components/formats/named_column_csv.h"
#include "converter/brindel_form.h"
#include "converter/grid_detached.h"
#include "converter/named_column_import.h"
#include "converter/restore_pat_dlg.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/modal.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {

std::vector<FieldDef> fieldsOf(const Table& table)
{
    std::vector<FieldDef> fields;
    for (int i = 0; i < table.FieldCount(); ++i)
        fields.push_back(table.FieldDefinition(i));
    return fields;
}

}  // namespace

std::optional<QString> TBrindelForm::openImportFile()
{
    return openFileName(QStringLiteral("OpenDialog1"), QStringLiteral("ｲﾝﾎﾟｰﾄﾌｧｲﾙの指定"),
                        QStringLiteral("ｲﾝﾎﾟｰﾄﾌｧｲﾙ(*.TXT,*.CSV)|*.TXT;*.CSV|全て(*.*)|*.*"), IniDirFolder, this);
}

// The file read is the chosen base name with ".CSV" (in whatever case it
// exists). Its first line names the columns when its first name is a field
// of the table; otherwise RestorePatDlg names them and the first line is
// data. The whole file is checked before anything changes.
void TBrindelForm::SpeedButton4Click()
{
    const auto path = openImportFile();
    if (!path)
        return;
    const backup::BackupPath chosen = backup::BackupPath::split(*path);
    if (backup::isAddressBookName(chosen.baseName)) {
        showMessage(QStringLiteral("住所録はリストアできません！"), {}, MessageIcon::Error, MessageButtons::Ok, this);
        return;
    }
    const QString file = chosen.sibling(QStringLiteral(".CSV"));
    if (!QFileInfo(file).isFile())
        return;
    const named_csv::NamedColumnCsv csv(backup::readBackupFile(file));
    const auto names = csv.nameLine();
    if (!names) {
        Label1->setText(QStringLiteral("読み込むデータがありません。"));
        return;
    }
    std::vector<SjisString> columns = *names;
    std::size_t firstLine = 1;
    if (Table1->FieldIndex(sjis::toUtf8(names->front())) < 0) {
        if (showModal(*RestorePatDlg) != QDialog::Accepted)
            return;
        columns = RestorePatDlg->chosenFields();
        firstLine = 0;
    }
    const named_csv::Check check = named_csv::checkFile(csv, firstLine, columns, fieldsOf(*Table1));
    if (check.problem) {
        showMessage(QStringLiteral("%1 を読み込めません。\r%2\rデータは変更されていません。")
                        .arg(QDir::toNativeSeparators(file), named_csv::describe(*check.problem)),
                    {}, MessageIcon::Error, MessageButtons::Ok, this);
        return;
    }
    const QString shown = QDir::toNativeSeparators(file);
    if (check.nonText.count > 0 &&
        showMessage(named_csv::nonTextQuestion(shown, check.nonText), QStringLiteral("確認"), MessageIcon::Question,
                    MessageButtons::YesNoDefaultNo, this) != MessageAnswer::Yes)
        return;
    const bool adding = backup::isSplitName(chosen.baseName);
    if (!adding && !mayReplaceBook(shown))
        return;
    NamedCsvOutcome outcome;
    {
        GridDetached detached(DBGrid1, Table1);
        outcome = importNamedCsv(*Table1, csv, *check.plan, adding);
    }
    Label1->setText(outcome.refused ? QStringLiteral("%1 件のレコードを取り込めませんでした。").arg(outcome.refused)
                                    : QStringLiteral("%1 件のレコードを読み込みました。").arg(outcome.written));
}
