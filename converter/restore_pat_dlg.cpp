#include "converter/restore_pat_dlg.h"

#include "components/core/record_fields.h"
#include "components/widgets/dual_list.h"
#include "components/widgets/list_entries.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::vector<SjisString> allFieldNames()
{
    std::vector<SjisString> names;
    for (const RecordField& f : kRecordFields)
        names.push_back(sj(f.name));
    return names;
}

}  // namespace

TRestorePatDlg::TRestorePatDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RestorePatDlg"));
    setWindowTitle(QStringLiteral("リストア選択"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    GroupBox1 = new QGroupBox(QStringLiteral("リストア順序"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Chooser = new TDualListChooser(QStringLiteral("リストアしない項目"), QStringLiteral("リストアする項目"),
                                   TDualListChooser::Buttons::MoveAndOrder, GroupBox1);
    Label2 = Chooser->Label1;
    Label3 = Chooser->Label2;
    ListBox1 = Chooser->ListBox1;
    ListBox2 = Chooser->ListBox2;
    auto* group = new QVBoxLayout(GroupBox1);
    group->addWidget(Chooser);

    OKBtn = new QPushButton(QStringLiteral("OK(&Y)"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addStretch(1);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addLayout(buttons);

    setListEntries(ListBox1, allFieldNames());
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    resize(QSize(323, 281).expandedTo(minimumSizeHint()));
}

std::vector<SjisString> TRestorePatDlg::chosenFields() const { return listEntries(ListBox2); }
