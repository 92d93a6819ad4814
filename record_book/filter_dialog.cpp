#include "record_book/filter_dialog.h"

#include "components/core/data_directory.h"
#include "components/formats/query_settings.h"
#include "components/widgets/widget_events.h"
#include "platform/error_guard.h"
#include "record_book/query_boxes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TFilterDlg* FilterDlg = nullptr;

namespace {

QLabel* label(QWidget* parent, const char* name, const char* text)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

TFilterDlg::TFilterDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FilterDlg"));
    setWindowTitle(QStringLiteral("フィルタ"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Label1 = label(this, "Label1", "フィルタ項目");
    Label2 = label(this, "Label2", "フィルタ内容");
    FilterComboBox = makeFieldBox(this, "FilterComboBox");
    FilterFromEdit = makeValueBox(this, "FilterFromEdit");
    FilterToEdit = makeValueBox(this, "FilterToEdit");
    Label5 = label(this, "Label5", "追加");
    FilterPComboBox = makeFieldBox(this, "FilterPComboBox");
    FilterPFromEdit = makeValueBox(this, "FilterPFromEdit");
    FilterPToEdit = makeValueBox(this, "FilterPToEdit");
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setFixedWidth(75);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(FilterComboBox, 1, 1);
    grid->addWidget(FilterFromEdit, 1, 2);
    grid->addWidget(label(this, "Label3", "から"), 1, 3);
    grid->addWidget(FilterToEdit, 1, 4);
    grid->addWidget(label(this, "Label4", "まで"), 1, 5);
    grid->addWidget(Label5, 2, 0);
    grid->addWidget(FilterPComboBox, 2, 1);
    grid->addWidget(FilterPFromEdit, 2, 2);
    grid->addWidget(label(this, "Label6", "から"), 2, 3);
    grid->addWidget(FilterPToEdit, 2, 4);
    grid->addWidget(label(this, "Label7", "まで"), 2, 5);
    grid->addWidget(OKBtn, 3, 0, 1, 6, Qt::AlignHCenter);
    grid->setColumnMinimumWidth(1, 170);
    grid->setColumnMinimumWidth(2, 190);
    grid->setColumnMinimumWidth(4, 190);

    connectGuarded(FilterComboBox, &QComboBox::currentTextChanged, this, &TFilterDlg::FilterComboBoxChange);
    connectGuarded(FilterPComboBox, &QComboBox::currentTextChanged, this, &TFilterDlg::FilterPComboBoxChange);
    const std::pair<QComboBox*, void (TFilterDlg::*)()> dblClicks[] = {
        {FilterFromEdit, &TFilterDlg::FilterFromEditDblClick},
        {FilterToEdit, &TFilterDlg::FilterToEditDblClick},
        {FilterPFromEdit, &TFilterDlg::FilterPFromEditDblClick},
        {FilterPToEdit, &TFilterDlg::FilterPToEditDblClick},
    };
    for (const auto& [box, member] : dblClicks)
        onDoubleClick(box, [this, handler = member] { guarded([this, handler] { (this->*handler)(); }); });
    const std::pair<QComboBox*, void (TFilterDlg::*)()> exits[] = {
        {FilterFromEdit, &TFilterDlg::FilterFromEditExit},
        {FilterToEdit, &TFilterDlg::FilterToEditExit},
        {FilterPFromEdit, &TFilterDlg::FilterPFromEditExit},
        {FilterPToEdit, &TFilterDlg::FilterPToEditExit},
    };
    for (const auto& [box, member] : exits)
        onExit(box, [this, handler = member] { guarded([this, handler] { (this->*handler)(); }); });
    connectGuarded(OKBtn, &QPushButton::clicked, this, &TFilterDlg::OKBtnClick);
    FormCreate();
    setFixedSize(sizeHint());
}

void TFilterDlg::FormCreate()
{
    FilterFromEdit->setEditText({});
    FilterToEdit->setEditText({});
    Directory = currentDataDirectory();
    guarded([&] { showFieldList(readFilterFields(Directory).fields, {FilterComboBox, FilterPComboBox}); });
    FilterComboBoxChange();
    FilterPComboBoxChange();
}

FilterRow TFilterDlg::firstRow() const
{
    return {comboText(FilterComboBox), comboText(FilterFromEdit), comboText(FilterToEdit)};
}

FilterRow TFilterDlg::secondRow() const
{
    return {comboText(FilterPComboBox), comboText(FilterPFromEdit), comboText(FilterPToEdit)};
}

bool TFilterDlg::answered() const
{
    return result() == QDialog::Accepted && !FilterFromEdit->currentText().isEmpty();
}

void TFilterDlg::reset()
{
    const QString first = FilterComboBox->count() > 0 ? FilterComboBox->itemText(0) : QString();
    for (QComboBox* box : {FilterComboBox, FilterPComboBox}) {
        box->setCurrentIndex(box->count() > 0 ? 0 : -1);
        box->setEditText(first);
    }
    for (QComboBox* box : {FilterFromEdit, FilterToEdit, FilterPFromEdit, FilterPToEdit})
        box->setEditText({});
}

void TFilterDlg::FilterComboBoxChange()
{
    const SjisString field = comboText(FilterComboBox);
    copyFieldChoices(FilterFromEdit, field, RemarksRow::Excluded);
    copyFieldChoices(FilterToEdit, field, RemarksRow::Excluded);
}

void TFilterDlg::FilterPComboBoxChange()
{
    const SjisString field = comboText(FilterPComboBox);
    copyFieldChoices(FilterPFromEdit, field, RemarksRow::Excluded);
    copyFieldChoices(FilterPToEdit, field, RemarksRow::Excluded);
}

void TFilterDlg::FilterFromEditDblClick() { pickValueDate(FilterFromEdit, comboText(FilterComboBox), RemarksRow::Excluded); }
void TFilterDlg::FilterToEditDblClick() { pickValueDate(FilterToEdit, comboText(FilterComboBox), RemarksRow::Excluded); }
void TFilterDlg::FilterPFromEditDblClick()
{
    pickValueDate(FilterPFromEdit, comboText(FilterPComboBox), RemarksRow::Excluded);
}
void TFilterDlg::FilterPToEditDblClick() { pickValueDate(FilterPToEdit, comboText(FilterPComboBox), RemarksRow::Excluded); }

void TFilterDlg::FilterFromEditExit() { expandDateKeyword(FilterFromEdit, comboText(FilterComboBox)); }
void TFilterDlg::FilterToEditExit() { expandDateKeyword(FilterToEdit, comboText(FilterComboBox)); }
void TFilterDlg::FilterPFromEditExit() { expandDateKeyword(FilterPFromEdit, comboText(FilterPComboBox)); }
void TFilterDlg::FilterPToEditExit() { expandDateKeyword(FilterPToEdit, comboText(FilterPComboBox)); }

// Text that CP932 cannot hold keeps the dialog open to mend it; OK by the
// Enter key leaves no box, so "$DATE" is expanded here too.
void TFilterDlg::OKBtnClick()
{
    if (!acceptBoxTexts({FilterComboBox, FilterFromEdit, FilterToEdit, FilterPComboBox, FilterPFromEdit, FilterPToEdit},
                        this))
        return;
    FilterFromEditExit();
    FilterToEditExit();
    FilterPFromEditExit();
    FilterPToEditExit();
    accept();
}
