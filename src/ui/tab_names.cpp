#include "ui/tab_names.h"

#include <QRegularExpression>
#include <QTabBar>
#include <QVariant>

namespace sf::ui {
namespace {

constexpr char kFullName[] = "sfFullTabName";
constexpr char kShortName[] = "sfShortTabName";

QString Without(QString name) {
    return name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

}  // namespace

void SetTabNames(QWidget& page, const char* full, const char* shortName) {
    page.setProperty(kFullName, QString::fromUtf8(full));
    page.setProperty(kShortName, QString::fromUtf8(shortName));
}

QString FullTabName(const QWidget& page) {
    return Without(page.property(kFullName).toString());
}

void FitTabNames(QTabWidget& tabs) {
    const auto name = [&tabs](int tab, const char* which) {
        return tabs.widget(tab)->property(which).toString();
    };
    // The full names' width, measured as the bar would lay them out.
    for (int tab = 0; tab < tabs.count(); ++tab) {
        tabs.setTabText(tab, name(tab, kFullName));
        tabs.setTabToolTip(tab, Without(name(tab, kFullName)));
    }
    if (tabs.tabBar()->sizeHint().width() <= tabs.width()) {
        return;
    }
    for (int tab = 0; tab < tabs.count(); ++tab) {
        tabs.setTabText(tab, name(tab, kShortName));
    }
}

}  // namespace sf::ui
