#include "estimation/brent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "recording_observer.h"

namespace sf {
namespace {

struct Search {
    double result = 0.0;
    std::vector<double> trials;
};

template <class Criterion>
Search Minimise(double ax, double bx, double cx, Criterion criterion, RecordingObserver& observer) {
    Search search;
    search.result = BrentMinimise(
        ax, bx, cx,
        [&](double x) {
            search.trials.push_back(x);
            return criterion(x);
        },
        observer);
    return search;
}

TEST(Sign, MagnitudeOfTheFirstWithTheSignOfTheSecond) {
    EXPECT_EQ(Sign(-3.0, 0.0), 3.0);
    EXPECT_EQ(Sign(-3.0, -0.0), 3.0);  // zero counts as positive
    EXPECT_EQ(Sign(3.0, -0.5), -3.0);
    EXPECT_EQ(Sign(-3.0, 2.0), 3.0);
}

TEST(Brent, AFlatCriterionWalksToTheLowerEndByGoldenSections) {
    RecordingObserver observer;
    const Search search = Minimise(
        0.0, 0.5, 1.0, [](double) { return 0.0; }, observer);
    ASSERT_EQ(search.trials.size(), 46u);  // the starting evaluation and 45 trials
    EXPECT_EQ(search.trials[0], 0.5);
    EXPECT_NEAR(search.trials[1], 0.309017, 1e-15);
    EXPECT_NEAR(search.result, 1.97e-10, 0.01e-10);
    EXPECT_TRUE(observer.notices.empty());
}

TEST(Brent, FindsASmoothMinimumWithoutEvaluatingThereAgain) {
    RecordingObserver observer;
    const Search search = Minimise(
        0.0, 0.5, 1.0, [](double x) { return (x - 0.3) * (x - 0.3); }, observer);
    EXPECT_NEAR(search.result, 0.3, 1e-9);
    EXPECT_LE(search.trials.size(), 101u);
    // The returned point is one of the trials, and not the last one evaluated twice.
    for (std::size_t at = 0; at + 1 < search.trials.size(); ++at) {
        for (std::size_t later = at + 1; later < search.trials.size(); ++later) {
            EXPECT_NE(search.trials[at], search.trials[later]);
        }
    }
}

TEST(Brent, TheBracketIsNotClippedToTheUnitInterval) {
    RecordingObserver observer;
    const Search search = Minimise(
        -0.05, 0.05, 0.15, [](double x) { return (x + 1.0) * (x + 1.0); }, observer);
    EXPECT_LT(search.result, 0.0);
    EXPECT_NEAR(search.result, -0.05, 1e-9);
    for (double trial : search.trials) {
        EXPECT_GE(trial, -0.05);
        EXPECT_LE(trial, 0.15);
    }
}

TEST(Brent, ASearchThatNeverConvergesShowsTheNoticeOnceAndKeepsItsBestPoint) {
    // Around 1e7 a step of 1e-10 is below the spacing of doubles: the bracket cannot shrink
    // to the tolerance, so every iteration is used.
    RecordingObserver observer;
    const Search search = Minimise(
        1e7 - 0.1, 1e7, 1e7 + 0.1, [](double x) { return x > 1e7 - 0.05 ? 1.0 : 0.0; }, observer);
    EXPECT_EQ(search.trials.size(), 101u);
    EXPECT_EQ(observer.notices, std::vector<std::string>{std::string(kBrentNotice)});
    EXPECT_LT(search.result, 1e7 - 0.05);  // the best point, not the middle of the bracket
}

}  // namespace
}  // namespace sf
