// SORVANI_CHECK(cond, message): a check of the code's own invariants. With
// checks on (every build but Release, see the top CMakeLists.txt) a false
// condition throws CheckFailure naming the condition, the message and the
// place; with checks off the condition is compiled but never evaluated.
//
// SORVANI_CHECK_ON_EXIT(statement) runs the statement when the enclosing
// scope is left by any return (not by an exception), so a function's checks
// hold on every way out of it.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace sorvani {

class CheckFailure : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

[[noreturn]] inline void checkFailed(const char* condition, std::string_view message, const char* file, int line)
{
    throw CheckFailure("check failed: " + std::string(message) + " (" + condition + ", " + file + ":" +
                       std::to_string(line) + ")");
}

template <class F> class CheckOnExit {
public:
    explicit CheckOnExit(F check) : check_(std::move(check)) {}
    CheckOnExit(const CheckOnExit&) = delete;
    CheckOnExit& operator=(const CheckOnExit&) = delete;
    ~CheckOnExit() noexcept(false)
    {
        if (std::uncaught_exceptions() == unwinding_)
            check_();
    }

private:
    F check_;
    int unwinding_ = std::uncaught_exceptions();
};

}  // namespace sorvani

#if defined(SORVANI_CHECKS) && SORVANI_CHECKS
#define SORVANI_CHECK(cond, message) \
    ((cond) ? static_cast<void>(0) : ::sorvani::checkFailed(#cond, (message), __FILE__, __LINE__))
#define SORVANI_CHECK_ON_EXIT(statement) \
    const ::sorvani::CheckOnExit sorvaniCheckOnExit_([&] { statement; })
#else
#define SORVANI_CHECK(cond, message) static_cast<void>(false && (cond))
#define SORVANI_CHECK_ON_EXIT(statement) static_cast<void>(0)
#endif
