// The date dialog: a month calendar under an era label with year and month
// boxes. One dialog, created at start-up, serves every date box of the
// program through pickDate.
#pragma once

#include "components/core/cp932.h"
#include "components/core/era_date.h"

#include <QDialog>
#include <optional>
#include <string_view>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimer;
class Panel;

class TDateSDlg : public QDialog {
    Q_OBJECT
public:
    explicit TDateSDlg(QWidget* parent = nullptr);

    // What every caller does: the calendar is set to the date `current`
    // reads as (CharToDate), the dialog is shown modally, and the date the
    // user picked comes back as stored era text (full-width digits);
    // nothing when the dialog closed without a pick.
    std::optional<SjisString> pickDate(std::string_view current);

    // Sets the calendar's day to 1, then its year, month and day; a value
    // the calendar cannot show (a year outside 1868-9999, a month outside
    // 1-12, a day outside the month) leaves that element as it was.
    void setCalendarDate(int year, int month, int day);

    Panel* Panel2;
    QLabel* YearLabel;
    QSpinBox* YearEdit;
    QSpinBox* MonthEdit;
    QCalendarWidget* Calendar1;
    QLineEdit* DateEdit;  // invisible: the picked date, empty when none
    QTimer* Timer1;

    void Calendar1Click();
    void YearEditChange();
    void MonthEditChange();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FormShow();
    void FormCloseQuery();
    void showEraYear(EraYear value);
    void showCalendarPage();
    void setCalendar(QDate date);

    int era_ = 0;         // the era YearLabel shows, index into eras()
    bool Picked = false;  // a day was picked: the dialog closes with a result
    bool Armed = false;   // the next calendar click picks
};

extern TDateSDlg* DateSDlg;
