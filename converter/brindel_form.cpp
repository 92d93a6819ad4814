#include "converter/brindel_form.h"

#include "components/core/data_directory.h"
#include "components/core/record_fields.h"
#include "components/core/table.h"
#include "components/formats/legacy_import.h"
#include "components/formats/startup_settings.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/find_control.h"
#include "components/widgets/panel.h"
#include "components/widgets/restore_pos.h"
#include "components/widgets/width_set_dialog.h"
#include "converter/grid_detached.h"
#include "converter/old_data_import.h"
#include "converter/restore_pat_dlg.h"
#include "platform/error_guard.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kOldDataFilter = QStringLiteral("旧データ(*.JWP)|*.JWP|ﾃﾞｰﾀ　(*.DAT)|*.DAT");
const QString kLayoutError = QStringLiteral("ＩＮＩファイルが間違っています。");

// The record table's order in the converter: the first 14 fields.
std::string converterOrder()
{
    std::string order;
    for (int no = 1; no <= 14; ++no)
        order += (no > 1 ? ";" : "") + std::string(recordField(no).name);
    return order;
}

}  // namespace

TBrindelForm::TBrindelForm(Database& db, QWidget* parent) : QMainWindow(parent), db_(db)
{
    setObjectName(QStringLiteral("BrindelForm"));
    setWindowTitle(QStringLiteral("データ変換 For Win32"));

    Table1 = new Table(db_, "INDATA", this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->SetIndexFieldNames(converterOrder());
    Table3 = new Table(db_, "INDTLEN", this);
    Table3->setObjectName(QStringLiteral("Table3"));
    Table3->AfterScroll = [this](Table&) { guarded([this] { Table3AfterScroll(); }); };

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel1 = new Panel(central, Align::None, QStringLiteral("Panel1"));
    Panel1->setBevel(Panel::Bevel::Lowered);
    Panel1->setFixedHeight(35);
    Panel2 = new Panel(central, Align::None, QStringLiteral("Panel2"));
    Panel2->setBevel(Panel::Bevel::Lowered);
    Panel2->setFixedHeight(35);
    Label1 = new QLabel(Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont statusFont = Label1->font();
    statusFont.setPixelSize(19);
    Label1->setFont(statusFont);
    setAlign(Label1, Align::Client);
    DBGrid1 = new DBGrid(central);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setEditable(true);
    layout->addWidget(Panel1);
    layout->addWidget(Panel2);
    layout->addWidget(DBGrid1, 1);
    setCentralWidget(central);

    T3Label = new QLabel(Panel1);
    T3Label->setObjectName(QStringLiteral("T3Label"));
    T3Label->hide();
    PathLabel = new QLabel(Panel1);
    PathLabel->setObjectName(QStringLiteral("PathLabel"));
    PathLabel->hide();
    buildToolBar();

    RestorePos1 = new TRestorePos(this, QStringLiteral("Brindel"), QString());
    move(200, 107);
    resize(435, 300);
    FormCreate();
    Table1->Open();
    Table3->Open();
    DBGrid1->setTable(Table1);
    RestorePos1->restore();
    InDTLForm = new TInDTLenForm(*Table3,
                                 {.objectName = QStringLiteral("InDTLForm"),
                                  .canEdit = false,
                                  .positionKey = QStringLiteral("Brindel"),
                                  .columnWidthsFile = QStringLiteral("BrindelListLen.INI"),
                                  .instruction = QStringLiteral("バックアップ方法を指定してください"),
                                  .geometry = {200, 107, 324, 220},
                                  .busyLabel = T3Label},
                                 this);
    RestorePatDlg = new TRestorePatDlg(this);
}

TBrindelForm::~TBrindelForm() { Table3->AfterScroll = nullptr; }

void TBrindelForm::buildToolBar()
{
    const struct {
        QToolButton*& button;
        const char* name;
        const char* hint;
        QStyle::StandardPixmap glyph;
        void (TBrindelForm::*handler)();
    } buttons[] = {
        {OpenSpeed, "OpenSpeed", "開く", QStyle::SP_DialogOpenButton, &TBrindelForm::OpenSpeedClick},
        {SpeedButton4, "SpeedButton4", "CSV読み込み", QStyle::SP_FileIcon, &TBrindelForm::SpeedButton4Click},
        {NewSpeed, "NewSpeed", "新規作成", QStyle::SP_FileDialogNewFolder, &TBrindelForm::NewSpeedClick},
        {SpeedButton1, "SpeedButton1", "リストア", QStyle::SP_ArrowDown, &TBrindelForm::SpeedButton1Click},
        {SpeedButton2, "SpeedButton2", "バックアップ", QStyle::SP_DialogSaveButton, &TBrindelForm::SpeedButton2Click},
        {SpeedButton3, "SpeedButton3", "住所チェック", QStyle::SP_FileDialogContentsView,
         &TBrindelForm::SpeedButton3Click},
    };
    int left = 5;
    for (const auto& b : buttons) {
        b.button = new QToolButton(Panel1);
        b.button->setObjectName(QString::fromLatin1(b.name));
        b.button->setText(QString::fromUtf8(b.hint));
        b.button->setToolTip(QString::fromUtf8(b.hint));
        b.button->setIcon(style()->standardIcon(b.glyph));
        b.button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b.button->setAutoRaise(true);
        b.button->setGeometry(left, 5, 25, 25);
        // The status line speaks of the last operation only.
        connect(b.button, &QToolButton::clicked, Label1, &QLabel::clear);
        if (b.handler)
            connectGuarded(b.button, &QToolButton::clicked, this, b.handler);
        left += 30;
    }
}

QString TBrindelForm::dataDirectory() const { return PathLabel->text(); }

void TBrindelForm::FormCreate()
{
    PathLabel->setText(currentDataDirectory());
    // A file that cannot be read is reported and leaves its default.
    guarded([this] { RecordLayoutMode = readRecordLayoutMode(dataDirectory()); });
    guarded([this] { IniDirFolder = readRestoreInitialFolder(dataDirectory()); });
}

void TBrindelForm::NewSpeedClick()
{
    if (showMessage(QStringLiteral("全てのデータが消去されます！\r新規作成してよろしいですか？"), QStringLiteral("確認"),
                    MessageIcon::Question, MessageButtons::YesNo, this)
        != MessageAnswer::Yes)
        return;
    Table1->EmptyTable();  // one statement: all records or none
}

void TBrindelForm::OpenSpeedClick()
{
    for (bool base = true; importOldDataFile(base); base = false)
        if (showMessage(QStringLiteral("合成ファイルを読み込みますか？"), QStringLiteral("確認"), MessageIcon::Question,
                        MessageButtons::YesNo, this)
            != MessageAnswer::Yes)
            return;
}

bool TBrindelForm::importOldDataFile(bool base)
{
    const auto path = openFileName(QStringLiteral("Open"), QStringLiteral("旧データファイル"), kOldDataFilter, {}, this);
    if (!path)
        return false;
    const auto input = readOldDataInput(*path, dataDirectory(), base ? OldDataFile::Base : OldDataFile::Merge);
    if (!input) {
        Label1->setText(kLayoutError);
        return false;
    }
    const QString file = QDir::toNativeSeparators(*path);
    if (base) {
        if (const auto refusal = emptyBaseFileMessage(file, *input)) {
            showMessage(*refusal, {}, MessageIcon::Error, MessageButtons::Ok, this);
            return false;
        }
        if (!mayReplaceBook(file))
            return false;
    }
    Table1->CheckBrowseMode();
    OldDataOutcome outcome;
    {
        GridDetached detached(DBGrid1, Table1);
        outcome = base ? importOldDataBase(*Table1, RecordLayoutMode, *input)
                       : mergeOldData(*Table1, RecordLayoutMode, *input);
    }
    if (base)
        showOutcome(outcome.lastReading, outcome.refused);
    else
        Label1->setText(QStringLiteral("%1 件のレコードを更新しました。").arg(outcome.written));
    if (const auto note = base ? leftoverBytesNote(file, *input) : std::nullopt)
        showMessage(*note, {}, MessageIcon::Information, MessageButtons::Ok, this);
    return true;
}

bool TBrindelForm::mayReplaceBook(const QString& file)
{
    Table1->CheckBrowseMode();
    if (!db_.prepare("SELECT 1 FROM " + quoteIdentifier(Table1->TableName()) + " LIMIT 1").step())
        return true;
    return showMessage(QStringLiteral("全てのデータが消去されます！\r%1 を読み込んでよろしいですか？").arg(file),
                       QStringLiteral("確認"), MessageIcon::Question, MessageButtons::YesNoDefaultNo, this) ==
           MessageAnswer::Yes;
}

// The status line after a file: the last record's reading, or how many
// records the table refused.
void TBrindelForm::showOutcome(const SjisString& reading, int refused)
{
    Label1->setText(refused ? QStringLiteral("%1 件のレコードを取り込めませんでした。").arg(refused)
                            : sjis::excerpt(reading));
}

void TBrindelForm::Table3AfterScroll()
{
    if (!T3Label->text().isEmpty())
        InDTLForm->showCurrentRow();
}
