#include "components/core/cp932.h"
#include "platform/clock.h"
#include "platform/modal.h"
#include "record_book/date_dialog.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

class DateDialogTest : public ::testing::Test {
protected:
    FixedClock clock{QDate(2024, 6, 15)};
    TDateSDlg dialog;

    QTableView* view() { return dialog.Calendar1->findChild<QTableView*>(); }

    // The cell of a day of the shown month: the grid also shows up to 6
    // days of the month before (23 and later) and up to 14 of the month
    // after, so early days are found from the top, late ones from the bottom.
    QPoint cellOf(int day)
    {
        QAbstractItemModel* model = view()->model();
        const int rows = model->rowCount();
        for (int r = 1; r < rows; ++r) {
            const int row = day < 15 ? r : rows - r;
            for (int col = 0; col < model->columnCount(); ++col) {
                const QModelIndex i = model->index(row, col);
                if (i.data().toInt() == day)
                    return view()->visualRect(i).center();
            }
        }
        ADD_FAILURE() << "no cell for day " << day;
        return {};
    }

    void clickDay(int day) { QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellOf(day)); }

    // Shows the dialog on `current` and runs `steps` while it is open.
    std::optional<SjisString> pick(const char* current, std::function<void()> steps)
    {
        ScriptedDialogs script;
        script.answer(QStringLiteral("DateSDlg"), [&](QDialog&) {
            steps();
            (void)QTest::qWaitFor([&] { return !dialog.isVisible(); }, 150);  // a pick closes the dialog 10 ms after
            return int(QDialog::Rejected);
        });
        return dialog.pickDate(sj(current));
    }

    QString label() const { return dialog.YearLabel->text(); }
    QDate shown() const { return dialog.Calendar1->selectedDate(); }
};

TEST_F(DateDialogTest, OneClickOnADayPicksIt)
{
    const auto picked = pick("平成１０年０４月０１日", [&] {
        EXPECT_EQ(label(), QStringLiteral("平成"));
        EXPECT_EQ(dialog.YearEdit->value(), 10);
        EXPECT_EQ(dialog.MonthEdit->value(), 4);
        view()->setFocus();
        clickDay(15);
    });
    EXPECT_EQ(picked, sj("平成１０年０４月１５日"));
}

TEST_F(DateDialogTest, ClosingWithoutAPickReturnsNothing)
{
    EXPECT_EQ(pick("平成１０年０４月０１日", [] {}), std::nullopt);
    // Esc after moving around picks nothing either.
    EXPECT_EQ(pick("", [&] {
                  QTest::keyClick(view(), Qt::Key_Right);
                  QTest::keyClick(&dialog, Qt::Key_Escape);
              }),
              std::nullopt);
    EXPECT_TRUE(dialog.DateEdit->text().isEmpty());
}

TEST_F(DateDialogTest, KeyboardMovesAndEnterPicks)
{
    const auto picked = pick("令和０６年０４月３０日", [&] {
        QTest::keyClick(view(), Qt::Key_Right);  // into May: the boxes follow
        EXPECT_EQ(dialog.MonthEdit->value(), 5);
        QTest::keyClick(view(), Qt::Key_Return);
    });
    EXPECT_EQ(picked, sj("令和０６年０５月０１日"));
}

TEST_F(DateDialogTest, YearBoxCarriesToTheNextAndPreviousEra)
{
    pick("明治０１年０１月１０日", [&] {
        dialog.YearEdit->setValue(45);
        EXPECT_EQ(label(), QStringLiteral("大正"));
        EXPECT_EQ(dialog.YearEdit->value(), 1);
        EXPECT_EQ(shown(), QDate(1912, 1, 10));
    });
    pick("平成０５年０１月１０日", [&] {
        dialog.YearEdit->setValue(0);
        EXPECT_EQ(label(), QStringLiteral("昭和"));
        EXPECT_EQ(dialog.YearEdit->value(), 63);
        EXPECT_EQ(shown(), QDate(1988, 1, 10));
    });
    pick("平成３０年０１月１０日", [&] {
        dialog.YearEdit->stepUp();
        EXPECT_EQ(label(), QStringLiteral("令和"));
        EXPECT_EQ(dialog.YearEdit->value(), 1);
        dialog.YearEdit->stepDown();
        EXPECT_EQ(label(), QStringLiteral("平成"));
        EXPECT_EQ(dialog.YearEdit->value(), 30);
    });
}

TEST_F(DateDialogTest, YearBoxKeepsTheCalendarInItsRange)
{
    pick("明治０１年０１月０１日", [&] {
        EXPECT_EQ(dialog.YearEdit->minimum(), 1);
        dialog.YearEdit->stepDown();
        EXPECT_EQ(shown(), QDate(1868, 1, 1));
    });
    pick("令和０６年０１月０１日", [&] {
        EXPECT_EQ(dialog.YearEdit->maximum(), 9999 - 2018);
        dialog.YearEdit->setValue(100000);
        EXPECT_EQ(shown().year(), 9999);
    });
}

TEST_F(DateDialogTest, ADayTheNewMonthOrYearLacksIsCorrectedFirst)
{
    pick("令和０６年０１月３１日", [&] {
        dialog.MonthEdit->setValue(2);
        EXPECT_EQ(shown(), QDate(2024, 2, 29));
        dialog.YearEdit->setValue(5);
        EXPECT_EQ(shown(), QDate(2023, 2, 28));
    });
    pick("令和０６年０３月３１日", [&] {
        dialog.MonthEdit->setValue(4);
        EXPECT_EQ(shown(), QDate(2024, 4, 30));
    });
}

TEST_F(DateDialogTest, ChangingYearOrMonthDisarmsTheCalendar)
{
    const auto picked = pick("令和０６年０１月１０日", [&] {
        view()->setFocus();  // entering the calendar armed it
        dialog.MonthEdit->setValue(3);
        clickDay(20);  // arms again, no pick
        QTest::qWait(30);
        EXPECT_TRUE(dialog.isVisible());
        clickDay(21);
    });
    EXPECT_EQ(picked, sj("令和０６年０３月２１日"));
}

TEST_F(DateDialogTest, ElementsTheCalendarCannotShowAreIgnored)
{
    dialog.setCalendarDate(2000, 5, 20);
    dialog.setCalendarDate(0, 13, 40);
    EXPECT_EQ(shown(), QDate(2000, 5, 1));
    dialog.setCalendarDate(1850, 2, 30);
    EXPECT_EQ(shown(), QDate(2000, 2, 1));
    dialog.setCalendarDate(2001, 6, 31);
    EXPECT_EQ(shown(), QDate(2001, 6, 1));
    // An unknown era uses up the year and month: its first number is the day.
    pick("慶応０３年０４月", [&] { EXPECT_EQ(shown(), QDate(2024, 6, 3)); });
}

TEST_F(DateDialogTest, TabPassesBetweenTheBoxesWithoutInputMethod)
{
    pick("", [&] {
        dialog.activateWindow();
        QApplication::setActiveWindow(&dialog);
        dialog.YearEdit->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(dialog.MonthEdit->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_TRUE(dialog.YearEdit->hasFocus());
        EXPECT_FALSE(dialog.YearEdit->testAttribute(Qt::WA_InputMethodEnabled));
        EXPECT_FALSE(dialog.MonthEdit->testAttribute(Qt::WA_InputMethodEnabled));
    });
}

}  // namespace
