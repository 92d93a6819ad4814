#include "record_book/sort_dialog.h"

#include "components/core/data_directory.h"
#include "components/formats/query_settings.h"
#include "platform/error_guard.h"
#include "record_book/query_boxes.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TSortDlg* SortDlg = nullptr;

TSortDlg::TSortDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SortDlg"));
    setWindowTitle(QStringLiteral("ソート"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Label1 = new QLabel(QStringLiteral("ソート項目"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    SortComboBox = makeFieldBox(this, "SortComboBox");
    SortComboBox->setMinimumWidth(200);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setFixedWidth(75);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(SortComboBox);
    layout->addWidget(OKBtn, 0, Qt::AlignHCenter);
    connectGuarded(OKBtn, &QPushButton::clicked, this, &TSortDlg::OKBtnClick);
    FormCreate();
    setFixedSize(sizeHint());
}

void TSortDlg::FormCreate()
{
    Directory = currentDataDirectory();
    guarded([&] { showFieldList(readSortFields(Directory).fields, {SortComboBox}); });
}

SjisString TSortDlg::fieldName() const { return comboText(SortComboBox); }

void TSortDlg::showFirstField()
{
    SortComboBox->setCurrentIndex(SortComboBox->count() > 0 ? 0 : -1);
    SortComboBox->setEditText(SortComboBox->count() > 0 ? SortComboBox->itemText(0) : QString());
}

void TSortDlg::OKBtnClick()
{
    if (acceptBoxTexts({SortComboBox}, this))
        accept();
}
