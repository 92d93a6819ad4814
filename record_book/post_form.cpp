#include "record_book/post_form.h"

#include "components/core/cp932.h"
#include "components/core/data_directory.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/panel.h"
#include "components/widgets/restore_pos.h"
#include "components/formats/lookup_settings.h"
#include "platform/error_guard.h"
#include "platform/file_dialog.h"
#include "components/formats/post_read.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TPostForm* PostForm = nullptr;

namespace {

constexpr int kButtonHalfWidth = 37;

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->resize(75, 25);
    return b;
}

}  // namespace

TPostForm::TPostForm(Database& db, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PostForm"));
    setWindowTitle(QStringLiteral("郵便番号変換"));
    table_ = std::make_unique<Table>(db, "PostData");
    Table1 = table_.get();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new Panel(this, Align::None, QStringLiteral("Panel1"));
    Panel1->setFixedHeight(33);
    Label1 = new QLabel(QStringLiteral("検索する住所"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 80, 17);
    AddrEdit = new QLineEdit(Panel1);
    AddrEdit->setObjectName(QStringLiteral("AddrEdit"));
    AddrEdit->setGeometry(92, 4, 260, 24);
    SarchButton = button(Panel1, "SarchButton", "住所検索");
    SarchButton->move(360, 4);
    Panel1->hide();
    layout->addWidget(Panel1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(DBGrid1, 1);

    Panel2 = new Panel(this, Align::None, QStringLiteral("Panel2"));
    Panel2->setFixedHeight(41);
    OKBtn = button(Panel2, "OKBtn", "OK(&Y)");
    OKBtn->setDefault(true);
    CancelBtn = button(Panel2, "CancelBtn", "ｷｬﾝｾﾙ");
    ReadBtn = button(Panel2, "ReadBtn", "データ読込");
    ReadBtn->setToolTip(QStringLiteral("運輸省のデータ読込"));
    for (QPushButton* b : {OKBtn, CancelBtn, ReadBtn})
        b->move(b->x(), 8);
    layout->addWidget(Panel2);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connectGuarded(ReadBtn, &QPushButton::clicked, this, &TPostForm::ReadBtnClick);
    connectGuarded(SarchButton, &QPushButton::clicked, this, &TPostForm::SarchButtonClick);

    RestorePos1 = new TRestorePos(this, QStringLiteral("Dremlot"), QStringLiteral("Post"));

    resize(480, 360);
    Table1->Open();
    attachGrid();
    FormCreate();
    RestorePos1->restore();
}

TPostForm::~TPostForm()
{
    if (PostForm == this)
        PostForm = nullptr;
}

void TPostForm::attachGrid()
{
    DBGrid1->setTable(Table1);
    DBGrid1->setColumnWidth(0, 110);
}

void TPostForm::FormCreate()
{
    DataDirectory = currentDataDirectory();
}

// The three buttons at a quarter, a half and three quarters of the panel.
void TPostForm::FormResize()
{
    const int quarter = Panel2->width() / 4;
    OKBtn->move(quarter - kButtonHalfWidth, OKBtn->y());
    CancelBtn->move(quarter * 2 - kButtonHalfWidth, CancelBtn->y());
    ReadBtn->move(quarter * 3 - kButtonHalfWidth, ReadBtn->y());
}

void TPostForm::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    if (auto* l = layout())
        l->activate();
    FormResize();
}

void TPostForm::SarchButtonClick()
{
    if (!Table1->Locate("住所", {sjis::encode(AddrEdit->text())}, {.partialKey = true}))
        Table1->First();
}

// Rebuilds PostData from a comma-separated file: the file is read whole
// first, then the old entries are replaced in one transaction, so a file
// that cannot be read leaves the table as it was.
void TPostForm::ReadBtnClick()
{
    const std::array<int, 4> columns = readPostDataColumns(DataDirectory).columns;
    const auto path = openFileName(QStringLiteral("Open"), QStringLiteral("ＣＳＶファイル"),
                                   QStringLiteral("CSVﾌｧｲﾙ(*.CSV)|*.CSV|すべて　(*.*)|*.*"), DataDirectory, this);
    if (!path)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restoreCursor;
    const auto rows = postal::readPostDataFile(*path, columns);
    DBGrid1->setTable(nullptr);
    try {
        postal::replacePostData(*Table1, rows);
    } catch (...) {
        attachGrid();  // the old table, as it was
        throw;
    }
    attachGrid();
    Table1->First();
}
