#include "ui/next_deliveries_page.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <chrono>

#include "results/next_deliveries.h"
#include "results_pages_test.h"
#include "run_scenarios.h"
#include "runtime/period_dates.h"
#include "ui/figures_table_model.h"
#include "ui/screen_numbers.h"

using sf::ui::NextDeliveriesPage;

namespace {

class NextDeliveriesPageTest : public PageSuite {
    Q_OBJECT

  private slots:
    // The coming deliveries as the batch command gives them, at the tau of a target cycle
    // service level too, and copied as tab-separated rows.
    void theNextDeliveriesAreTheEnginesAndCopied() {
        reference_->Run(kSmallRun);
        sf::ResultsRequest request;
        request.targetServiceLevel = 0.8;
        const std::vector<sf::NextDelivery> next =
            sf::NextDeliveries(sf::ComputeResults(*reference_->state, request));
        QVERIFY(!next.empty());
        NextDeliveriesPage page;
        QSignalSpy changed(&page, &NextDeliveriesPage::TargetChanged);
        QLineEdit& target = *page.findChild<QLineEdit*>("TargetServiceLevel");
        const QAbstractItemModel& table =
            *page.findChild<QTableView*>("NextDeliveriesTable")->model();
        const auto cell = [&table](int row, int column) {
            return table.index(row, column).data(sf::ui::kValueRole);
        };
        for (const QString& typed : {QString("0.8"), QString(), QString("2")}) {
            target.setText(typed);
            sf::ResultsRequest asked;
            asked.targetServiceLevel = page.TargetServiceLevel();
            const sf::RunResults answered = sf::ComputeResults(*reference_->state, asked);
            page.Show(answered, sf::NextDeliveries(answered));
            QCOMPARE(table.rowCount(), static_cast<int>(next.size()));
            for (int row = 0; row < table.rowCount(); ++row) {
                const sf::NextDelivery& expected = next[static_cast<std::size_t>(row)];
                QCOMPARE(cell(row, 1).toInt(), expected.period);
                QCOMPARE(cell(row, 3).toDouble(), expected.forecast);
                QCOMPARE(cell(row, 5).toDouble(), expected.delivery.run);
                // The target service level's column, filled when the box is answered.
                QCOMPARE(cell(row, 7).isValid(), typed == "0.8");
                if (typed == "0.8") {
                    QCOMPARE(cell(row, 7).toDouble(), *expected.delivery.serviceLevel);
                }
            }
        }
        QCOMPARE(changed.size(), 3);
        QVERIFY(page.findChild<QLabel*>("ServiceLevelAnswer")->text().contains("is not"));

        target.setText("0.8");
        sf::ResultsRequest asked;
        asked.targetServiceLevel = page.TargetServiceLevel();
        const sf::RunResults answered = sf::ComputeResults(*reference_->state, asked);
        page.Show(answered, sf::NextDeliveries(answered));
        QTest::mouseClick(page.findChild<QPushButton*>("CopyDeliveries"), Qt::LeftButton);
        const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), table.rowCount() + 2);
        QVERIFY(lines[0].startsWith(
            "Sales point\tPeriod\tDecided at\tForecast\tSigma\tDelivery at the run's τ = 0.5\t"));
        QVERIFY(lines[0].endsWith("Proposal at the run's τ\tProposal from"));
        QCOMPARE(lines[1].split('\t')[7], sf::ui::FullNumber(*next[0].delivery.serviceLevel));
        QCOMPARE(lines[1].split('\t').last(), QString("run"));
        QVERIFY(lines.last().startsWith("Deliveries to decide now for period"));
        QVERIFY(lines.last().contains("0 from constants within 0 and 1"));
    }

    // A dated history names the coming periods by their dates, continued weekly past the last
    // one known, in the caption, in a last column and in the copy.
    void aDatedHistoryNamesTheComingPeriodsByTheirDates() {
        reference_->Run(kSmallRun);
        sf::RunResults results = sf::ComputeResults(*reference_->state, sf::ResultsRequest{});
        const std::chrono::sys_days first{std::chrono::year{2020} / 1 / 6};
        for (int t = 0; t < results.series.periodNumber; ++t) {
            results.series.dates.push_back(sf::IsoText(first + std::chrono::days{7 * t}));
        }
        const sf::PeriodStretch coming = results.series.comingPeriods;
        QVERIFY(!coming.Empty());
        const QString last =
            QString::fromStdString(sf::IsoText(first + std::chrono::days{7 * (coming.last - 1)}));
        NextDeliveriesPage page;
        page.Show(results, sf::NextDeliveries(results));
        const QString caption = page.findChild<QLabel*>("NextDeliveriesCaption")->text();
        QVERIFY2(caption.contains(QString("period %1 (%2)").arg(coming.last).arg(last)),
                 qPrintable(caption));
        const QAbstractItemModel& table =
            *page.findChild<QTableView*>("NextDeliveriesTable")->model();
        const int dateColumn = table.columnCount() - 1;
        QCOMPARE(table.headerData(dateColumn, Qt::Horizontal).toString(), QString("Date"));
        QCOMPARE(table.index(table.rowCount() - 1, dateColumn).data().toString(), last);
        QTest::mouseClick(page.findChild<QPushButton*>("CopyDeliveries"), Qt::LeftButton);
        QVERIFY(QApplication::clipboard()->text().split('\n')[1].endsWith('\t' + last));
    }
};

}  // namespace

std::unique_ptr<QObject> NextDeliveriesPageTests() {
    return std::make_unique<NextDeliveriesPageTest>();
}

#include "next_deliveries_page_test.moc"
