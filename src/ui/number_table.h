#pragma once

#include <QStandardItem>
#include <QStandardItemModel>
#include <QString>
#include <QTableView>
#include <optional>

namespace sf::ui {

// A read-only table of numbers over its model, named for the tests and the help.
QTableView* NumberTable(QStandardItemModel& model, const QString& name);

// A number as the screen shows it, right-aligned, its full value kept under kValueRole.
QStandardItem* NumberItem(const std::optional<double>& value, int decimals);

}  // namespace sf::ui
