// Today's date. Everything that depends on the date asks today(), so tests
// fix the date with FixedClock.
#pragma once

#include <QDate>

// The local date, or the fixed one while a FixedClock lives.
QDate today();

class FixedClock {
public:
    explicit FixedClock(QDate date);
    ~FixedClock();  // the date of before (the real one, or an outer FixedClock's)
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    void set(QDate date);

private:
    QDate previous_;
};
