#include "run/input_conversion.h"

#include <cmath>
#include <string>
#include <string_view>

#include "runtime/run_error.h"
#include "runtime/text_to_number.h"

namespace sf {
namespace {

constexpr std::string_view kSalesPointsLabel = "Number of Sales Points";
constexpr std::string_view kPeriodsLabel = "Number of Periods";
constexpr std::string_view kInitPeriodsLabel =
    "# of periods used for estimating initial mu and sigma";
constexpr std::string_view kAlphaBetaPeriodsLabel =
    "# of periods used for estimating initial alpha and beta";
constexpr std::string_view kWarmUpLabel = "Warm-up period";
constexpr std::string_view kHorizonLabel = "Forecasting horizon";
constexpr std::string_view kTauLabel = "Tau (\xCF\x84)";

[[noreturn]] void Reject(std::string_view label, const std::string& problem) {
    throw RunError(std::string(label) + ": " + problem);
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

double ReadDouble(std::string_view label, std::string_view text, const NumberLocale& locale) {
    const std::optional<double> value = TextToDouble(text, locale);
    if (!value) {
        Reject(label, Quoted(text) + " is not a number");
    }
    return *value;
}

std::int16_t ReadInt16(std::string_view label, std::string_view text, const NumberLocale& locale) {
    const IntegerText value = TextToInt16(text, locale);
    switch (value.status) {
        case IntegerTextStatus::notANumber:
            Reject(label, Quoted(text) + " is not a number");
        case IntegerTextStatus::outOfRange:
            Reject(label, Quoted(text) + " is outside the whole numbers -32768 to 32767");
        case IntegerTextStatus::ok:
            break;
    }
    return value.value;
}

// The parameter names beside the limit rows, as the selected model shows them.
struct LimitLabels {
    std::string p1low, p1up, p2low, p2up, p3;
};

LimitLabels LimitLabelsFor(DemandModel model) {
    std::string first = "a", second = "c", third = "n";
    if (!IsTrendModel(model)) {
        first = "\xCE\xBC (mu)";
        second = model == DemandModel::Normal ? "\xCF\x83 (sigma)" : "\xCF\x88 (phi)";
        third = "\xCF\x83 (sigma)";
    }
    return {"Lower Limit of " + first, "Upper Limit of " + first, "Lower Limit of " + second,
            "Upper Limit of " + second, third};
}

}  // namespace

void ConvertInputs(const RunInputs& inputs, const NumberLocale& locale, RunState& state) {
    state.alphaBetaPeriods = ReadInt16(kAlphaBetaPeriodsLabel, inputs.periodsforalphabeta, locale);
    state.warmUp = ReadInt16(kWarmUpLabel, inputs.warmuptx, locale);
    state.initPeriods = ReadInt16(kInitPeriodsLabel, inputs.periodsforinitialization, locale);
    state.periodNumber = inputs.history ? static_cast<std::int16_t>(inputs.history->periods)
                                        : ReadInt16(kPeriodsLabel, inputs.Periodnumber, locale);
    state.tau = ReadDouble(kTauLabel, inputs.tau_tx, locale);
    state.salesPointCount = inputs.history
                                ? static_cast<std::int16_t>(inputs.history->salesPoints)
                                : ReadInt16(kSalesPointsLabel, inputs.Endpointnumber, locale);
    const LimitLabels labels = LimitLabelsFor(inputs.model);
    // Demand read from a file has no model: its boxes are neither read nor checked.
    if (!inputs.history) {
        state.model = inputs.model;
        state.limits.p1low = ReadDouble(labels.p1low, inputs.p1low, locale);
        state.limits.p1up = ReadDouble(labels.p1up, inputs.p1up, locale);
        state.limits.p2low = ReadDouble(labels.p2low, inputs.p2low, locale);
        state.limits.p2up = ReadDouble(labels.p2up, inputs.p2up, locale);
        state.limits.p3 = UsesP3(inputs.model) ? ReadDouble(labels.p3, inputs.p3, locale) : 0.0;
    }
    state.horizon = ReadInt16(kHorizonLabel, inputs.horizontx, locale);

    // A parameter is the lower limit plus a share of the distance to the upper one: the
    // distance itself must be a number.
    if (!std::isfinite(state.limits.p1up - state.limits.p1low)) {
        Reject(labels.p1up,
               "too far from the lower limit (the distance is too large for a number)");
    }
    if (!std::isfinite(state.limits.p2up - state.limits.p2low)) {
        Reject(labels.p2up,
               "too far from the lower limit (the distance is too large for a number)");
    }

    if (state.salesPointCount < 1 || state.salesPointCount > kMaxSalesPoints) {
        Reject(kSalesPointsLabel, "must be a whole number from 1 to 100");
    }
    if (state.periodNumber < 0 || state.periodNumber > kMaxPeriods) {
        Reject(kPeriodsLabel, "must be a whole number from 0 to 600");
    }
    if (state.initPeriods < 1) {
        Reject(kInitPeriodsLabel, "must be at least 1");
    }
    if (state.alphaBetaPeriods < 0) {
        Reject(kAlphaBetaPeriodsLabel, "must not be negative");
    }
    if (state.horizon < 0) {
        Reject(kHorizonLabel, "must not be negative");
    }
    const int lastFittedPeriod = state.initPeriods + state.alphaBetaPeriods + state.horizon;
    if (lastFittedPeriod > kMaxPeriods) {
        throw RunError(
            "The periods for initial mu and sigma, the periods for initial alpha and beta and "
            "the forecasting horizon add up to " +
            std::to_string(lastFittedPeriod) + "; together they must not exceed 600");
    }
}

}  // namespace sf
