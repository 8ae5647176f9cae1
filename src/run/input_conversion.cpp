#include "run/input_conversion.h"

#include <cmath>
#include <string>
#include <string_view>

#include "runtime/text_to_number.h"
#include "state/box_keys.h"
#include "state/period_stretches.h"

namespace sf {
namespace {

// A box for a whole number and the values a run can use. The three window lengths may add up
// to at most kMaxPeriods, with at least 1 initialisation period.
struct WholeNumberBox {
    std::string RunInputs::*text;
    int lowest;
    int highest;
};

constexpr WholeNumberBox kAlphaBetaPeriods{&RunInputs::periodsforalphabeta, 0, kMaxPeriods - 1};
constexpr WholeNumberBox kWarmUp{&RunInputs::warmuptx, -32768, 32767};
constexpr WholeNumberBox kInitPeriods{&RunInputs::periodsforinitialization, 1, kMaxPeriods};
constexpr WholeNumberBox kPeriods{&RunInputs::Periodnumber, 0, kMaxPeriods};
constexpr WholeNumberBox kSalesPoints{&RunInputs::Endpointnumber, 1, kMaxSalesPoints};
constexpr WholeNumberBox kHorizon{&RunInputs::horizontx, 0, kMaxPeriods - 1};

// Enough of a quoted text to recognise it; the message box stays small.
constexpr std::size_t kQuotedCharacters = 40;
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

[[noreturn]] void Reject(std::string_view label, std::string RunInputs::*box,
                         const std::string& problem) {
    throw InputError(std::string(label) + ": " + problem, box);
}

// The text in quotes, cut after kQuotedCharacters characters (not bytes: UTF-8 continuation
// bytes do not start a character).
std::string Quoted(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool startsCharacter = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == kQuotedCharacters) {
            return "\"" + std::string(text.substr(0, at)) + std::string(kEllipsis) + "\"";
        }
    }
    return "\"" + std::string(text) + "\"";
}

// True when the text would be a number written with the locale's decimal separator in place of
// its one "." or ",".
bool UsesTheOtherSeparator(std::string_view text, const NumberLocale& locale) {
    for (const std::string_view other : {".", ","}) {
        const std::size_t at = text.find(other);
        if (other == locale.decimalPoint || at == std::string_view::npos ||
            text.find(other, at + 1) != std::string_view::npos) {
            continue;
        }
        std::string mended(text);
        mended.replace(at, other.size(), locale.decimalPoint);
        if (TextToDouble(mended, locale)) {
            return true;
        }
    }
    return false;
}

std::string NotANumber(std::string_view text, const NumberLocale& locale) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        return "the box is empty";
    }
    const std::string_view reason = NotANumberReason(text, locale);
    std::string problem = Quoted(text) + " " + std::string(reason);
    if (reason == kNotANumber && UsesTheOtherSeparator(text, locale)) {
        problem += "; the decimal separator on this computer is \"" + locale.decimalPoint + "\"";
    }
    return problem;
}

std::string WholeNumberRange(const WholeNumberBox& box) {
    return "must be a whole number from " + std::to_string(box.lowest) + " to " +
           std::to_string(box.highest);
}

double ReadDouble(std::string_view label, std::string RunInputs::*box, const RunInputs& inputs,
                  const NumberLocale& locale) {
    const std::optional<double> value = TextToDouble(inputs.*box, locale);
    if (!value) {
        Reject(label, box, NotANumber(inputs.*box, locale));
    }
    return *value;
}

std::int16_t ReadInt16(const WholeNumberBox& box, const RunInputs& inputs,
                       const NumberLocale& locale) {
    const IntegerText value = TextToInt16(inputs.*box.text, locale);
    switch (value.status) {
        case IntegerTextStatus::notANumber:
            Reject(BoxOf(box.text).label, box.text, NotANumber(inputs.*box.text, locale));
        case IntegerTextStatus::outOfRange:
            Reject(BoxOf(box.text).label, box.text, WholeNumberRange(box));
        case IntegerTextStatus::ok:
            break;
    }
    return value.value;
}

