#include "record_book/find_dialog.h"

#include "components/core/data_directory.h"
#include "components/formats/query_settings.h"
#include "components/widgets/widget_events.h"
#include "platform/error_guard.h"
#include "record_book/query_boxes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TFindDlg* FindDlg = nullptr;

TFindDlg::TFindDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDlg"));
    setWindowTitle(QStringLiteral("検索"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Label1 = new QLabel(QStringLiteral("検索項目"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    FindComboBox = makeFieldBox(this, "FindComboBox");
    Label2 = new QLabel(QStringLiteral("検索内容"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    FindEdit = makeValueBox(this, "FindEdit");
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(FindComboBox, 1, 0);
    grid->addWidget(FindEdit, 1, 1);
    grid->addWidget(OKBtn, 2, 0, 1, 2, Qt::AlignHCenter);
    grid->setColumnMinimumWidth(0, 170);
    grid->setColumnMinimumWidth(1, 230);
    OKBtn->setFixedWidth(75);

    connectGuarded(FindComboBox, &QComboBox::currentTextChanged, this, &TFindDlg::FindComboBoxChange);
    onDoubleClick(FindEdit, [this] { guarded([this] { FindEditDblClick(); }); });
    onExit(FindEdit, [this] { guarded([this] { FindEditExit(); }); });
    connectGuarded(OKBtn, &QPushButton::clicked, this, &TFindDlg::OKBtnClick);
    FormCreate();
    setFixedSize(sizeHint());
}

void TFindDlg::FormCreate()
{
    Directory = currentDataDirectory();
    guarded([&] { showFieldList(readFindFields(Directory).fields, {FindComboBox}); });
    FindComboBoxChange();
    FindEdit->setEditText({});
}

SjisString TFindDlg::fieldName() const { return comboText(FindComboBox); }

SjisString TFindDlg::findText() const { return comboText(FindEdit); }

bool TFindDlg::answered() const { return result() == QDialog::Accepted && !FindEdit->currentText().isEmpty(); }

void TFindDlg::FindComboBoxChange()
{
    copyFieldChoices(FindEdit, fieldName(), RemarksRow::Included);
}

void TFindDlg::FindEditDblClick()
{
    pickValueDate(FindEdit, fieldName(), RemarksRow::Included);
}

void TFindDlg::FindEditExit()
{
    expandDateKeyword(FindEdit, fieldName());
}

// Text that CP932 cannot hold keeps the dialog open to mend it; OK by the
// Enter key leaves no box, so "$DATE" is expanded here too.
void TFindDlg::OKBtnClick()
{
    if (!acceptBoxTexts({FindComboBox, FindEdit}, this))
        return;
    FindEditExit();
    accept();
}
