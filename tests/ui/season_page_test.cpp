#include "ui/season_page.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "results_pages_test.h"
#include "ui/season_dialog.h"

using sf::ui::SeasonDialog;
using sf::ui::SeasonPage;

namespace {

class SeasonPageTest : public QObject {
    Q_OBJECT

  private slots:
    // 0 is none and 2 or more a season; 1 keeps OK off with the reason beside it.
    void theDialogTakesNoneOrTwoAndMore() {
        SeasonDialog dialog(7);
        QSpinBox& length = *dialog.findChild<QSpinBox*>("SeasonLength");
        QPushButton& ok = *dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        const QLabel& problem = *dialog.findChild<QLabel*>("SeasonProblem");
        QCOMPARE(dialog.Length(), 7);
        for (const auto& [typed, accepted] :
             {std::pair(0, true), std::pair(1, false), std::pair(2, true), std::pair(12, true)}) {
            length.setValue(typed);
            QCOMPARE(ok.isEnabled(), accepted);
            QCOMPARE(problem.text().isEmpty(), accepted);
            QCOMPARE(dialog.Length(), typed);
        }
        // S holds at most 600 periods, and two seasons and one more.
        QCOMPARE(length.maximum(), 299);
    }

    // The selected sales point's indices by position; a run without a season, or a row of
    // several sales points, says why there is no chart.
    void thePageChartsTheSelectedSalesPointsIndices() {
        sf::RunSeries series;
        series.salesPoints.resize(2);
        SeasonPage page;
        page.show();
        const QLabel& note = *page.findChild<QLabel*>("SeasonNote");
        const QWidget& chart = *page.findChild<QWidget*>("SeasonChart");
        page.Show(series, 1, "run 1");
        QVERIFY(!chart.isVisible());
        QVERIFY(note.text().contains("no season"));

        series.season = {3, {{1.5, 1.5, 0.0}, {0.9, 1.2, 0.9}}};
        page.Show(series, 0, "run 1");
        QVERIFY(!chart.isVisible());
        page.Show(series, 2, "run 1");
        QVERIFY(chart.isVisible());
        const QList<QPointF> points = page.Chart().Points("season index");
        QCOMPARE(points.size(), 3);
        QCOMPARE(points[0], QPointF(1.0, 0.9));
        QCOMPARE(points[1], QPointF(2.0, 1.2));
        QVERIFY(page.Chart().Title().contains("2"));
    }
};

}  // namespace

std::unique_ptr<QObject> SeasonPageTests() {
    return std::make_unique<SeasonPageTest>();
}

#include "season_page_test.moc"
