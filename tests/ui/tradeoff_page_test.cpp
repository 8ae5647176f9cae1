#include "ui/tradeoff_page.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include "results/tau_answers.h"
#include "results_pages_test.h"
#include "run_scenarios.h"
#include "ui/screen_numbers.h"

using sf::ui::ChartPanel;
using sf::ui::TradeoffPage;

namespace {

// A page over the reference run's results that answers its boxes as the window does.
struct AnsweringPage {
    explicit AnsweringPage(sf::RunResults run) : results(std::move(run)) {
        QObject::connect(&page, &TradeoffPage::QuestionsChanged, [this] { Ask(); });
        Ask();
    }

    void Ask() {
        sf::AnswerRequest(results, page.Asked());
        page.ShowAnswers(results, results.Headline());
        page.Draw({{"run 1", &results}}, results.Headline(), "run 1");
    }

    sf::RunResults results;
    TradeoffPage page;
};

class TradeoffPageTest : public PageSuite {
    Q_OBJECT

  private slots:
    void theRunsTauIsMarkedAtItsTotalsAndATargetShowsTheEnginesTau() {
        reference_->Run(kSmallRun);
        const sf::RunResults reference = ResultsOf(*reference_->state);
        AnsweringPage answering(reference);
        const TradeoffPage& page = answering.page;
        const sf::Evaluation shown = reference.Headline();
        const sf::Figures& sound = reference.figures.Of(shown).sound;
        const ChartPanel& chart = Child<ChartPanel>(page, "TradeoffChart");
        const double tau = reference_->state->tau;
        QCOMPARE(chart.Points("This run: τ = 0.5"),
                 (QList<QPointF>{{tau, *sound.fillRate}, {tau, *sound.cycleServiceLevel}}));

        const sf::RunSeries& series = reference.series;
        const sf::SalesPointChoice& chosen = reference.figures.sound;
        const auto rows = sf::ComputeTradeoff(series, shown, chosen,
                                              sf::GridTaus(sf::TauGrid{}, tau), std::nullopt);
        const sf::TargetAnswer answer =
            sf::AnswerTarget(series, shown, chosen, rows, sf::kFillRateTarget, 0.9);
        QVERIFY(answer.tau);
        QTest::keyClicks(&Child<QLineEdit>(page, "TargetFillRate"), "0.9");
        const QString shownTau = sf::ui::ScreenShort(*answer.tau, sf::ui::kTauDecimals);
        QCOMPARE(chart.Points("Target 0.9: τ = " + shownTau),
                 QList<QPointF>{QPointF(*answer.tau, *answer.rate)});
        QVERIFY(Child<QLabel>(page, "TargetAnswer").text().startsWith("τ = " + shownTau));

        // The costs lead to the cheapest tau of the grid, drawn on the cost curve.
        QTest::keyClicks(&Child<QLineEdit>(page, "LostSaleCost"), "5");
        QVERIFY(Child<QLabel>(page, "CostAnswer").text().contains("Give both costs"));
        QTest::keyClicks(&Child<QLineEdit>(page, "ReturnCost"), "1");
        const auto cheapest = sf::CheapestTau(sf::ComputeTradeoff(
            series, shown, chosen, sf::GridTaus(sf::TauGrid{}, tau), sf::OutcomeCosts{5, 1}));
        QCOMPARE(chart.Points("Cheapest: τ = " + sf::ui::ScreenShort(cheapest->tau, 4)),
                 QList<QPointF>{QPointF(cheapest->tau, cheapest->cost)});
    }

    // A box that cannot be answered asks nothing and says why in red; the others still ask.
    void aBoxThatCannotBeAnsweredAsksNothing() {
        reference_->Run(kSmallRun);
        AnsweringPage answering(ResultsOf(*reference_->state));
        TradeoffPage& page = answering.page;
        Child<QLineEdit>(page, "TargetFillRate").setText("2");
        Child<QLineEdit>(page, "LostSaleCost").setText("5");
        Child<QLineEdit>(page, "ReturnCost").setText("1");
        const sf::ResultsRequest request = page.Asked();
        QVERIFY(!request.targetFillRate);
        QVERIFY(request.costs);
        const QLabel& target = Child<QLabel>(page, "TargetAnswer");
        QVERIFY2(target.text().contains("is not"), qPrintable(target.text()));
        QVERIFY(target.styleSheet().contains("color"));
        QVERIFY(Child<QLabel>(page, "CostAnswer").styleSheet().isEmpty());
    }

    void numbersFollowTheUsersLocale() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        reference_->Run(kSmallRun);
        AnsweringPage answering(ResultsOf(*reference_->state));
        QTest::keyClicks(&Child<QLineEdit>(answering.page, "TargetFillRate"), "0,96");
        const QString answer = Child<QLabel>(answering.page, "TargetAnswer").text();
        QVERIFY2(answer.contains(QRegularExpression("^τ = \\d,\\d+ reaches a fill rate of 0,9")),
                 qPrintable(answer));
    }
};

}  // namespace

std::unique_ptr<QObject> TradeoffPageTests() {
    return std::make_unique<TradeoffPageTest>();
}

#include "tradeoff_page_test.moc"
