#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sf {

// Demand a planner recorded, read from a file to take the place of the demand models.
struct SalesHistory {
    std::string name;  // the file name without its folders, as the report names it
    // The file as the user gave it: no run may write over it.
    std::filesystem::path file;
    int salesPoints = 0;
    int periods = 0;
    // Sales points outer, periods inner: every value a finite number.
    std::vector<double> demand;

    double Demand(int salesPoint, int period) const {
        return demand[static_cast<std::size_t>(salesPoint - 1) * periods + (period - 1)];
    }
};

}  // namespace sf
