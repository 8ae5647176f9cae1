#include "ui/sales_points_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <memory>

#include "results_pages_test.h"
#include "run_scenarios.h"
#include "ui/run_charts.h"

using sf::ui::SalesPointsPage;

namespace {

class SalesPointsPageTest : public PageSuite {
    Q_OBJECT

  private slots:
    // Sorted and filtered by name, the table keeps every sales point's figures; the series of
    // the one selected are asked for once, when the page is in sight, and charted as it is.
    void theSelectedSalesPointsSeriesAreAskedForWhenShown() {
        reference_->Run(DivergingRun());
        auto results = std::make_shared<sf::RunResults>(ResultsOf(*reference_->state));
        results->series.names = {"Apple", "banana", "Cherry", "date", "Elder",
                                 "fig",   "Grape",  "kiwi",   "Lime", "mango"};
        std::vector<int> asked;
        const sf::ui::SalesPointSource source = [&](int salesPoint) {
            asked.push_back(salesPoint);
            // As a run of the sales point alone would give it: first in its results.
            auto alone = std::make_shared<sf::RunResults>(*results);
            std::swap(alone->series.salesPoints[0],
                      alone->series.salesPoints[std::size_t(salesPoint - 1)]);
            std::swap(alone->series.names[0], alone->series.names[std::size_t(salesPoint - 1)]);
            alone->figures.sound[0] = results->figures.sound[std::size_t(salesPoint - 1)];
            return sf::ui::SalesPointResults{alone, 1, {}};
        };
        const sf::Evaluation headline = results->Headline();
        SalesPointsPage page;
        page.ShowRun(*results, headline, source, "run 1");
        QVERIFY(asked.empty());  // not in sight
        page.show();
        QCOMPARE(asked, std::vector<int>{1});

        QTableView& table = Child<QTableView>(page, "SalesPointsTable");
        const QAbstractItemModel& rows = *table.model();
        QCOMPARE(rows.rowCount(), 10);  // the sales points alone, without "sound" and "all"
        const auto names = [&rows] {
            QStringList shown;
            for (int row = 0; row < rows.rowCount(); ++row) {
                shown << rows.index(row, 0).data().toString();
            }
            return shown;
        };
        int fillRate = 1;
        while (fillRate < rows.columnCount() &&
               rows.headerData(fillRate, Qt::Horizontal).toString().simplified() != "Fill rate") {
            ++fillRate;
        }
        table.sortByColumn(fillRate, Qt::DescendingOrder);
        for (int row = 1; row < rows.rowCount(); ++row) {
            QVERIFY(rows.index(row - 1, fillRate).data(sf::ui::kValueRole).toDouble() >=
                    rows.index(row, fillRate).data(sf::ui::kValueRole).toDouble());
        }

        QLineEdit& filter = Child<QLineEdit>(page, "SalesPointFilter");
        QTest::keyClicks(&filter, "AN");
        QCOMPARE(names().size(), 2);
        QVERIFY(names().contains("banana") && names().contains("mango"));
        QCOMPARE(Child<QLabel>(page, "SalesPointsCount").text(), QString("2 of 10 shown"));
        QCOMPARE(asked.size(), 1u);  // typing computes nothing
        QVERIFY(!table.currentIndex().isValid());

        const int mangoRow = names().indexOf("mango");
        table.setCurrentIndex(rows.index(mangoRow, 0));
        QCOMPARE(page.Selected(), 10);
        QCOMPARE(asked.back(), 10);
        const sf::ui::SalesPointCharts expected = sf::ui::ChartsOfRow(
            *results, {sf::ui::RowSubject::Kind::salesPoint, 10}, headline, "run 1");
        auto& demand = Child<sf::ui::ChartPanel>(page, "AloneDemandChart");
        QCOMPARE(demand.Title(), expected.demand.title);
        QVERIFY(demand.Title().startsWith("mango (sales point 10)"));
        QCOMPARE(demand.Points("Forecast"), expected.demand.curves[1].points);

        // Another evaluation asks for nothing again; a new run asks for its selection.
        const std::size_t before = asked.size();
        page.ShowEvaluation(*results, sf::Evaluation::asReported);
        QCOMPARE(asked.size(), before);
        QVERIFY(demand.Title().contains("as reported"));
        page.ShowRun(*results, headline, source, "run 2");
        QCOMPARE(asked.size(), before + 1);
        QVERIFY(demand.Title().endsWith("run 2"));
    }
};

}  // namespace

std::unique_ptr<QObject> SalesPointsPageTests() {
    return std::make_unique<SalesPointsPageTest>();
}

#include "sales_points_page_test.moc"
