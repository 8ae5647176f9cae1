#include "demand/demand_generation.h"

namespace sf {

void GenerateDemand(RunState&, UniformSource&, ReportFile&, const NumberLocale&) {}

}  // namespace sf
