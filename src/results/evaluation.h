#pragma once

#include <array>
#include <string_view>

namespace sf {

// The two ways the results judge a run's forecasts. as_reported takes the report's own
// deliveries over the outcome window S..P: their forecasts were replayed with constants fitted
// on all the demand, so they are in hindsight. as_forecast takes, over the rolling stretch, the
// forecasts known when each delivery had to be decided: what a planner could have done.
enum class Evaluation { asForecast, asReported };

// In the order of the export files' rows: the headline first.
inline constexpr std::array<Evaluation, 2> kEvaluations = {Evaluation::asForecast,
                                                           Evaluation::asReported};

inline constexpr std::string_view EvaluationName(Evaluation evaluation) {
    return evaluation == Evaluation::asForecast ? "as_forecast" : "as_reported";
}

// Where an evaluation's results are kept in arrays in kEvaluations' order.
inline constexpr std::size_t IndexOf(Evaluation evaluation) {
    return evaluation == Evaluation::asForecast ? 0 : 1;
}

}  // namespace sf
