#pragma once

#include <array>
#include <string_view>

#include "state/demand_model.h"

namespace sf::ui {

// The labels and the box that name and hold the parameters of the selected model, in the order
// in which the option handlers set them.
inline constexpr std::array<std::string_view, 8> kModelControlNames = {
    "a_label", "c_label", "mu_label", "phi_label", "n_label", "sigma_label", "p3", "sigma_label2"};

using ModelControlsShown = std::array<bool, kModelControlNames.size()>;

// Which of those controls the model shows.
const ModelControlsShown& ShownModelControls(DemandModel model);

}  // namespace sf::ui
