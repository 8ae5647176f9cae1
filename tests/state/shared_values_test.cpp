// A catalogue's history is copied into the form, the run's inputs and every listed run: the
// copies must share the demand, not multiply it, and still compare and read as values.
#include "state/shared_values.h"

#include <gtest/gtest.h>

#include "state/sales_history.h"

namespace sf {
namespace {

TEST(SharedValues, CopiesOfAHistoryShareItsDemandAndCompareByContents) {
    SalesHistory read;
    read.salesPoints = 2;
    read.periods = 2;
    read.demand = std::vector<double>{1.0, 2.0, 3.0, 4.0};
    const SalesHistory copy = read;
    EXPECT_EQ(copy.demand.data(), read.demand.data());
    EXPECT_EQ(copy.Demand(2, 1), 3.0);

    SalesHistory other = read;
    other.demand = std::vector<double>{1.0, 2.0, 3.0, 4.0};
    EXPECT_NE(other.demand.data(), read.demand.data());
    EXPECT_EQ(other, read);
    other.demand = std::vector<double>{1.0, 2.0, 3.0, 5.0};
    EXPECT_NE(other, read);
    EXPECT_EQ(read.Demand(2, 2), 4.0);  // the copy was rebuilt, not written through

    read.demand = {};  // releasing one holder leaves the others theirs
    EXPECT_TRUE(read.demand.empty());
    EXPECT_EQ(copy.demand.size(), 4U);
    EXPECT_NE(SharedValues<double>{}, copy.demand);
    EXPECT_EQ(SharedValues<double>{}, read.demand);
}

}  // namespace
}  // namespace sf
