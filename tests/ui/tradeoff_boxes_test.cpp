#include "ui/tradeoff_boxes.h"

#include <QLocale>
#include <QTest>

class TradeoffBoxesTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // A box that cannot be answered says why and asks nothing; the others still ask.
    void theBoxesAskWhatTheyCanAndSayWhyNot_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("boxes");    // target, lost sale, return
        QTest::addColumn<QString>("problems");     // of the target and of the costs, joined by |
        QTest::addColumn<double>("target");        // 0: none asked
        QTest::addColumn<double>("lostSaleCost");  // -1 for both: no costs asked
        QTest::addColumn<double>("returnCost");
        const struct {
            const char* row;
            const char* locale;
            QStringList boxes;
            const char* problems;
            double target;
            double lostSaleCost;
            double returnCost;
        } cases[] = {
            {"nothing typed", "C", {"", " ", ""}, "|", 0, -1, -1},
            {"everything", "C", {" 0.9 ", "5", "1"}, "|", 0.9, 5, 1},
            {"the user's locale", "de_DE", {"0,96", "2,5", "0"}, "|", 0.96, 2.5, 0},
            {"not a number",
             "C",
             {"abc", "", ""},
             "Target fill rate: \"abc\" is not a number above 0 and at most 1.|",
             0,
             -1,
             -1},
            {"target 0",
             "C",
             {"0", "5", "1"},
             "Target fill rate: \"0\" is not a number above 0 and at most 1.|",
             0,
             5,
             1},
            {"target above 1",
             "C",
             {"1.5", "", ""},
             "Target fill rate: \"1.5\" is not a number above 0 and at most 1.|",
             0,
             -1,
             -1},
            {"one cost",
             "C",
             {"0.9", "", "1"},
             "|Give both costs to find the cheapest τ.",
             0.9,
             -1,
             -1},
            {"one cost refused",
             "C",
             {"", "-1", ""},
             "|Give both costs to find the cheapest τ.",
             0,
             -1,
             -1},
            {"negative cost",
             "C",
             {"", "-1", "1"},
             "|Cost of a lost sale: \"-1\" is not a number of 0 or more.",
             0,
             -1,
             -1},
            {"cost no number",
             "C",
             {"", "1", " x "},
             "|Cost of a return: \"x\" is not a number of 0 or more.",
             0,
             -1,
             -1},
        };
        for (const auto& row : cases) {
            QTest::newRow(row.row) << QString(row.locale) << row.boxes << QString(row.problems)
                                   << row.target << row.lostSaleCost << row.returnCost;
        }
    }

    void theBoxesAskWhatTheyCanAndSayWhyNot() {
        QFETCH(QString, locale);
        QFETCH(QStringList, boxes);
        QFETCH(QString, problems);
        QFETCH(double, target);
        QFETCH(double, lostSaleCost);
        QFETCH(double, returnCost);
        QLocale::setDefault(QLocale(locale));
        const sf::ui::TradeoffQuestions asked =
            sf::ui::ReadTradeoffBoxes(boxes[0], boxes[1], boxes[2]);
        QCOMPARE(asked.targetProblem.value_or("") + "|" + asked.costProblem.value_or(""), problems);
        QCOMPARE(asked.request.targetFillRate.value_or(0), target);
        QCOMPARE(asked.request.costs ? asked.request.costs->lostSale : -1, lostSaleCost);
        QCOMPARE(asked.request.costs ? asked.request.costs->returned : -1, returnCost);
    }
};

QTEST_GUILESS_MAIN(TradeoffBoxesTest)
#include "tradeoff_boxes_test.moc"
