#include "record_book/model/weights.h"

#include <gtest/gtest.h>

TEST(Weights, TheOneMissingFigureIsWorkedOut)
{
    struct Case {
        Weights before;
        std::optional<Weights> after;
    };
    const Case cases[] = {
        {{5, 0, 1100, 0}, Weights{5, 0, 1100, 1375}},
        {{2, 650, 0, 1960}, Weights{2, 650, 1200, 1960}},
        {{2, 0, 1200, 1960}, Weights{2, 0, 1200, 1310}},    // no load: the gross follows the rest
        {{2, 100, 1200, 1960}, Weights{2, 650, 1200, 1960}},  // a load: it follows the rest
        {{0, 650, 1200, 1960}, Weights{0, 650, 1200, 1960}},  // seats are never worked out
        {{5, 300, 0, 0}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(completedWeights(c.before), c.after) << c.before.seats << " " << c.before.vehicle;
}
