#include "ui/number_table.h"

#include <QHeaderView>

#include "ui/figures_table_model.h"
#include "ui/screen_numbers.h"

namespace sf::ui {

QTableView* NumberTable(QStandardItemModel& model, const QString& name) {
    auto* table = new QTableView;
    table->setObjectName(name);
    table->setModel(&model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QStandardItem* NumberItem(const std::optional<double>& value, int decimals) {
    auto* item = new QStandardItem(ScreenNumber(value, decimals));
    if (value) {
        item->setData(*value, kValueRole);
    }
    item->setTextAlignment(Qt::AlignVCenter | Qt::AlignRight);
    return item;
}

}  // namespace sf::ui
