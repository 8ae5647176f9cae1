#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace sf {

// The seven demand options, in the order in which a run tests them.
enum class DemandModel { loga, sqrot, linear, t_tplusn, meanAR1, AR1, Normal };

// A parameter of a model as the form shows it beside its row of limit boxes.
struct ModelParameter {
    std::string_view label;   // the form's label control; empty: the model has no such row
    std::string_view letter;  // what that label shows
    std::string_view word;    // the letter spelled out where Greek cannot be: "mu"
};

inline constexpr ModelParameter kNoParameter{};
inline constexpr ModelParameter kTrendLevel{"a_label", "a", "a"};
inline constexpr ModelParameter kTrendCoefficient{"c_label", "c", "c"};
inline constexpr ModelParameter kTrendN{"n_label", "n", "n"};
inline constexpr ModelParameter kMu{"mu_label", "μ", "mu"};
inline constexpr ModelParameter kPhi{"phi_label", "ψ", "phi"};
// The form has a sigma label on each of the two rows that may hold one.
inline constexpr ModelParameter kSigmaSecondRow{"sigma_label2", "σ", "sigma"};
inline constexpr ModelParameter kSigmaThirdRow{"sigma_label", "σ", "sigma"};

struct DemandModelRow {
    DemandModel model;
    std::string_view name;     // the option's name, as scenario files and --model call it
    std::string_view caption;  // the option's text in the window
    bool hasDemandMean;        // its demand is drawn around a mean the run keeps
    // Beside the rows p1 (low and up), p2 (low and up) and p3; a model without a third
    // parameter does not read p3.
    std::array<ModelParameter, 3> parameters;
};

inline constexpr std::array kDemandModels = std::to_array<DemandModelRow>({
    {.model = DemandModel::loga,
     .name = "loga",
     .caption = "Poisson demand with mean having logarithmic trend",
     .hasDemandMean = true,
     .parameters = {kTrendLevel, kTrendCoefficient, kNoParameter}},
    {.model = DemandModel::sqrot,
     .name = "sqrot",
     .caption = "Poisson demand with mean having trend with square root of time",
     .hasDemandMean = true,
     .parameters = {kTrendLevel, kTrendCoefficient, kNoParameter}},
    {.model = DemandModel::linear,
     .name = "linear",
     .caption = "Poisson demand with mean having linear trend",
     .hasDemandMean = true,
     .parameters = {kTrendLevel, kTrendCoefficient, kNoParameter}},
    {.model = DemandModel::t_tplusn,
     .name = "t_tplusn",
     .caption = "Poisson demand with mean having trend of multiple of t/(t+n)",
     .hasDemandMean = true,
     .parameters = {kTrendLevel, kTrendCoefficient, kTrendN}},
    {.model = DemandModel::meanAR1,
     .name = "meanAR1",
     .caption = "Poisson demand with mean following AR(1)",
     .hasDemandMean = true,
     .parameters = {kMu, kPhi, kNoParameter}},
    {.model = DemandModel::AR1,
     .name = "AR1",
     .caption = "AR(1) Process",
     .hasDemandMean = false,
     .parameters = {kMu, kPhi, kSigmaThirdRow}},
    {.model = DemandModel::Normal,
     .name = "Normal",
     .caption = "Normal demand",
     .hasDemandMean = false,
     .parameters = {kMu, kSigmaSecondRow, kNoParameter}},
});

constexpr bool RowsFollowTheModels() {
    for (std::size_t at = 0; at < kDemandModels.size(); ++at) {
        if (static_cast<std::size_t>(kDemandModels[at].model) != at) {
            return false;
        }
    }
    return true;
}
static_assert(RowsFollowTheModels(), "one row per model, in the order of DemandModel");

constexpr const DemandModelRow& ModelRow(DemandModel model) {
    return kDemandModels[static_cast<std::size_t>(model)];
}

inline constexpr auto kDemandModelNames = [] {
    std::array<std::string_view, kDemandModels.size()> names{};
    for (std::size_t at = 0; at < names.size(); ++at) {
        names[at] = kDemandModels[at].name;
    }
    return names;
}();

constexpr std::string_view DemandModelName(DemandModel model) {
    return ModelRow(model).name;
}

inline std::optional<DemandModel> DemandModelFromName(std::string_view name) {
    for (const DemandModelRow& row : kDemandModels) {
        if (row.name == name) {
            return row.model;
        }
    }
    return std::nullopt;
}

// A model with a third parameter reads the single box p3.
constexpr bool UsesP3(DemandModel model) {
    return !ModelRow(model).parameters[2].label.empty();
}

constexpr bool HasDemandMean(DemandModel model) {
    return ModelRow(model).hasDemandMean;
}

}  // namespace sf
