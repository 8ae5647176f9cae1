#include "ui/figures_page.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "results/run_health.h"
#include "results/summary_columns.h"
#include "results_pages_test.h"
#include "run_scenarios.h"
#include "ui/screen_numbers.h"

using sf::ui::FiguresPage;

namespace {

class FiguresPageTest : public PageSuite {
    Q_OBJECT

  private slots:
    void theTableHoldsTheEnginesFiguresWithSoundAndAllLastInEitherOrder() {
        reference_->Run(kSmallRun);
        const sf::RunResults reference = ResultsOf(*reference_->state);
        FiguresPage page;
        page.ShowSalesPoints(reference, reference.Headline());
        QTableView& table = *page.findChild<QTableView*>("FiguresTable");
        const QAbstractItemModelTester tester(
            table.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const sf::EvaluationFigures& figures = reference.figures.Of(reference.Headline());
        QCOMPARE(table.model()->rowCount(), int(figures.salesPoints.size()) + 2);
        QCOMPARE(table.model()->columnCount(), int(sf::kSummaryColumns.size()) + 1);
        // The CSV's columns and the table's headings are the one list of columns after the
        // sales point.
        for (std::size_t column = 1; column <= sf::kSummaryColumns.size(); ++column) {
            const sf::SummaryColumn& listed = sf::kSummaryColumns[column - 1];
            const QString heading =
                table.model()->headerData(int(column), Qt::Horizontal).toString();
            QCOMPARE(heading.simplified(), QString::fromUtf8(listed.label));
        }
        const int salesPoints = int(figures.salesPoints.size());
        for (int row = 0; row < table.model()->rowCount(); ++row) {
            const bool sum = row >= salesPoints;
            const sf::Figures& expected = !sum ? figures.salesPoints[std::size_t(row)]
                                          : row == salesPoints ? figures.sound
                                                               : figures.all;
            QCOMPARE(table.model()->index(row, 0).data(sf::ui::kValueRole),
                     sum ? QVariant() : QVariant(double(row + 1)));
            for (int column = 1; column < table.model()->columnCount(); ++column) {
                const QVariant value = table.model()->index(row, column).data(sf::ui::kValueRole);
                const std::optional<double> figure =
                    sf::kSummaryColumns[std::size_t(column) - 1].value(expected);
                QCOMPARE(value.isValid(), figure.has_value());
                if (figure) {
                    QCOMPARE(value.toDouble(), *figure);
                }
            }
        }

        for (int column = 0; column < table.model()->columnCount(); ++column) {
            for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                table.sortByColumn(column, order);
                const int last = table.model()->rowCount() - 1;
                QCOMPARE(table.model()->index(last - 1, 0).data().toString(), QString("sound"));
                QCOMPARE(table.model()->index(last, 0).data().toString(), QString("all"));
                for (int row = 1; row < last - 1; ++row) {
                    const QVariant before =
                        table.model()->index(row - 1, column).data(sf::ui::kValueRole);
                    const QVariant after =
                        table.model()->index(row, column).data(sf::ui::kValueRole);
                    if (before.isValid() && after.isValid()) {
                        QVERIFY(order == Qt::AscendingOrder
                                    ? before.toDouble() <= after.toDouble()
                                    : before.toDouble() >= after.toDouble());
                    }
                }
            }
        }
    }

