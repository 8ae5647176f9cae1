#include "report/report_sections.h"

#include <gtest/gtest.h>

#include <memory>

#include "test_folder.h"

namespace sf {
namespace {

std::string WriteReport(RunState& state,
                        void (*write)(RunState&, ReportFile&, const NumberLocale&)) {
    TestFolder folder;
    ReportFile report(folder.Path("out.txt"));
    write(state, report, NumberLocale{});
    report.Close();
    return folder.Read("out.txt");
}

TEST(ReportSections, MatrixRowsAreCellsSeparatedBySingleSpaces) {
    auto state = std::make_unique<RunState>();
    state->salesPointCount = 3;
    state->periodNumber = 2;
    state->actualDemand(1, 1) = 7;
    state->actualDemand(2, 1) = 12;
    state->actualDemand(3, 1) = 123;
    state->actualDemand(1, 2) = -0.3;
    EXPECT_EQ(WriteReport(*state, WriteActualDemandMatrix),
              " \r\nActual demand matrix: sales points in columns, periods in rows\r\n"
              "07 12 123\r\n-00 00 00\r\n");
    EXPECT_EQ(state->period, 3);  // the counters end one past their last pass
    EXPECT_EQ(state->salesPoint, 4);
}

TEST(ReportSections, TheWholeLayoutAfterTheDemand) {
    auto state = std::make_unique<RunState>();
    state->salesPointCount = 1;
    state->periodNumber = 1;
    state->mu(1, 1) = 3.14159;
    state->sigma(1, 1) = 12.5;
    state->delivery(1, 1) = 7;
    state->alpha(1, 1) = 0.3;
    state->beta(1, 1) = -0.04;
    state->lostSaleSum[1] = 33;
    state->returnedSum[1] = 88.5;
    state->salesSum[1] = 669;
    state->totalSales = 669;
    state->totalReturn = 88.5;
    EXPECT_EQ(WriteReport(*state, WriteRemainingSections),
              " \r\nForecasts\r\n \r\nmu: sales points in columns, periods in rows\r\n03.14\r\n"
              " \r\nsigma: sales points in columns, periods in rows\r\n12.50\r\n"
              " \r\nDeliveries\r\n \r\nsales points in columns, periods in rows\r\n07\r\n"
              " \r\nParameters found\r\n \r\n"
              "alpha values used: sales points in columns, periods in rows\r\n0.30\r\n"
              " \r\nbeta values used: sales points in columns, periods in rows\r\n-0.04\r\n"
              " \r\nLost Sale, Return and Realized Sales\r\n"
              "Sales Point   Lost Sale     Return        Sales\r\n"
              " 1             33            88.5          669 \r\n"
              " \r\nTotal Sales:  669 \r\nTotal Lost Sale:  0 \r\nTotal Return:  88.5 \r\n");
}

TEST(ReportSections, NoPeriodsLeavesOnlyHeadings) {
    auto state = std::make_unique<RunState>();
    state->salesPointCount = 2;
    state->periodNumber = 0;
    EXPECT_EQ(WriteReport(*state, WriteActualDemandMatrix),
              " \r\nActual demand matrix: sales points in columns, periods in rows\r\n");
}

}  // namespace
}  // namespace sf
