#include <QApplication>
#include <memory>

#include "runtime/number_locale.h"
#include "ui/forecast_window.h"
#include "ui/form_layout.h"
#include "ui/message_sink.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(sf::ui::kApplicationName);
    QApplication::setStyle(sf::ui::kFormStyle);
    // After QApplication, which sets the process locale from the environment itself.
    sf::ui::ForecastWindow window(sf::ReadUserNumberLocale(),
                                  std::make_unique<sf::ui::DialogMessages>());
    window.show();
    return QApplication::exec();
}