void CheckRange(const WholeNumberBox& box, int value) {
    if (value < box.lowest || value > box.highest) {
        Reject(BoxOf(box.text).label, box.text, WholeNumberRange(box));
    }
}

// A limit box as the selected model names it: the heading of its column and the parameter
// beside its row (0 for p1, 1 for p2, 2 for p3).
std::string LimitLabel(std::string RunInputs::*box, std::size_t row, DemandModel model) {
    const ModelParameter& parameter = ModelRow(model).parameters[row];
    std::string name(parameter.letter);
    if (parameter.word != parameter.letter) {
        name += " (" + std::string(parameter.word) + ")";
    }
    const std::string_view heading = BoxOf(box).label;
    return heading.empty() ? name : std::string(heading) + " of " + name;
}

double ReadLimit(std::string RunInputs::*box, std::size_t row, const RunInputs& inputs,
                 const NumberLocale& locale) {
    return ReadDouble(LimitLabel(box, row, inputs.model), box, inputs, locale);
}

}  // namespace

void ConvertInputs(const RunInputs& inputs, const NumberLocale& locale, RunState& state) {
    state.alphaBetaPeriods = ReadInt16(kAlphaBetaPeriods, inputs, locale);
    state.warmUp = ReadInt16(kWarmUp, inputs, locale);
    state.initPeriods = ReadInt16(kInitPeriods, inputs, locale);
    state.periodNumber = inputs.history ? static_cast<std::int16_t>(inputs.history->periods)
                                        : ReadInt16(kPeriods, inputs, locale);
    state.tau = ReadDouble(BoxOf(&RunInputs::tau_tx).label, &RunInputs::tau_tx, inputs, locale);
    state.salesPointCount = inputs.history ? static_cast<std::int16_t>(inputs.history->salesPoints)
                                           : ReadInt16(kSalesPoints, inputs, locale);
    state.demandRecorded = inputs.history.has_value();
    // Demand read from a file has no model: its boxes are neither read nor checked.
    if (!inputs.history) {
        state.model = inputs.model;
        state.limits.p1low = ReadLimit(&RunInputs::p1low, 0, inputs, locale);
        state.limits.p1up = ReadLimit(&RunInputs::p1up, 0, inputs, locale);
        state.limits.p2low = ReadLimit(&RunInputs::p2low, 1, inputs, locale);
        state.limits.p2up = ReadLimit(&RunInputs::p2up, 1, inputs, locale);
        state.limits.p3 = UsesP3(inputs.model) ? ReadLimit(&RunInputs::p3, 2, inputs, locale) : 0.0;
    }
    state.horizon = ReadInt16(kHorizon, inputs, locale);

    // A parameter is the lower limit plus a share of the distance to the upper one: the
    // distance itself must be a number.
    if (!std::isfinite(state.limits.p1up - state.limits.p1low)) {
        Reject(LimitLabel(&RunInputs::p1up, 0, inputs.model), &RunInputs::p1up,
               "too far from the lower limit (the distance is too large for a number)");
    }
    if (!std::isfinite(state.limits.p2up - state.limits.p2low)) {
        Reject(LimitLabel(&RunInputs::p2up, 1, inputs.model), &RunInputs::p2up,
               "too far from the lower limit (the distance is too large for a number)");
    }

    CheckRange(kSalesPoints, state.salesPointCount);
    CheckRange(kPeriods, state.periodNumber);
    CheckRange(kInitPeriods, state.initPeriods);
    CheckRange(kAlphaBetaPeriods, state.alphaBetaPeriods);
    CheckRange(kHorizon, state.horizon);
    const int lastFittedPeriod = InitialFittingWindow(state).last;
    if (lastFittedPeriod > kMaxPeriods) {
        throw InputError(
            "The periods for initial mu and sigma, the periods for initial alpha and beta and "
            "the forecasting horizon add up to " +
                std::to_string(lastFittedPeriod) + "; together they must not exceed 600",
            kInitPeriods.text);
    }
}

}  // namespace sf
