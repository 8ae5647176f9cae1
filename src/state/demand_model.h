#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace sf {

// The seven demand options, in the order in which a run tests them.
enum class DemandModel { loga, sqrot, linear, t_tplusn, meanAR1, AR1, Normal };

inline constexpr std::array<std::string_view, 7> kDemandModelNames = {
    "loga", "sqrot", "linear", "t_tplusn", "meanAR1", "AR1", "Normal"};

inline std::string_view DemandModelName(DemandModel model) {
    return kDemandModelNames[static_cast<std::size_t>(model)];
}

inline std::optional<DemandModel> DemandModelFromName(std::string_view name) {
    for (std::size_t at = 0; at < kDemandModelNames.size(); ++at) {
        if (kDemandModelNames[at] == name) {
            return static_cast<DemandModel>(at);
        }
    }
    return std::nullopt;
}

// The models whose demand is Poisson around a trend a + c g(t).
inline bool IsTrendModel(DemandModel model) {
    return model == DemandModel::loga || model == DemandModel::sqrot ||
           model == DemandModel::linear || model == DemandModel::t_tplusn;
}

// The models that read the single box p3: n of t/(t+n), sigma of the AR(1) process.
inline bool UsesP3(DemandModel model) {
    return model == DemandModel::t_tplusn || model == DemandModel::AR1;
}

}  // namespace sf
