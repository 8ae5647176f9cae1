#include "ui/totals_panel.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include "results_pages_test.h"
#include "run_scenarios.h"
#include "ui/run_charts.h"
#include "ui/screen_numbers.h"

using sf::Evaluation;
using sf::ui::TotalsPanel;

namespace {

class TotalsPanelTest : public PageSuite {
    Q_OBJECT

  private slots:
    // The totals lead as forecast over the sound sales points; the switch shows as reported.
    void theTotalsSayWhatTheyAreOverInEitherEvaluation() {
        reference_->Run(DivergingRun());
        const sf::ui::CompletedRun run = reference_->Completed();
        const sf::RunResults& reference = run.results;
        const int diverged = 10 - reference.figures.SoundCount();
        QVERIFY(diverged > 0);
        TotalsPanel panel;
        QSignalSpy chosen(&panel, &TotalsPanel::EvaluationChosen);
        panel.Present(run);
        QCOMPARE(panel.Shown(), Evaluation::asForecast);
        for (const Evaluation evaluation : {Evaluation::asForecast, Evaluation::asReported}) {
            QCOMPARE(panel.Choose(evaluation), evaluation != Evaluation::asForecast);
            panel.ShowTotals(reference);
            const sf::EvaluationFigures& figures = reference.figures.Of(evaluation);
            const QString description = Child<QLabel>(panel, "TotalsDescription").text();
            QVERIFY2(
                description.startsWith(sf::ui::EvaluationWords(evaluation), Qt::CaseInsensitive),
                qPrintable(description));
            QVERIFY2(
                description.contains(QString("periods %1 to %2, over %3 of 10 sales points: %4 "
                                             "diverged")
                                         .arg(figures.stretch.first)
                                         .arg(figures.stretch.last)
                                         .arg(10 - diverged)
                                         .arg(diverged)),
                qPrintable(description));
            QCOMPARE(Child<QLabel>(panel, "Fill rate").text(),
                     sf::ui::ScreenNumber(figures.sound.fillRate, sf::ui::kRateDecimals));
        }
        QVERIFY(Child<QRadioButton>(panel, "AsReported").isChecked());
        chosen.clear();
        Child<QRadioButton>(panel, "AsForecast").click();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen[0][0].value<Evaluation>(), Evaluation::asForecast);
    }

    // A run with nothing as forecast shows as reported, and the next run the user's choice.
    void aRunWithNothingAsForecastLeadsAsReportedAndTheChoiceComesBack() {
        Scenario covered = kSmallRun;
        covered["Periodnumber"] = "12";  // the windows cover every period
        reference_->Run(covered);
        const sf::ui::CompletedRun nothingAsForecast = reference_->Completed();
        reference_->Run(kSmallRun);
        const sf::ui::CompletedRun rolling = reference_->Completed();
        TotalsPanel panel;
        QRadioButton& asForecast = Child<QRadioButton>(panel, "AsForecast");
        panel.Present(nothingAsForecast);
        QCOMPARE(panel.Shown(), Evaluation::asReported);
        QVERIFY(!asForecast.isEnabled());
        QVERIFY(!panel.Choose(Evaluation::asForecast));
        panel.Present(rolling);
        QCOMPARE(panel.Shown(), Evaluation::asForecast);
        QVERIFY(asForecast.isEnabled() && asForecast.isChecked());
        QVERIFY(panel.Choose(Evaluation::asReported));
        panel.Present(rolling);
        QCOMPARE(panel.Shown(), Evaluation::asReported);
    }

    // The band shows while there are warnings; it offers bounded constants only where they
    // help and the run's demand can be drawn again, and not while a run is under way.
    void theBandOffersBoundedConstantsOnlyWhereTheyHelp_data() {
        QTest::addColumn<bool>("diverged");
        QTest::addColumn<bool>("bounded");
        QTest::addColumn<bool>("source");  // the run's demand can be drawn again
        QTest::addColumn<bool>("offered");
        QTest::newRow("diverged") << true << false << true << true;
        QTest::newRow("bounded already") << true << true << true << false;
        QTest::newRow("read from a folder") << true << false << false << false;
        QTest::newRow("nothing diverged") << false << false << true << false;
    }

    void theBandOffersBoundedConstantsOnlyWhereTheyHelp() {
        QFETCH(bool, diverged);
        QFETCH(bool, bounded);
        QFETCH(bool, source);
        QFETCH(bool, offered);
        sf::ui::CompletedRun run;
        run.record.warnings = {"first warning", "second warning"};
        run.record.notes = {"a note"};
        run.record.options.boundedConstants = bounded;
        if (diverged) {
            run.health.divergedSalesPoints = {3};
        }
        if (source) {
            run.sourceAtStart = sf::UniformSource();
        }
        TotalsPanel panel;
        QSignalSpy rerun(&panel, &TotalsPanel::BoundedRerunRequested);
        panel.ShowWarningsAndNotes(run);
        QVERIFY(Child<QWidget>(panel, "Band").isVisibleTo(&panel));
        QCOMPARE(Child<QLabel>(panel, "Warnings").text(),
                 QString("Warning: first warning\nsecond warning"));
        QCOMPARE(Child<QLabel>(panel, "Notes").text(), QString("Notes: a note"));
        QPushButton& button = Child<QPushButton>(panel, "BoundedRerun");
        QCOMPARE(button.isVisibleTo(&panel), offered);
        QVERIFY(button.isEnabled());
        panel.SetRunning(true);
        panel.ShowWarningsAndNotes(run);
        QVERIFY(!button.isEnabled());
        panel.SetRunning(false);
        panel.ShowWarningsAndNotes(run);
        button.click();
        QCOMPARE(rerun.size(), 1);

        run.record.warnings.clear();
        run.record.notes.clear();
        panel.ShowWarningsAndNotes(run);
        QVERIFY(!Child<QWidget>(panel, "Band").isVisibleTo(&panel));
        QVERIFY(!Child<QLabel>(panel, "Notes").isVisibleTo(&panel));
    }

    void numbersFollowTheUsersLocale() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        reference_->Run(kSmallRun);
        const sf::RunResults reference = ResultsOf(*reference_->state);
        TotalsPanel panel;
        panel.Present(reference_->Completed());
        const sf::Figures sound = reference.figures.Of(reference.Headline()).sound;
        QCOMPARE(Child<QLabel>(panel, "Fill rate").text(),
                 QLocale().toString(*sound.fillRate, 'f', 4));
        QVERIFY(Child<QLabel>(panel, "Fill rate").text().startsWith("0,"));
    }
};

}  // namespace

std::unique_ptr<QObject> TotalsPanelTests() {
    return std::make_unique<TotalsPanelTest>();
}

#include "totals_panel_test.moc"
