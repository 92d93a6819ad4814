#include "record_book/display_pattern_dlg.h"

#include "components/core/data_directory.h"
#include "components/widgets/db_controls.h"
#include "components/widgets/dual_list.h"
#include "components/formats/list_settings.h"
#include "platform/error_guard.h"
#include "record_book/model/list_columns.h"
#include "record_book/list_form.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TDspPatDlg* DspPatDlg = nullptr;

namespace {

// Wide enough for the longest field name beside its number.
constexpr int kWidth = 390;

}  // namespace

TDspPatDlg::TDspPatDlg(TListForm& listForm, QWidget* parent) : QDialog(parent), listForm_(listForm)
{
    setObjectName(QStringLiteral("DspPatDlg"));
    setWindowTitle(QStringLiteral("表示設定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f = font();
    f.setPointSize(9);
    setFont(f);

    auto* group = new QGroupBox(QStringLiteral("一覧の表示指定"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(8, 4, kWidth - 16, 180);
    Chooser = new TDualListChooser(QStringLiteral("表示しない項目"), QStringLiteral("表示する項目"),
                                   TDualListChooser::Buttons::MoveOnly, group);
    auto* inGroup = new QVBoxLayout(group);
    inGroup->setContentsMargins(6, 4, 6, 6);
    inGroup->addWidget(Chooser);

    auto* note = new QLabel(
        QStringLiteral("一覧に表示する項目を指定してください。\n注）この変更は、再起同時に行われます。"), this);
    note->setObjectName(QStringLiteral("Panel1"));
    note->setAlignment(Qt::AlignCenter);
    note->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    note->setGeometry(8, 190, kWidth - 16, 36);

    OKBtn = new QPushButton(QStringLiteral("はい(&Y)"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setGeometry(kWidth / 2 - 83, 234, 75, 25);
    CancelBtn = new QPushButton(QStringLiteral("いいえ"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(kWidth / 2 + 8, 234, 75, 25);
    // OK closes the dialog even when Dsplay.INI cannot be written.
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        guarded([this] { OKBtnClick(); });
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(kWidth, 266);
    Chooser->setLeftEntries(designDisplayItems());
    FormCreate();
}

TDspPatDlg::~TDspPatDlg()
{
    if (DspPatDlg == this)
        DspPatDlg = nullptr;
}

// Loads the two lists from Dsplay.INI and lets the list window show only
// the fields of the second list.
void TDspPatDlg::FormCreate()
{
    Directory = currentDataDirectory();
    const auto stored = readDisplaySettings(Directory);
    if (!stored)
        return;
    Chooser->setLeftEntries(stored->left);
    Chooser->setRightEntries(stored->right);
    arrangeGrid(stored->right);
}

void TDspPatDlg::arrangeGrid(const std::vector<SjisString>& shownItems)
{
    std::set<int> shown;
    for (const SjisString& item : shownItems)
        shown.insert(displayItemPosition(item));
    const int fieldCount = listForm_.DBGrid1->gridModel()->columnCount();
    listForm_.setColumns(arrangeListColumns(fieldCount, shown, readListColumnWidths(Directory).columns));
}

void TDspPatDlg::OKBtnClick()
{
    writeDisplaySettings(Directory, {Chooser->leftEntries(), Chooser->rightEntries()});
}
