#include "ui/run_labels.h"

namespace sf::ui {

QLabel* TextLabel(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void FillPairs(QGridLayout& grid, const std::vector<DescriptionItem>& items, int pairsPerLine) {
    while (QLayoutItem* item = grid.takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int line = 0;
    int pair = 0;
    for (const DescriptionItem& item : items) {
        if (item.wide && pair > 0) {
            ++line;
            pair = 0;
        }
        auto* label = new QLabel(item.label + QStringLiteral(":"));
        auto* value = new QLabel(item.value);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setObjectName(item.label);
        if (item.wide) {
            // A long path or caption is cut at the window's edge rather than widening it; the
            // tooltip and a copy hold it whole.
            value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            value->setToolTip(item.value);
        }
        grid.addWidget(label, line, 2 * pair);
        grid.addWidget(value, line, 2 * pair + 1, 1, item.wide ? 2 * pairsPerLine - 1 : 1);
        if (item.wide || ++pair == pairsPerLine) {
            ++line;
            pair = 0;
        }
    }
}

}  // namespace sf::ui
