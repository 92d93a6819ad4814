#include "record_book/item_height_form.h"

#include "components/core/data_directory.h"
#include "components/widgets/find_control.h"
#include "components/widgets/panel.h"
#include "components/widgets/restore_pos.h"
#include "components/formats/card_settings.h"
#include "platform/error_guard.h"
#include "record_book/main_window.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TItemHForm* ItemHForm = nullptr;

namespace {

// The heights of the customer block and its reading line, and the offset
// the main window's resize adds to the card, for each line count.
struct LineCount {
    int block, readingLine, offset;
};
constexpr LineCount kLineCounts[] = {{50, 20, 0}, {60, 30, 10}, {75, 45, 25}};

constexpr int kRemarksHeaderHeight = 15;

}  // namespace

TItemHForm::TItemHForm(TCarDataForm& carData, QWidget* parent) : QDialog(parent), carData_(carData)
{
    setObjectName(QStringLiteral("ItemHForm"));
    setWindowTitle(QStringLiteral("行数指定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    RadioGroup1 = new QGroupBox(QStringLiteral("ふりがな及び電話番号の桁数"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(8, 6, 189, 108);
    auto* column = new QVBoxLayout(RadioGroup1);
    buttons_ = new QButtonGroup(this);
    for (const char* caption : {"　１　行　", "　２　行　", "　３　行　"}) {
        auto* b = new QRadioButton(QString::fromUtf8(caption), RadioGroup1);
        buttons_->addButton(b, buttons_->buttons().size());
        column->addWidget(b);
    }
    OKBtn = new QPushButton(QStringLiteral("OK(&Y)"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setGeometry(65, 124, 75, 25);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connectGuarded(buttons_, &QButtonGroup::idClicked, this, &TItemHForm::RadioGroup1Click);

    RestorePos1 = new TRestorePos(this, QStringLiteral("Dremlot"), QStringLiteral("ItemHeight "));

    resize(205, 160);
    setItemIndex(0);
    guarded([this] { FormCreate(); });
    RestorePos1->restore();
}

QRadioButton* TItemHForm::radioItem(int index) const
{
    return qobject_cast<QRadioButton*>(buttons_->button(index));
}

void TItemHForm::setItemIndex(int index)
{
    ItemIndex = index;
    if (QAbstractButton* b = buttons_->button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = buttons_->checkedButton()) {
        buttons_->setExclusive(false);
        checked->setChecked(false);
        buttons_->setExclusive(true);
    }
}

void TItemHForm::FormCreate()
{
    if (const auto stored = readHeightSettings(carData_.dataDirectory())) {
        setItemIndex(stored->lineCount);
        applyLineCount(ItemIndex);
    }
}

void TItemHForm::RadioGroup1Click(int index)
{
    ItemIndex = index;
    applyLineCount(index);
}

void TItemHForm::applyLineCount(int index)
{
    QWidget* card = carData_.card();
    auto control = [card](const char* name) { return findControl<QWidget>(card, name); };
    auto* offset = qobject_cast<QSpinBox*>(control("SpinEdit1"));
    if (index >= 0 && index < int(std::size(kLineCounts))) {
        const LineCount& l = kLineCounts[index];
        setControlHeight(control("EditPanel6"), l.block);
        setControlHeight(control("subPanel14"), l.readingLine);
        // The reading's title keeps level with the reading line.
        setControlHeight(control("Title6Panel1"), l.readingLine);
        offset->setValue(l.offset);
    } else {
        offset->setValue(0);
    }
    QWidget* headers = control("EditPanel11");
    headers->move(headers->x(), 0);
    QWidget* remarks = control("DBMemo34");
    remarks->move(remarks->x(), kRemarksHeaderHeight);
    carData_.FormResize();
}

void TItemHForm::FormCloseQuery()
{
    writeHeightSettings(carData_.dataDirectory(), {ItemIndex});
}

// A file that cannot be written shows its error and the dialog still closes.
void TItemHForm::done(int result)
{
    guarded([this] { FormCloseQuery(); });
    QDialog::done(result);
}

TItemHForm::~TItemHForm()
{
    if (ItemHForm == this)
        ItemHForm = nullptr;
}
