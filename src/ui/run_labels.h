#pragma once

#include <QGridLayout>
#include <QLabel>
#include <vector>

#include "ui/run_description.h"

namespace sf::ui {

// A label for a run's own text, such as a warning or an answer: wrapped, selectable and named.
QLabel* TextLabel(const QString& name);

// Fills a grid with label and value pairs, pairsPerLine to a line; a wide item has its own. The
// value labels are named by their labels.
void FillPairs(QGridLayout& grid, const std::vector<DescriptionItem>& items, int pairsPerLine);

}  // namespace sf::ui
