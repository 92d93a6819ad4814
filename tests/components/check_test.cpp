#include "components/core/check.h"

#include <gtest/gtest.h>

namespace {

int checkedOnReturn(int& checks, bool fail)
{
    SORVANI_CHECK_ON_EXIT(++checks);
    if (fail)
        throw std::runtime_error("failed");
    return 1;
}

TEST(Check, AFalseConditionThrowsWithItsMessageAndAScopeIsCheckedOnEveryReturn)
{
#if !(defined(SORVANI_CHECKS) && SORVANI_CHECKS)
    GTEST_SKIP() << "checks are off in this build";
#endif
    EXPECT_NO_THROW(SORVANI_CHECK(1 + 1 == 2, "arithmetic"));
    try {
        SORVANI_CHECK(1 + 1 == 3, "4: the current position lies in the view");
        ADD_FAILURE() << "no exception";
    } catch (const sorvani::CheckFailure& e) {
        EXPECT_NE(std::string(e.what()).find("4: the current position lies in the view"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("1 + 1 == 3"), std::string::npos);
    }
    int checks = 0;
    checkedOnReturn(checks, false);
    EXPECT_THROW(checkedOnReturn(checks, true), std::runtime_error);
    EXPECT_EQ(checks, 1);  // not while an exception leaves the scope
}

}  // namespace
