// How quickly the results window follows a full-size run (100 x 600, loga, H = 1) made through
// the Forecast form: from the acknowledgement of the closing message to the results window
// drawn (the first time it opens, and when a later run refreshes it), and from a new selection
// in its table to the window drawn again. Runs on the offscreen platform unless another is set.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include "full_size_scenario.h"
#include "runtime/number_locale.h"
#include "ui/forecast_window.h"
#include "ui/form_layout.h"
#include "ui/results_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Acknowledges at once and notes when the closing message was acknowledged.
class TimingMessages : public sf::ui::MessageSink {
  public:
    void ShowNotice(QWidget&, const QString&) override {}
    void ShowClosingMessage(QWidget&, const QString&) override { acknowledged = Clock::now(); }
    void ShowWarning(QWidget&, const QString&) override {}
    bool Ask(QWidget&, const QString&) override { return false; }
    void ShowError(QWidget&, const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }

    Clock::time_point acknowledged;
};

struct Form {
    TimingMessages* messages = nullptr;
    std::unique_ptr<sf::ui::ForecastWindow> window;
};

Form NewForm() {
    auto messages = std::make_unique<TimingMessages>();
    Form form{messages.get(), nullptr};
    form.window =
        std::make_unique<sf::ui::ForecastWindow>(sf::ReadUserNumberLocale(), std::move(messages));
    form.window->show();
    const sf::RunInputs inputs = FullSizeInputs(kFullSizeModels[0], 1, "0.5");
    const std::pair<const char*, const std::string&> boxes[] = {
        {"Endpointnumber", inputs.Endpointnumber},
        {"Periodnumber", inputs.Periodnumber},
        {"periodsforinitialization", inputs.periodsforinitialization},
        {"periodsforalphabeta", inputs.periodsforalphabeta},
        {"warmuptx", inputs.warmuptx},
        {"horizontx", inputs.horizontx},
        {"tau_tx", inputs.tau_tx},
        {"p1low", inputs.p1low},
        {"p1up", inputs.p1up},
        {"p2low", inputs.p2low},
        {"p2up", inputs.p2up},
    };
    for (const auto& [name, text] : boxes) {
        form.window->findChild<QLineEdit*>(name)->setText(QString::fromStdString(text));
    }
    return form;
}

void ProcessEventsUntil(const std::function<bool()>& done) {
    while (!done()) {
        QApplication::processEvents(QEventLoop::AllEvents);
    }
}

// One run through the form; the seconds from the acknowledgement to the results drawn.
double RunAndShow(Form& form) {
    form.window->findChild<QPushButton*>("Run")->click();
    ProcessEventsUntil([&] { return form.window->findChild<QPushButton*>("Run")->isEnabled(); });
    auto* results = form.window->findChild<sf::ui::ResultsWindow*>();
    QApplication::processEvents();
    results->repaint();
    return std::chrono::duration<double>(Clock::now() - form.messages->acknowledged).count();
}

void WindowOpens(benchmark::State& benchState) {
    for (auto _ : benchState) {
        Form form = NewForm();
        benchState.SetIterationTime(RunAndShow(form));
    }
}

void WindowRefreshes(benchmark::State& benchState) {
    Form form = NewForm();
    RunAndShow(form);
    for (auto _ : benchState) {
        benchState.SetIterationTime(RunAndShow(form));
    }
}

void NewSelection(benchmark::State& benchState) {
    Form form = NewForm();
    RunAndShow(form);
    auto* results = form.window->findChild<sf::ui::ResultsWindow*>();
    auto* table = results->findChild<QTableView*>("FiguresTable");
    int row = 0;
    for (auto _ : benchState) {
        row = (row + 1) % 100;
        table->setCurrentIndex(table->model()->index(row, 0));
        QApplication::processEvents();
        results->repaint();
    }
}

// The offscreen platform says at every window that it cannot raise it; the figures matter here.
void QuietAboutThePlatform(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (!message.startsWith(QStringLiteral("This plugin does not support"))) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(QuietAboutThePlatform);
    QApplication application(argc, argv);
    QApplication::setStyle(sf::ui::kFormStyle);
    QTemporaryDir folder;  // for the reports of the runs
    QDir::setCurrent(folder.path());

    auto timed = [](benchmark::internal::Benchmark* bench) {
        bench->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
    };
    timed(benchmark::RegisterBenchmark("results_window_opens", WindowOpens)
              ->Iterations(1)
              ->UseManualTime());
    timed(benchmark::RegisterBenchmark("results_window_refreshes", WindowRefreshes)
              ->Iterations(1)
              ->UseManualTime());
    timed(benchmark::RegisterBenchmark("new_selection_redrawn", NewSelection)->UseRealTime());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir::setCurrent(QDir::tempPath());
    return 0;
}
