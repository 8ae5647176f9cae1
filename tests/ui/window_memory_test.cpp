// What the window keeps between starts and the rule for running again on a run's demand.
#include "ui/window_memory.h"

#include <QTemporaryDir>
#include <QTest>

#include "runtime/number_locale.h"
#include "ui/same_demand.h"

using sf::ui::RecentKind;

class WindowMemoryTest : public QObject {
    Q_OBJECT

  private slots:
    void recentFilesKeepTheLatestFirstOnceEachAndAtMostEight() {
        QTemporaryDir folder;
        QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
        for (int file = 1; file <= 10; ++file) {
            sf::ui::AddRecentFile(settings, RecentKind::scenario,
                                  QString("/s/%1.sfscenario").arg(file));
        }
        sf::ui::AddRecentFile(settings, RecentKind::scenario, "/s/5.sfscenario");
        sf::ui::AddRecentFile(settings, RecentKind::salesHistory, "/h/sales.csv");
        const QStringList scenarios = sf::ui::RecentFiles(settings, RecentKind::scenario);
        QCOMPARE(scenarios.size(), sf::ui::kRecentFiles);
        QCOMPARE(scenarios.first(), QString("/s/5.sfscenario"));
        QCOMPARE(scenarios.count("/s/5.sfscenario"), 1);
        QCOMPARE(scenarios[1], QString("/s/10.sfscenario"));
        QCOMPARE(sf::ui::RecentFiles(settings, RecentKind::salesHistory),
                 QStringList{"/h/sales.csv"});
    }

    // A history opened again is read as it was last read: every choice is kept with its path,
    // for the recent histories and the file just read.
    void aHistoryKeepsTheChoicesItWasLastReadWith() {
        QTemporaryDir folder;
        QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
        sf::HistoryChoices chosen{sf::DecimalChoice::comma,
                                  sf::HeaderChoice::yes,
                                  sf::HistoryColumns{"Filiale", "2", "Menge"},
                                  sf::MissingRows::zero,
                                  sf::DateOrderChoice::monthFirst,
                                  sf::EncodingChoice::windows1252};
        QVERIFY(sf::ui::RememberedHistoryChoices(settings, "/h/monthly_de.csv") ==
                sf::HistoryChoices{});
        sf::ui::RememberHistoryChoices(settings, "/h/monthly_de.csv", chosen);
        sf::ui::AddRecentFile(settings, RecentKind::salesHistory, "/h/monthly_de.csv");
        QVERIFY(sf::ui::RememberedHistoryChoices(settings, "/h/monthly_de.csv") == chosen);
        QVERIFY(sf::ui::RememberedHistoryChoices(settings, "/h/other.csv") == sf::HistoryChoices{});
        // Once a history has left the recent ones, its choices go with it.
        for (int file = 1; file <= sf::ui::kRecentFiles; ++file) {
            const QString path = QString("/h/%1.csv").arg(file);
            sf::ui::RememberHistoryChoices(settings, path, {});
            sf::ui::AddRecentFile(settings, RecentKind::salesHistory, path);
        }
        sf::ui::RememberHistoryChoices(settings, "/h/9.csv", {});
        QVERIFY(
            !settings.value("recent/salesHistoryChoices").toMap().contains("/h/monthly_de.csv"));
    }

    // A form kept by another version, or edited by hand, gives the start state, not a fault.
    void aKeptFormThatNoLongerReadsIsForgotten() {
        QTemporaryDir folder;
        QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
        const sf::NumberLocale locale = sf::ReadUserNumberLocale();
        QVERIFY(!sf::ui::RememberedForm(settings, locale));
        sf::Scenario typed;
        typed.inputs.tau_tx = "0.5";
        typed.inputs.model = sf::DemandModel::AR1;
        sf::ui::RememberForm(settings, typed, locale);
        const std::optional<sf::Scenario> kept = sf::ui::RememberedForm(settings, locale);
        QVERIFY(kept && kept->inputs.tau_tx == "0.5" && kept->inputs.model == sf::DemandModel::AR1);
        settings.setValue("form/scenario", "{\"format\": 99}");
        QVERIFY(!sf::ui::RememberedForm(settings, locale));
    }

    void theSameDemandNeedsTheBoxesThatDecideIt_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("difference");  // empty: the same demand
        QTest::newRow("tau, horizon and windows do not decide it") << 0 << "";
        QTest::newRow("the model") << 1 << "the model (linear here, loga in that run)";
        QTest::newRow("a limit") << 2
                                 << "the second parameter's upper limit (4 here, 3 in that run)";
        QTest::newRow("a history against drawn demand")
            << 3 << "the demand (a sales history is in use here)";
        QTest::newRow("another history")
            << 4 << "the sales history (b.csv here, a.csv in that run)";
    }

    void theSameDemandNeedsTheBoxesThatDecideIt() {
        QFETCH(int, change);
        QFETCH(QString, difference);
        const auto drawn = [] {
            sf::RunInputs inputs;
            inputs.Endpointnumber = "4";
            inputs.Periodnumber = "30";
            inputs.p2low = "1";
            inputs.p2up = "3";
            return inputs;
        };
        sf::RunInputs earlier = drawn();
        sf::RunInputs typed = drawn();
        typed.tau_tx = "1.5";
        typed.horizontx = "2";
        typed.periodsforinitialization = "8";
        sf::SalesHistory history{"a.csv", "a.csv", 1, 2, {}, {3.0, 4.0}, {}, {}};
        switch (change) {
            case 1:
                typed.model = sf::DemandModel::linear;
                break;
            case 2:
                typed.p2up = "4";
                break;
            case 3:
                typed.history = history;
                break;
            case 4: {
                earlier.history = history;
                history.name = "b.csv";
                std::vector<double> demand = history.demand.Values();
                demand[1] = 5.0;
                history.demand = std::move(demand);
                typed.history = history;
                break;
            }
            default:
                break;
        }
        QCOMPARE(sf::ui::DemandDifference(typed, earlier).value_or(QString()), difference);
    }
};

QTEST_GUILESS_MAIN(WindowMemoryTest)
#include "window_memory_test.moc"
