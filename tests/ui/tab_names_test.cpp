#include "ui/tab_names.h"

#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "results_pages_test.h"

namespace {

class TabNamesTest : public QObject {
    Q_OBJECT

  private slots:
    // Full names where the bar has room for all of them, short ones where it has not, and back;
    // the tooltip and the name a file takes stay the full name, without its key's '&'.
    void shortNamesTakeOverWhereTheFullOnesDoNotFit() {
        QTabWidget tabs;
        const char* names[][2] = {{"&Demand, forecast and delivery", "&Demand and forecast"},
                                  {"Smoothing &constants", "&Constants"},
                                  {"&Trade-off over τ", "&Trade-off"},
                                  {"Sce&nario", "Sce&nario"}};
        for (const auto& [full, shortName] : names) {
            auto* page = new QLabel;
            sf::ui::SetTabNames(*page, full, shortName);
            tabs.addTab(page, QString());
        }
        tabs.resize(2000, 300);
        sf::ui::FitTabNames(tabs);
        const int fullWidth = tabs.tabBar()->sizeHint().width();
        for (const int width : {fullWidth, fullWidth - 1, 2000}) {
            tabs.resize(width, 300);
            sf::ui::FitTabNames(tabs);
            const bool full = width >= fullWidth;
            for (int tab = 0; tab < tabs.count(); ++tab) {
                QCOMPARE(tabs.tabText(tab), QString::fromUtf8(names[tab][full ? 0 : 1]));
                QCOMPARE(tabs.tabToolTip(tab), QString::fromUtf8(names[tab][0]).remove('&'));
                QCOMPARE(sf::ui::FullTabName(*tabs.widget(tab)), tabs.tabToolTip(tab));
            }
            QVERIFY(tabs.tabBar()->sizeHint().width() <= width);
        }
    }
};

}  // namespace

std::unique_ptr<QObject> TabNamesTests() {
    return std::make_unique<TabNamesTest>();
}

#include "tab_names_test.moc"
