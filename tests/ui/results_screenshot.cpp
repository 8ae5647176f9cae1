// Takes the picture of the results window for the README: a realistic run through the Forecast
// form, the results window as it opens, saved as PNG; or the whole screen, to see where the
// window opens and that it fits. Run it under Xvfb (see scripts/results-screenshot.sh) so that
// the real window system draws it.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "full_size_scenario.h"
#include "runtime/number_locale.h"
#include "state/box_keys.h"
#include "ui/forecast_window.h"
#include "ui/form_layout.h"
#include "ui/results_window.h"

namespace {

class Acknowledging : public sf::ui::MessageSink {
  public:
    void ShowNotice(QWidget&, const QString&) override {}
    void ShowClosingMessage(QWidget&, const QString&) override {}
    void ShowWarning(QWidget&, const QString&) override {}
    bool Ask(QWidget&, const QString&) override { return false; }
    void ShowError(QWidget&, const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
};

// 20 sales points over 120 periods with a logarithmic trend, tau 1.
const std::pair<const char*, std::string> kSmallBoxes[] = {
    {"Endpointnumber", "20"},
    {"Periodnumber", "120"},
    {"periodsforinitialization", "12"},
    {"periodsforalphabeta", "12"},
    {"warmuptx", "0"},
    {"horizontx", "1"},
    {"tau_tx", "1"},
    {"p1low", "10"},
    {"p1up", "30"},
    {"p2low", "1"},
    {"p2up", "3"},
};

// The full-size run, 100 sales points over 600 periods, H = 1, whose forecasts partly diverge.
std::vector<std::pair<const char*, std::string>> FullSizeBoxes() {
    const sf::RunInputs inputs = FullSizeInputs(kFullSizeModels[0], 1, "0.5");
    std::vector<std::pair<const char*, std::string>> boxes;
    for (const sf::BoxKey& box : sf::kBoxKeys) {
        boxes.emplace_back(box.control.data(), inputs.*box.text);
    }
    return boxes;
}

bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 60000) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: results_screenshot PICTURE.png [CHART TAB [small|full "
                     "[window|screen [ROW [HISTORY.csv SEASON]]]]]\n");
        return 2;
    }
    const bool full = argc > 3 && std::strcmp(argv[3], "full") == 0;
    const bool screen = argc > 4 && std::strcmp(argv[4], "screen") == 0;
    QApplication::setStyle(sf::ui::kFormStyle);
    sf::ui::ForecastWindow form(sf::ReadUserNumberLocale(), std::make_unique<Acknowledging>());
    form.show();
    const auto boxes = full ? FullSizeBoxes()
                            : std::vector<std::pair<const char*, std::string>>(
                                  std::begin(kSmallBoxes), std::end(kSmallBoxes));
    for (const auto& [name, text] : boxes) {
        form.findChild<QLineEdit*>(name)->setText(QString::fromStdString(text));
    }
    // A daily sales history with a weekday pattern, adjusted by its season.
    if (argc > 7) {
        if (!form.SalesHistory().UseFile(QString::fromLocal8Bit(argv[6]))) {
            return 1;
        }
        for (const auto& [name, text] :
             {std::pair("periodsforinitialization", "28"), std::pair("periodsforalphabeta", "14"),
              std::pair("tau_tx", "0.5")}) {
            form.findChild<QLineEdit*>(name)->setText(QString::fromUtf8(text));
        }
        form.SetSeasonLength(std::atoi(argv[7]));
    }
    form.findChild<QPushButton*>("Run")->click();
    sf::ui::ResultsWindow* results = nullptr;
    if (!WaitFor([&] {
            results = form.findChild<sf::ui::ResultsWindow*>();
            return results != nullptr && results->isVisible();
        })) {
        std::fprintf(stderr, "the results window did not open\n");
        return 1;
    }
    results->findChild<QLineEdit*>("TargetFillRate")->setText("0.95");
    results->findChild<QLineEdit*>("LostSaleCost")->setText("5");
    results->findChild<QLineEdit*>("ReturnCost")->setText("1");
    results->findChild<QLineEdit*>("TargetServiceLevel")->setText("0.9");
    auto* table = results->findChild<QTableView*>("FiguresTable");
    table->selectRow(argc > 5 ? std::atoi(argv[5]) : 6);
    results->findChild<QTabWidget*>("ChartTabs")
        ->setCurrentIndex(argc > 2 ? std::atoi(argv[2]) : 0);
    results->activateWindow();
    table->setFocus();
    WaitFor([] { return true; });
    QApplication::processEvents();
    const QPixmap picture = screen ? results->screen()->grabWindow(0) : results->grab();
    if (!picture.save(argv[1], "PNG")) {
        std::fprintf(stderr, "%s could not be written\n", argv[1]);
        return 1;
    }
    return 0;
}
