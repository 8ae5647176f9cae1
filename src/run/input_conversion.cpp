#include "run/input_conversion.h"

#include <algorithm>
#include <cmath>
#include <optional>
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

// The texts of one run, the locale they were typed in, and how its front end names a box.
struct BoxTexts {
    const RunInputs& inputs;
    const NumberLocale& locale;
    BoxNaming naming;
};

// The box as the front end names it. A limit box in the window is named as the selected model
// names it: the heading of its column and the parameter beside its row (0 for p1, 1 for p2, 2
// for p3).
std::string NameOf(std::string RunInputs::*box, const BoxTexts& texts,
                   std::optional<std::size_t> row = std::nullopt) {
    if (texts.naming == BoxNaming::options) {
        return OptionOf(BoxOf(box));
    }
    const std::string_view heading = BoxOf(box).label;
    if (!row) {
        return std::string(heading);
    }
    const ModelParameter& parameter = ModelRow(texts.inputs.model).parameters[*row];
    std::string name(parameter.letter);
    if (parameter.word != parameter.letter) {
        name += " (" + std::string(parameter.word) + ")";
    }
    return heading.empty() ? name : std::string(heading) + " of " + name;
}

[[noreturn]] void Reject(std::string RunInputs::*box, const BoxTexts& texts,
                         const std::string& problem,
                         std::optional<std::size_t> row = std::nullopt) {
    throw InputError(NameOf(box, texts, row) + ": " + problem, box);
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

// An empty box in the window; in the batch command an option left out, or given empty.
std::string NotANumber(std::string_view text, const BoxTexts& texts) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        return texts.naming == BoxNaming::options ? "empty or not given" : "the box is empty";
    }
    const std::string_view reason = NotANumberReason(text, texts.locale);
    std::string problem = Quoted(text) + " " + std::string(reason);
    if (reason == kNotANumber && UsesTheOtherSeparator(text, texts.locale)) {
        problem +=
            "; the decimal separator on this computer is \"" + texts.locale.decimalPoint + "\"";
    }
    return problem;
}

std::string WholeNumberRange(const WholeNumberBox& box) {
    return "must be a whole number from " + std::to_string(box.lowest) + " to " +
           std::to_string(box.highest);
}

double ReadDouble(std::string RunInputs::*box, const BoxTexts& texts,
                  std::optional<std::size_t> row = std::nullopt) {
    const std::optional<double> value = TextToDouble(texts.inputs.*box, texts.locale);
    if (!value) {
        Reject(box, texts, NotANumber(texts.inputs.*box, texts), row);
    }
    return *value;
}

std::int16_t ReadInt16(const WholeNumberBox& box, const BoxTexts& texts) {
    const IntegerText value = TextToInt16(texts.inputs.*box.text, texts.locale);
    switch (value.status) {
        case IntegerTextStatus::notANumber:
            Reject(box.text, texts, NotANumber(texts.inputs.*box.text, texts));
        case IntegerTextStatus::outOfRange:
            Reject(box.text, texts, WholeNumberRange(box));
        case IntegerTextStatus::ok:
            break;
    }
    return value.value;
}

void CheckRange(const WholeNumberBox& box, int value, const BoxTexts& texts) {
    if (value < box.lowest || value > box.highest) {
        Reject(box.text, texts, WholeNumberRange(box));
    }
}

// A box whose range is the periods a run state holds: 600, or a longer sales history's P.
WholeNumberBox ForPeriods(WholeNumberBox box, int capacity) {
    box.highest += capacity - kMaxPeriods;
    return box;
}

// The three windows' lengths together.
std::string WindowsTooLong(int lastFittedPeriod, int capacity, const BoxTexts& texts) {
    const std::string windows =
        texts.naming == BoxNaming::options
            ? NameOf(kInitPeriods.text, texts) + ", " + NameOf(kAlphaBetaPeriods.text, texts) +
                  " and " + NameOf(kHorizon.text, texts)
            : "The periods for initial mu and sigma, the periods for initial alpha and beta and "
              "the forecasting horizon";
    return windows + " add up to " + std::to_string(lastFittedPeriod) +
           "; together they must not exceed " + std::to_string(capacity);
}

}  // namespace

