#include "cli/results_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "results/request_rules.h"
#include "runtime/number_locale.h"
#include "runtime/text_to_number.h"

namespace sf {
namespace {

// Numbers of these options are read with a "." decimal point whatever the locale, so scripts
// run anywhere; they are no box of the window, which would read the locale's separator.
std::optional<double> Number(const std::string& text) {
    return TextToDouble(text, NumberLocale{});
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Refusal(const std::string& option, const NumberRule& rule, const std::string& value) {
    return option + " needs " + std::string(rule.wanted) + ", not " + Quoted(value);
}

// The targets a tau is sought for, each a share.
struct TargetOption {
    std::string_view option;
    const NumberRule& rule;
    std::optional<double> ResultsRequest::*target;
};

constexpr TargetOption kTargetOptions[] = {
    {"--target-fill-rate", kTargetFillRateRule, &ResultsRequest::targetFillRate},
    {"--target-service-level", kTargetServiceLevelRule, &ResultsRequest::targetServiceLevel},
};

}  // namespace

OptionUse TakeResultsOption(const std::string& option, const std::string& value,
                            ResultsCliOptions& options, std::string& problem) {
    if (option == "--export") {
        if (value.empty()) {
            problem = "--export needs a folder name";
            return OptionUse::refused;
        }
        options.exportFolder = value;
    } else if (option == "--tau-grid") {
        std::string why;
        const std::optional<TauGrid> grid = ParseTauGrid(value, why);
        if (!grid) {
            problem = "--tau-grid: " + why;
            return OptionUse::refused;
        }
        options.request.grid = *grid;
    } else if (const auto asked = std::ranges::find(kTargetOptions, option, &TargetOption::option);
               asked != std::end(kTargetOptions)) {
        const std::optional<double> target = Taken(asked->rule, Number(value));
        if (!target) {
            problem = Refusal(option, asked->rule, value);
            return OptionUse::refused;
        }
        options.request.*asked->target = target;
    } else if (option == "--lost-sale-cost" || option == "--return-cost") {
        const std::optional<double> cost = Taken(kOutcomeCostRule, Number(value));
        if (!cost) {
            problem = Refusal(option, kOutcomeCostRule, value);
            return OptionUse::refused;
        }
        (option == "--lost-sale-cost" ? options.lostSaleCost : options.returnCost) = cost;
    } else if (option == "--check-from") {
        int from = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), from);
        if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
            from < 1) {
            problem = "--check-from needs a period, a whole number from 1, not " + Quoted(value);
            return OptionUse::refused;
        }
        options.request.checkFrom = from;
    } else if (option == "--seed") {
        std::uint32_t seed = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seed);
        if (value.empty() || error != std::errc() || end != value.data() + value.size()) {
            problem = "--seed needs a whole number from 0 to 4294967295, not " + Quoted(value);
            return OptionUse::refused;
        }
        options.seed = seed;
    } else {
        return OptionUse::notMine;
    }
    return OptionUse::taken;
}

std::optional<std::string> FinishResultsOptions(ResultsCliOptions& options) {
    // One cost alone would leave every cost empty: a user who gives one means both.
    if (options.lostSaleCost.has_value() != options.returnCost.has_value()) {
        return "--lost-sale-cost and --return-cost go together: give both";
    }
    if (options.lostSaleCost) {
        options.request.costs = OutcomeCosts{*options.lostSaleCost, *options.returnCost};
    }
    return std::nullopt;
}

}  // namespace sf