    // The diverged sales points are marked; in either evaluation the row "all" holds every
    // sales point's sums and no cell of a diverged row grows wider than a compact number.
    void theDivergedSalesPointsAreMarkedAndEveryCellStaysCompact() {
        reference_->Run(DivergingRun());
        const sf::RunHealth health = sf::AssessRunHealth(*reference_->state);
        QVERIFY(!health.divergedSalesPoints.empty());  // the scenario is meant to have some
        const sf::RunResults reference = ResultsOf(*reference_->state);
        FiguresPage page;
        const QAbstractItemModel& table = *page.findChild<QTableView*>("FiguresTable")->model();
        for (const sf::Evaluation evaluation :
             {sf::Evaluation::asForecast, sf::Evaluation::asReported}) {
            page.ShowSalesPoints(reference, evaluation);
            QCOMPARE(table.index(table.rowCount() - 1, 1).data(sf::ui::kValueRole).toDouble(),
                     reference.figures.Of(evaluation).all.demand);
            for (int row = 0; row < table.rowCount(); ++row) {
                for (int column = 0; column < table.columnCount(); ++column) {
                    const QString text = table.index(row, column).data().toString();
                    QVERIFY2(text.size() <= 14, qPrintable(text));
                }
            }
        }
        for (int row = 0; row + 2 < table.rowCount(); ++row) {
            const int salesPoint = table.index(row, 0).data(sf::ui::kValueRole).toInt();
            const bool diverged = std::count(health.divergedSalesPoints.begin(),
                                             health.divergedSalesPoints.end(), salesPoint) > 0;
            QCOMPARE(table.index(row, 0).data(Qt::DecorationRole).isValid(), diverged);
            QCOMPARE(table.index(row, 5).data(Qt::BackgroundRole).isValid(), diverged);
        }
    }

    // The row selected stays selected in the next run, within its sales points.
    void theSelectedRowIsKeptWhereTheNextRunHasIt() {
        reference_->Run(DivergingRun());
        const sf::RunResults ten = ResultsOf(*reference_->state);
        reference_->Run(kSmallRun);
        const sf::RunResults four = ResultsOf(*reference_->state);
        FiguresPage page;
        QSignalSpy selected(&page, &FiguresPage::RowSelected);
        page.ShowSalesPoints(ten, ten.Headline());
        QVERIFY(!selected.isEmpty());
        QCOMPARE(page.SelectedRow(), (sf::ui::RowSubject{sf::ui::RowSubject::Kind::salesPoint, 1}));
        QTableView& table = *page.findChild<QTableView*>("FiguresTable");
        table.selectRow(8);
        page.ShowSalesPoints(ten, ten.Headline());
        QCOMPARE(page.SelectedRow().number, 9);
        page.ShowSalesPoints(four, four.Headline());
        QCOMPARE(page.SelectedRow().number, 4);  // the last it has
        QCOMPARE(table.currentIndex().data(sf::ui::kValueRole).toInt(), 4);
        table.selectRow(4);  // "sound"
        page.ShowSalesPoints(ten, ten.Headline());
        QCOMPARE(page.SelectedRow().kind, sf::ui::RowSubject::Kind::sound);
        QCOMPARE(table.currentIndex().data().toString(), QString("sound"));
    }

    void theKeyboardSortsByTheCurrentColumnAndCopiesTheTable() {
        reference_->Run(kSmallRun);
        const sf::RunResults reference = ResultsOf(*reference_->state);
        FiguresPage page;
        page.ShowSalesPoints(reference, reference.Headline());
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        QTableView& table = *page.findChild<QTableView*>("FiguresTable");
        page.FocusTable();
        QTest::keyClick(&table, Qt::Key_Right);  // to the demand column
        QTest::keyClick(&table, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(table.horizontalHeader()->sortIndicatorSection(), 1);
        QCOMPARE(table.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        const auto& model = *table.model();
        QVERIFY(model.index(0, 1).data(sf::ui::kValueRole).toDouble() >=
                model.index(1, 1).data(sf::ui::kValueRole).toDouble());

        QSignalSpy copied(&page, &FiguresPage::Copied);
        QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(copied.size(), 1);
        const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), model.rowCount() + 1);
        QVERIFY(lines[0].startsWith("Sales point\tDemand\tSales\tLost sales\t"));
        QVERIFY(lines.last().startsWith("all\t"));
        const QStringList cells = lines[1].split('\t');  // as sorted
        QCOMPARE(cells.size(), model.columnCount());
        QCOMPARE(cells[1],
                 sf::ui::FullNumber(model.index(0, 1).data(sf::ui::kValueRole).toDouble()));
        QCOMPARE(cells[6],
                 sf::ui::FullNumber(model.index(0, 6).data(sf::ui::kValueRole).toDouble()));
    }
};

}  // namespace

std::unique_ptr<QObject> FiguresPageTests() {
    return std::make_unique<FiguresPageTest>();
}

#include "figures_page_test.moc"
