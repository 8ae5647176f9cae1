#include "estimation/rolling_forecast.h"

namespace sf {

void RollingForecast(RunState&, RunObserver&, const std::function<void(int)>&) {}

}  // namespace sf
