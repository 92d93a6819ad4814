// The list print: the chosen columns of the records as a text list, or the
// window's image record by record.
#include "components/widgets/find_control.h"
#include "output/list_print.h"
#include "output/print_font.h"
#include "platform/clock.h"
#include "platform/error_guard.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/text_printer.h"
#include "record_book/main_window.h"
#include "record_book/print_pat_dlg.h"

#include <QMenuBar>
#include <QTimer>

namespace {

// The window's height while its image is printed.
constexpr int kFormPrintHeight = 572;

// True when the header fits in `cells`, or the user prints the columns
// past the page's edge all the same.
bool printPastTheEdge(const ListLayout& layout, int cells)
{
    const int past = layout.firstColumnPast(cells);
    if (past < 0)
        return true;
    const QString text = QStringLiteral("出力する項目が用紙の幅に収まりません。\r%1項目目の「%2」から後は用紙の端で切れます。"
                                        "\rこのまま印刷しますか？")
                             .arg(past + 1)
                             .arg(sjis::decode(layout.columns()[std::size_t(past)].name));
    return showMessage(text, {}, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace

void TCarDataForm::PrintSBClick()
{
    showModal(*PrintPatDlg);
}

void TCarDataForm::PrintBClick()
{
    if (FormPrintStep != 0)
        return;
    PrintPatDlg->FormShow();
    const ListPrintSettings settings = PrintPatDlg->settings();
    const ListTitleSettings titles = PrintPatDlg->titles();
    Table1->CheckBrowseMode();
    if (settings.method == 1) {
        if (choosePrinter(this))
            startFormPrint(settings.scope != 0);
        return;
    }
    const ListLayout layout(settings.columns.right, *Table3, *Table1);
    if (layout.truncated())
        showMessage(QStringLiteral("出力する項目は%1項目までです。\r%2項目目からは印刷されません。")
                        .arg(kMaxListColumns)
                        .arg(kMaxListColumns + 1),
                    {}, MessageIcon::Information);
    if (!choosePrinter(this))
        return;
    TextPrinter printer(runPrinter());
    if (!printPastTheEdge(layout, printer.cellsPerLine(printFont(settings.font))))
        return;
    PrinterListOutput out(printer, settings.font);
    printList(out, *Table1, layout, ListPrintOptions::of(settings, titles, today()));
    printer.finish();
}

void TCarDataForm::startFormPrint(bool allRecords)
{
    if (!Timer2) {
        Timer2 = new QTimer(this);
        Timer2->setObjectName(QStringLiteral("Timer2"));
        Timer2->setSingleShot(true);
        Timer2->setInterval(1);
        connectGuarded(Timer2, &QTimer::timeout, this, &TCarDataForm::Timer2Timer);
    }
    formPrintAll_ = allRecords;
    FormPrintStep = 1;
    Timer2->start();
}

void TCarDataForm::Timer2Timer()
{
    Timer2->stop();
    try {
        formPrintStep();
    } catch (...) {
        endFormPrint();
        throw;
    }
}

void TCarDataForm::formPrintStep()
{
    switch (FormPrintStep) {
    case 1:
        SavedFormHeight = height();
        resize(width(), kFormPrintHeight);
        findControl<QWidget>(this, "SpeedPanel1")->hide();
        formPrinter_ = std::make_shared<TextPrinter>(runPrinter());
        if (formPrintAll_)
            Table1->First();
        FormPrintStep = 2;
        Timer2->start();
        break;
    case 2: {
        const int top = menuBar()->height();
        formPrinter_->beginJob(font());
        formPrinter_->printImage(grab(QRect(0, top, width(), height() - top)).toImage());
        formPrinter_->endJob();
        FormPrintStep = 3;
        if (formPrintAll_) {
            Table1->Next();
            if (!Table1->Eof())
                FormPrintStep = 2;
        }
        Timer2->start();
        break;
    }
    default: {
        const std::shared_ptr<TextPrinter> printer = formPrinter_;
        endFormPrint();
        if (printer)
            printer->finish();
        break;
    }
    }
}

// Shows the tool bar and the window's height again, whatever the print left.
void TCarDataForm::endFormPrint()
{
    if (FormPrintStep == 0)
        return;
    FormPrintStep = 0;
    formPrinter_.reset();
    findControl<QWidget>(this, "SpeedPanel1")->show();
    resize(width(), SavedFormHeight);
}
