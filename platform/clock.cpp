#include "platform/clock.h"

namespace {

QDate& fixedDate()
{
    static QDate d;  // invalid: the real clock
    return d;
}

}  // namespace

QDate today()
{
    return fixedDate().isValid() ? fixedDate() : QDate::currentDate();
}

FixedClock::FixedClock(QDate date) : previous_(fixedDate())
{
    fixedDate() = date;
}

FixedClock::~FixedClock()
{
    fixedDate() = previous_;
}

void FixedClock::set(QDate date)
{
    fixedDate() = date;
}