void ConvertInputs(const RunInputs& inputs, const NumberLocale& locale, BoxNaming naming,
                   RunState& state, SalesPointBlock block) {
    const BoxTexts texts{inputs, locale, naming};
    const int capacity = state.periodCapacity;
    const WholeNumberBox alphaBetaPeriods = ForPeriods(kAlphaBetaPeriods, capacity);
    const WholeNumberBox initPeriods = ForPeriods(kInitPeriods, capacity);
    const WholeNumberBox periods = ForPeriods(kPeriods, capacity);
    const WholeNumberBox horizon = ForPeriods(kHorizon, capacity);
    state.alphaBetaPeriods = ReadInt16(alphaBetaPeriods, texts);
    state.warmUp = ReadInt16(kWarmUp, texts);
    state.initPeriods = ReadInt16(initPeriods, texts);
    if (inputs.history && inputs.history->periods > capacity) {
        throw RunError("The sales history has " + std::to_string(inputs.history->periods) +
                       " periods; this run holds at most " + std::to_string(capacity));
    }
    state.periodNumber = inputs.history ? static_cast<std::int16_t>(inputs.history->periods)
                                        : ReadInt16(periods, texts);
    state.tau = ReadDouble(&RunInputs::tau_tx, texts);
    const int historySalesPoints =
        inputs.history ? (block.count > 0 ? block.count : inputs.history->salesPoints) : 0;
    state.salesPointCount =
        inputs.history
            ? static_cast<std::int16_t>(std::min(historySalesPoints, kMaxSalesPoints + 1))
            : ReadInt16(kSalesPoints, texts);
    state.demandRecorded = inputs.history.has_value();
    // Demand read from a file has no model: its boxes are neither read nor checked.
    if (!inputs.history) {
        state.model = inputs.model;
        state.limits.p1low = ReadDouble(&RunInputs::p1low, texts, 0);
        state.limits.p1up = ReadDouble(&RunInputs::p1up, texts, 0);
        state.limits.p2low = ReadDouble(&RunInputs::p2low, texts, 1);
        state.limits.p2up = ReadDouble(&RunInputs::p2up, texts, 1);
        state.limits.p3 = UsesP3(inputs.model) ? ReadDouble(&RunInputs::p3, texts, 2) : 0.0;
    }
    state.horizon = ReadInt16(horizon, texts);

    // A parameter is the lower limit plus a share of the distance to the upper one: the
    // distance itself must be a number.
    constexpr char kTooFar[] =
        "too far from the lower limit (the distance is too large for a number)";
    if (!std::isfinite(state.limits.p1up - state.limits.p1low)) {
        Reject(&RunInputs::p1up, texts, kTooFar, 0);
    }
    if (!std::isfinite(state.limits.p2up - state.limits.p2low)) {
        Reject(&RunInputs::p2up, texts, kTooFar, 1);
    }

    CheckRange(kSalesPoints, state.salesPointCount, texts);
    CheckRange(periods, state.periodNumber, texts);
    CheckRange(initPeriods, state.initPeriods, texts);
    CheckRange(alphaBetaPeriods, state.alphaBetaPeriods, texts);
    CheckRange(horizon, state.horizon, texts);
    const int lastFittedPeriod = InitialFittingWindow(state).last;
    if (lastFittedPeriod > capacity) {
        throw InputError(WindowsTooLong(lastFittedPeriod, capacity, texts), kInitPeriods.text);
    }
}

void CheckSeasonLength(int length, const RunInputs& inputs, const NumberLocale& locale,
                       BoxNaming naming, const RunState& state) {
    const BoxTexts texts{inputs, locale, naming};
    const std::string season = naming == BoxNaming::options
                                   ? "--season " + std::to_string(length)
                                   : "a season of " + std::to_string(length) + " periods";
    if (length == kNoSeason) {
        return;
    }
    if (!SeasonSet(length) || length > kMaxPeriods) {
        throw RunError("The season length must be 0 (none) or a whole number from 2 to " +
                       std::to_string(kMaxPeriods) + ", not " + std::to_string(length));
    }
    if (state.initPeriods < SeasonWindowNeeded(length)) {
        Reject(kInitPeriods.text, texts,
               std::to_string(state.initPeriods) + " periods are too few for " + season +
                   ": the season indices need at least " +
                   std::to_string(SeasonWindowNeeded(length)) +
                   " (two whole seasons and one period more)");
    }
}

}  // namespace sf
