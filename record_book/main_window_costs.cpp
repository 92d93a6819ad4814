// Cost settings and cost estimates: the fee tables, the settings dialog and
// the estimate with its options and its viewer.
#include "components/core/data_directory.h"
#include "components/widgets/line_view.h"
#include "components/formats/settings_file.h"
#include "output/cost_estimate.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/text_printer.h"
#include "record_book/expense_form.h"
#include "record_book/expense_output_forms.h"
#include "record_book/main_window.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>
#include <climits>

namespace {

// The fee tables and the estimate of the window, kept as its child.
class CostCommands : public QObject {
public:
    explicit CostCommands(TCarDataForm& form)
        : QObject(&form), tables(form.book().database()), estimate(form.book(), tables)
    {
        setObjectName(QStringLiteral("CostCommands"));
    }

    CostTables tables;
    CostEstimate estimate;
    EstimateResult last;
};

CostCommands& costs(TCarDataForm& form)
{
    if (auto* c = form.findChild<QObject*>(QStringLiteral("CostCommands"), Qt::FindDirectChildrenOnly))
        return *static_cast<CostCommands*>(c);
    return *new CostCommands(form);
}

void createEstimateForms(TCarDataForm& form)
{
    if (form.ExpenseFormsCreated)
        return;
    ExpenseEstablForm = new TExpenseEstablForm(&form);
    ExpenseOutForm = new TExpenseOutForm(&form);
    form.ExpenseFormsCreated = true;
}

QString requestMessage(const EstimateResult& r)
{
    if (r.requestsAdded > 0 && r.requestsNotAdded == 0)
        return QStringLiteral("自動車修理明細書に追加されました。");
    return QStringLiteral("自動車修理明細書に%1件追加されました。\r%2件は追加されませんでした。")
        .arg(r.requestsAdded)
        .arg(r.requestsNotAdded);
}

// The last record's amounts in the viewer's hidden boxes.
void showAmounts(const EstimateEntry& entry)
{
    const CostAmounts& a = entry.amounts;
    const long long amounts[] = {a.insurance, a.weightTax, a.stamp, a.misc, a.plate, a.total};
    const auto labels = amountLabels(entry);
    for (std::size_t i = 0; i < 6; ++i) {
        ExpenseOutForm->SpinEdits[i]->setValue(int(std::clamp<long long>(amounts[i], INT_MIN, INT_MAX)));
        ExpenseOutForm->Labels[i]->setText(sjis::decode(labels[i]));
    }
}

}  // namespace

CostTables& TCarDataForm::costTables()
{
    CostTables& t = costs(*this).tables;
    t.open();
    Table2 = &t.expense();
    Table7 = &t.weightTax();
    return t;
}

void TCarDataForm::Expense1Click()
{
    createEstimateForms(*this);
    showModal(*ExpenseForm);
}

void TCarDataForm::Expense2Click()
{
    createEstimateForms(*this);
    ExpenseEstablForm->CheckBox1->setChecked(false);
    ExpenseEstablForm->CheckBox2->setChecked(false);
    CostEstimate& estimate = costs(*this).estimate;
    if (book_.settings().RequestProgramPresent && !estimate.requestsOpen()) {
        estimate.requests();
        ExpenseEstablForm->addRequestOutput();
    }
    if (showModal(*ExpenseEstablForm) != QDialog::Accepted)
        return;
    ExpenseOut();
    switch (EstimateOutput(ExpenseEstablForm->output())) {
    case EstimateOutput::Request:
        showMessage(requestMessage(costs(*this).last));
        break;
    case EstimateOutput::Screen: {
        QFile file(estimateTextPath(dataDirectory()));
        if (!file.open(QIODevice::ReadOnly))
            throw FileError(QStringLiteral("%1 を開けません: %2").arg(file.fileName(), file.errorString()));
        ExpenseOutForm->Memo1->setPlainText(sjis::decode(file.readAll().toStdString(), sjis::LineBreaks::Unified));
        showModal(*ExpenseOutForm);
        break;
    }
    case EstimateOutput::Printer: break;
    }
}

void TCarDataForm::ExpenseOut()
{
    const TExpenseEstablForm& o = *ExpenseEstablForm;
    EstimateOptions options;
    options.scope = EstimateScope(o.scope());
    options.output = EstimateOutput(o.output());
    options.recordsPerJob = std::max(0, readNumber(o.Edit1->text().toStdString()));
    options.plate = o.CheckBox1->isChecked();
    options.insuranceBroughtIn = o.CheckBox2->isChecked();
    options.feeName = ExpenseForm->feeName();
    options.font = o.Font;
    options.today = today();
    if (options.output == EstimateOutput::Printer && !choosePrinter(this))
        return;
    if (options.output == EstimateOutput::Screen)
        ExpenseOutForm->setPrintFont(o.Font);
    CostCommands& c = costs(*this);
    c.last = c.estimate.run(options);
    if (c.last.last)
        showAmounts(*c.last.last);
}
