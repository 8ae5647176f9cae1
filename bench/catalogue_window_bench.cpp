// A catalogue history run through the Forecast form, as a user would: the file chosen in its
// dialog and read in the preview, Run pressed, and either the run's end or Stop after a while.
// Prints how long the preview's read and the run took and the window's peak memory, which must
// stay within what a desktop has while it holds the whole catalogue's demand and results.
//   catalogue_window_bench FILE [SECONDS]
// SECONDS stops the run after that long (default: run to the end). The boxes are those of the
// catalogue benchmark: S = 28, A = 56, no warm-up, H = 1, tau 1. Offscreen unless a platform is
// set.
#include <sys/resource.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "runtime/number_locale.h"
#include "ui/forecast_window.h"
#include "ui/history_preview_dialog.h"
#include "ui/message_sink.h"

namespace {

using Clock = std::chrono::steady_clock;

class PrintedMessages : public sf::ui::MessageSink {
  public:
    void ShowNotice(QWidget&, const QString&) override {}
    void ShowClosingMessage(QWidget&, const QString& text) override {
        std::printf("closing message: %s\n", qPrintable(text));
    }
    void ShowWarning(QWidget&, const QString& text) override {
        std::fprintf(stderr, "warning: %s\n", qPrintable(text));
    }
    bool Ask(QWidget&, const QString&) override { return false; }
    void ShowError(QWidget&, const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
};

// Waits for events, not on a spinning loop that would take a core from the run; a timer wakes
// it to look again.
void ProcessEventsUntil(const std::function<bool()>& done) {
    QTimer wake;
    wake.start(100);
    while (!done()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: catalogue_window_bench FILE [SECONDS]\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const double stopAfter = argc > 2 ? std::atof(argv[2]) : 0.0;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);  // the user's own window settings stay as they are
    sf::ui::ForecastWindow form(sf::ReadUserNumberLocale(), std::make_unique<PrintedMessages>());
    form.show();
    const std::pair<const char*, const char*> boxes[] = {
        {"periodsforinitialization", "28"},
        {"periodsforalphabeta", "56"},
        {"warmuptx", "0"},
        {"horizontx", "1"},
        {"tau_tx", "1"},
    };
    for (const auto& [name, text] : boxes) {
        form.findChild<QLineEdit*>(name)->setText(text);
    }

    form.findChild<QPushButton*>("UseSalesHistory")->click();
    QFileDialog* dialog = nullptr;
    ProcessEventsUntil(
        [&] { return (dialog = form.findChild<QFileDialog*>("SalesHistoryDialog")) != nullptr; });
    const Clock::time_point reading = Clock::now();
    dialog->selectFile(file);
    static_cast<QDialog*>(dialog)->accept();  // as its Open button does
    sf::ui::HistoryPreviewDialog* preview = nullptr;
    ProcessEventsUntil([&] {
        for (auto* open : form.findChildren<sf::ui::HistoryPreviewDialog*>()) {
            if (open->isVisible() &&
                open->findChild<QLabel*>("HistoryRefusal")->text() != "Reading...") {
                preview = open;
                return true;
            }
        }
        return false;
    });
    if (!preview->History()) {
        std::fprintf(stderr, "refused: %s\n",
                     qPrintable(preview->findChild<QLabel*>("HistoryRefusal")->text()));
        return 1;
    }
    std::printf("preview read in %.1f s, peak %.0f MB\n", SecondsSince(reading), PeakMegabytes());
    preview->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();

    auto* run = form.findChild<QPushButton*>("Run");
    const Clock::time_point started = Clock::now();
    run->click();
    bool stopped = false;
    ProcessEventsUntil([&] {
        if (!stopped && stopAfter > 0.0 && SecondsSince(started) >= stopAfter) {
            form.findChild<QPushButton*>("Stop")->click();
            stopped = true;
        }
        return run->isEnabled();
    });
    std::printf("run %s after %.1f s, peak %.0f MB\n", stopped ? "stopped" : "ended",
                SecondsSince(started), PeakMegabytes());
    return 0;
}
