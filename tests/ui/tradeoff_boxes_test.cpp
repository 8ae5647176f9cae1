#include "ui/tradeoff_boxes.h"

#include <QLocale>
#include <QTest>

namespace {

// What the boxes asked in one line: the target or why not, then the costs or why not.
QString Asked(const sf::ui::TradeoffQuestions& asked) {
    const sf::ResultsRequest& request = asked.request;
    const QString target =
        request.targetFillRate ? QString::number(*request.targetFillRate) : QString("-");
    const QString costs =
        request.costs ? QString("%1/%2").arg(request.costs->lostSale).arg(request.costs->returned)
                      : QString("-");
    return asked.targetProblem.value_or(target) + " | " + asked.costProblem.value_or(costs);
}

}  // namespace

class TradeoffBoxesTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // A box that cannot be answered says why and asks nothing; the others still ask.
    void theBoxesAskWhatTheyCanAndSayWhyNot_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("boxes");  // target, lost sale, return
        QTest::addColumn<QString>("asked");
        const QString target = "Target fill rate: \"%1\" is not a number above 0 and at most 1.";
        const QString both = "Give both costs to find the cheapest τ.";
        QTest::newRow("nothing typed") << "C" << QStringList{"", " ", ""} << "- | -";
        QTest::newRow("everything") << "C" << QStringList{" 0.9 ", "5", "1"} << "0.9 | 5/1";
        QTest::newRow("user's locale")
            << "de_DE" << QStringList{"0,96", "2,5", "0"} << "0.96 | 2.5/0";
        QTest::newRow("target no number")
            << "C" << QStringList{"abc", "", ""} << target.arg("abc") + " | -";
        QTest::newRow("target 0") << "C" << QStringList{"0", "5", "1"}
                                  << target.arg("0") + " | 5/1";
        QTest::newRow("target above 1")
            << "C" << QStringList{"1.5", "", ""} << target.arg("1.5") + " | -";
        QTest::newRow("one cost") << "C" << QStringList{"0.9", "", "1"} << "0.9 | " + both;
        QTest::newRow("one cost refused") << "C" << QStringList{"", "-1", ""} << "- | " + both;
        QTest::newRow("negative cost")
            << "C" << QStringList{"", "-1", "1"}
            << "- | Cost of a lost sale: \"-1\" is not a number from 0 to 1e15.";
        QTest::newRow("cost no number")
            << "C" << QStringList{"", "1", " x "}
            << "- | Cost of a return: \"x\" is not a number from 0 to 1e15.";
        QTest::newRow("cost too large")
            << "C" << QStringList{"", "1e308", "1e308"}
            << "- | Cost of a lost sale: \"1e308\" is not a number from 0 to 1e15.";
    }

    void theBoxesAskWhatTheyCanAndSayWhyNot() {
        QFETCH(QString, locale);
        QFETCH(QStringList, boxes);
        QFETCH(QString, asked);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(Asked(sf::ui::ReadTradeoffBoxes(boxes[0], boxes[1], boxes[2])), asked);
    }
};

QTEST_GUILESS_MAIN(TradeoffBoxesTest)
#include "tradeoff_boxes_test.moc"
