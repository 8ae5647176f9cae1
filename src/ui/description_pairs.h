#pragma once

#include <QGridLayout>
#include <vector>

#include "ui/run_description.h"

namespace sf::ui {

// Fills a grid with label and value pairs, pairsPerLine to a line; a wide item has its own. The
// value labels are named by their labels.
void FillPairs(QGridLayout& grid, const std::vector<DescriptionItem>& items, int pairsPerLine);

}  // namespace sf::ui
