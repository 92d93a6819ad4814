#include "record_book/copy_pattern_dialog.h"

#include "components/core/data_directory.h"
#include "components/widgets/dual_list.h"
#include "components/widgets/panel.h"
#include "components/formats/query_settings.h"
#include "platform/error_guard.h"
#include "record_book/model/record_query.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TCopyPatDlg* CopyPatDlg = nullptr;

namespace {


}  // namespace

TCopyPatDlg::TCopyPatDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CopyPatDlg"));
    setWindowTitle(QStringLiteral("複写設定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    GroupBox1 = new QGroupBox(QStringLiteral("複写項目設定"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Chooser = new TDualListChooser(QStringLiteral("複写しない項目"), QStringLiteral("複写する項目"),
                                   TDualListChooser::Buttons::MoveAndOrder, GroupBox1);
    ListBox1 = Chooser->ListBox1;
    ListBox2 = Chooser->ListBox2;
    auto* group = new QVBoxLayout(GroupBox1);
    group->addWidget(Chooser);

    Panel1 = new Panel(this, Align::None, QStringLiteral("Panel1"));
    Panel1->setCaption(QStringLiteral("現在表示されているデータを上記の項目で複写しますか？"));
    Panel1->setBevel(Panel::Bevel::Lowered);
    Panel1->setFixedHeight(28);

    OKBtn = new QPushButton(QStringLiteral("はい(&Y)"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("いいえ"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addSpacing(24);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addWidget(Panel1);
    layout->addLayout(buttons);

    setListEntries(ListBox1, copyEntries());
    connectGuarded(OKBtn, &QPushButton::clicked, this, &TCopyPatDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
    resize(QSize(380, 340).expandedTo(minimumSizeHint()));
}

void TCopyPatDlg::FormCreate()
{
    Directory = currentDataDirectory();
}

std::vector<SjisString> TCopyPatDlg::copiedFields() const { return listEntries(ListBox2); }

void TCopyPatDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    guarded([this] { FormShow(); });
}

// Every showing starts from Copy.INI when there is one: the lines up to
// the first empty line are the fields not copied, the lines after it up to
// the next empty line (or the end) those copied.
void TCopyPatDlg::FormShow()
{
    const auto stored = readCopySettings(Directory);
    if (!stored)
        return;
    setListEntries(ListBox1, stored->left);
    setListEntries(ListBox2, stored->right);
}

// The modal result is OK before the file is written, so a file that cannot
// be written is reported and the lists as chosen still serve this copy.
void TCopyPatDlg::OKBtnClick()
{
    accept();
    writeCopySettings(Directory, {listEntries(ListBox1), listEntries(ListBox2)});
}
