#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "runtime/number_locale.h"
#include "runtime/process_signals.h"
#include "ui/form_layout.h"
#include "ui/main_window.h"
#include "ui/message_sink.h"
#include "version/program_version.h"

namespace {

constexpr char kUsage[] = R"(Usage: sales-forecast [options] [SCENARIO]

Opens the Forecast window: type the inputs of a demand forecasting and replenishment
experiment, pick a demand model and press Run to write the report out.txt in the folder the
program was started from. SCENARIO, a scenario file saved by the File menu or by
sales-forecast-cli --save-scenario (or the run.json of an export), fills the window at start.

Options:
  -h, --help     print this help
  --version      print the program's name and version

The window also takes the options of its toolkit, such as -platform NAME and -style NAME.
)";

// --help and --version are answered before the window's application exists, so that they need
// no display.
std::optional<int> AnswerWithoutWindow(int argc, char** argv) {
    for (int at = 1; at < argc && std::strcmp(argv[at], "--") != 0; ++at) {
        if (std::strcmp(argv[at], "--help") == 0 || std::strcmp(argv[at], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[at], "--version") == 0) {
            std::printf("sales-forecast %s\n", sf::kProgramVersion);
            return 0;
        }
    }
    return std::nullopt;
}

bool Set(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// On a desktop of X11 or Wayland, a start without either has nothing to show the window on: the
// program says so in its own words, before the toolkit's advice to reinstall it. A platform
// chosen by option or variable is the user's, and is left to the toolkit.
bool NoDisplay(int argc, char** argv) {
#if defined(__linux__)
    for (int at = 1; at < argc; ++at) {
        if (std::strcmp(argv[at], "-platform") == 0 || std::strcmp(argv[at], "--platform") == 0) {
            return false;
        }
    }
    return !Set("QT_QPA_PLATFORM") && !Set("DISPLAY") && !Set("WAYLAND_DISPLAY");
#else
    (void)argc;
    (void)argv;
    return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = AnswerWithoutWindow(argc, argv)) {
        return *status;
    }
    if (NoDisplay(argc, argv)) {
        std::fputs(
            "sales-forecast: there is no display to open the window on: neither DISPLAY "
            "nor WAYLAND_DISPLAY is set. Start it from a desktop session, or use "
            "sales-forecast-cli, the batch command, which needs no display.\n",
            stderr);
        return 1;
    }
    sf::IgnoreFileSizeSignal();
    QApplication application(argc, argv);
    QApplication::setApplicationName(sf::ui::kApplicationName);
    QApplication::setApplicationVersion(QString::fromLatin1(sf::kProgramVersion));
    QApplication::setDesktopFileName(QStringLiteral(SALES_FORECAST_DESKTOP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(SALES_FORECAST_DESKTOP_ID)));
    QApplication::setStyle(sf::ui::kFormStyle);

    // What is left once the toolkit has taken its own options.
    QCommandLineParser parser;
    parser.addOption(QCommandLineOption(QStringList{"h", "help"}, "this text"));
    parser.addOption(QCommandLineOption(QStringLiteral("version"), "the version"));
    parser.addPositionalArgument("SCENARIO", "a scenario file to open");
    if (!parser.parse(QApplication::arguments()) || parser.positionalArguments().size() > 1) {
        const QString problem = parser.errorText().isEmpty()
                                    ? QStringLiteral("give at most one scenario file")
                                    : parser.errorText();
        std::fprintf(stderr,
                     "sales-forecast: %s\nTry 'sales-forecast --help' for more information.\n",
                     qPrintable(problem));
        return 2;
    }

    // After QApplication, which sets the process locale from the environment itself.
    sf::ui::MainWindow window(sf::ReadUserNumberLocale(),
                              std::make_unique<sf::ui::DialogMessages>());
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        // Once the window is up, so that a refusal has a window to stand over.
        QTimer::singleShot(0, &window, [&window, path = parser.positionalArguments().constFirst()] {
            window.OpenScenario(path);
        });
    }
    return QApplication::exec();
}
