#include "record_book/date_dialog.h"

#include "components/widgets/panel.h"
#include "platform/clock.h"
#include "platform/error_guard.h"
#include "platform/modal.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

TDateSDlg* DateSDlg = nullptr;

namespace {

// The calendar shows 明治 1 (1868) to the year 9999.
const QDate kFirstDate(1868, 1, 1);
const QDate kLastDate(9999, 12, 31);

QLabel* caption(const char* text, QWidget* parent)
{
    return new QLabel(QString::fromUtf8(text), parent);
}

}  // namespace

TDateSDlg::TDateSDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DateSDlg"));
    setWindowTitle(QStringLiteral("日付設定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Panel2 = new Panel(this, Align::None, QStringLiteral("Panel2"));
    auto* bar = new QHBoxLayout(Panel2);
    bar->setContentsMargins(4, 2, 4, 2);
    bar->setSpacing(3);
    YearLabel = new QLabel(QString::fromUtf8("平成"), Panel2);
    YearLabel->setObjectName(QStringLiteral("YearLabel"));
    YearEdit = new QSpinBox(Panel2);
    YearEdit->setObjectName(QStringLiteral("YearEdit"));
    MonthEdit = new QSpinBox(Panel2);
    MonthEdit->setObjectName(QStringLiteral("MonthEdit"));
    MonthEdit->setRange(1, 12);
    for (QSpinBox* box : {YearEdit, MonthEdit}) {
        box->setAttribute(Qt::WA_InputMethodEnabled, false);  // digits only, no conversion
        box->setAlignment(Qt::AlignRight);
    }
    YearEdit->setFixedWidth(64);
    MonthEdit->setFixedWidth(48);
    bar->addWidget(YearLabel);
    bar->addWidget(YearEdit);
    bar->addWidget(caption("年", Panel2));
    bar->addSpacing(6);
    bar->addWidget(MonthEdit);
    bar->addWidget(caption("月", Panel2));
    bar->addStretch();

    Calendar1 = new QCalendarWidget(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    Calendar1->setFirstDayOfWeek(Qt::Sunday);
    Calendar1->setNavigationBarVisible(false);
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar1->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    Calendar1->setGridVisible(true);
    Calendar1->setDateRange(kFirstDate, kLastDate);
    Calendar1->setSelectedDate(today());
    if (auto* view = Calendar1->findChild<QTableView*>())
        view->installEventFilter(this);

    DateEdit = new QLineEdit(this);
    DateEdit->setObjectName(QStringLiteral("DateEdit"));
    DateEdit->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel2);
    layout->addWidget(Calendar1, 1);
    Panel2->setFixedHeight(YearEdit->sizeHint().height() + 4);
    setTabOrder(Calendar1, YearEdit);
    setTabOrder(YearEdit, MonthEdit);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(10);

    connectGuarded(Timer1, &QTimer::timeout, this, &TDateSDlg::Timer1Timer);
    connectGuarded(YearEdit, &QSpinBox::valueChanged, this, &TDateSDlg::YearEditChange);
    connectGuarded(MonthEdit, &QSpinBox::valueChanged, this, &TDateSDlg::MonthEditChange);
    connectGuarded(Calendar1, &QCalendarWidget::clicked, this, &TDateSDlg::Calendar1Click);
    // Enter (or a double click) picks the day at once.
    connectGuarded(Calendar1, &QCalendarWidget::activated, this, [this] {
        Armed = true;
        Calendar1Click();
    });
    // Keys that leave the shown month carry the boxes along.
    connectGuarded(Calendar1, &QCalendarWidget::currentPageChanged, this, &TDateSDlg::showCalendarPage);

    showCalendarPage();
    setFixedSize(236, 200);
}

std::optional<SjisString> TDateSDlg::pickDate(std::string_view current)
{
    int year = 0, month = 0, day = 0;
    CharToDate(current, year, month, day);
    setCalendarDate(year, month, day);
    showModal(*this);
    if (!Picked)
        return std::nullopt;
    return eraDateText(Calendar1->selectedDate());
}

void TDateSDlg::setCalendarDate(int year, int month, int day)
{
    QDate d = Calendar1->selectedDate();
    d = QDate(d.year(), d.month(), 1);
    if (year >= kFirstDate.year() && year <= kLastDate.year())
        d = QDate(year, d.month(), 1);
    if (month >= 1 && month <= 12)
        d = QDate(d.year(), month, 1);
    if (day >= 1 && day <= d.daysInMonth())
        d = QDate(d.year(), d.month(), day);
    setCalendar(d);
}

void TDateSDlg::setCalendar(QDate date)
{
    Calendar1->setSelectedDate(date);
    Calendar1->setCurrentPage(date.year(), date.month());
}

// The era label and the year box for an era year, without running the
// box's handler. The box is bounded so that the calendar stays within
// 1868-9999: 明治 starts at 1, the newest era ends at 9999.
void TDateSDlg::showEraYear(EraYear value)
{
    era_ = value.era;
    const Era& era = eras()[std::size_t(value.era)];
    YearLabel->setText(sjis::decode(era.name));
    QSignalBlocker block(YearEdit);
    YearEdit->setRange(value.era == 0 ? kFirstDate.year() - era.baseYear : 0, kLastDate.year() - era.baseYear);
    YearEdit->setValue(value.year);
}

// The boxes follow the month the calendar shows.
void TDateSDlg::showCalendarPage()
{
    const QDate d = Calendar1->selectedDate();
    showEraYear(carryEraYear(dialogEraYear(d.year())));
    QSignalBlocker block(MonthEdit);
    MonthEdit->setValue(d.month());
}

void TDateSDlg::YearEditChange()
{
    const EraYear value = carryEraYear({era_, YearEdit->value()});
    showEraYear(value);
    const QDate d = Calendar1->selectedDate();
    const QDate first(westernYear(value), d.month(), 1);
    setCalendar(QDate(first.year(), first.month(), std::min(d.day(), first.daysInMonth())));
    Armed = false;
}

void TDateSDlg::MonthEditChange()
{
    const QDate d = Calendar1->selectedDate();
    const QDate first(d.year(), MonthEdit->value(), 1);
    // The day is corrected first, so the calendar never holds a date that does not exist.
    setCalendar(QDate(first.year(), first.month(), std::min(d.day(), first.daysInMonth())));
    Armed = false;
}

void TDateSDlg::Calendar1Click()
{
    if (Armed) {
        Timer1->start();
        Picked = true;
    } else {
        Armed = true;
    }
}

void TDateSDlg::Timer1Timer()
{
    Timer1->stop();
    if (Picked)
        accept();
}

void TDateSDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    guarded([this] { FormShow(); });
}

void TDateSDlg::FormShow()
{
    Timer1->stop();
    showCalendarPage();
    Armed = false;
    DateEdit->clear();
    Picked = false;
    Calendar1->setFocus(Qt::OtherFocusReason);
}

// Every way of closing passes here.
void TDateSDlg::done(int result)
{
    guarded([this] { FormCloseQuery(); });
    QDialog::done(result);
}

void TDateSDlg::FormCloseQuery()
{
    Timer1->stop();
    if (Picked)
        DateEdit->setText(sjis::decode(formatEraDate(Calendar1->selectedDate())));
}

// The focus entering the calendar arms it, so that one click picks a day.
// Entering only arms: Qt also reports the focus when the window becomes
// active again, and that must not pick.
bool TDateSDlg::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusIn)
        Armed = true;
    return QDialog::eventFilter(watched, e);
}
