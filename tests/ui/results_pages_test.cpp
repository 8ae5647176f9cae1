#include "results_pages_test.h"

#include <QApplication>
#include <QTest>

#include "ui/form_layout.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setStyle(sf::ui::kFormStyle);
    int failed = 0;
    for (const auto suite : {ChartPanelTests, FiguresPageTests, NextDeliveriesPageTests,
                             SalesPointsPageTests, SeasonPageTests, TotalsPanelTests, TabNamesTests,
                             TradeoffPageTests, WindowPlacementTests}) {
        const std::unique_ptr<QObject> tests = suite();
        failed += QTest::qExec(tests.get(), argc, argv);
    }
    return failed;
}
