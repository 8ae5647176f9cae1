#include "ui/model_controls.h"

#include <algorithm>
#include <cstddef>

#include "state/box_keys.h"

namespace sf::ui {
namespace {

constexpr bool IsModelControl(std::string_view name) {
    return std::ranges::find(kModelControlNames, name) != kModelControlNames.end();
}

constexpr bool EveryParameterHasItsControl() {
    for (const DemandModelRow& row : kDemandModels) {
        for (const ModelParameter& parameter : row.parameters) {
            if (!parameter.label.empty() && !IsModelControl(parameter.label)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(EveryParameterHasItsControl(), "a parameter's label is missing from the handlers");
static_assert(IsModelControl(BoxOf(&RunInputs::p3).control), "the box p3 is missing from them");

// A model shows the labels of its parameters, and the box p3 when it reads it.
constexpr ModelControlsShown Shown(const DemandModelRow& row) {
    ModelControlsShown shown{};
    for (std::size_t at = 0; at < kModelControlNames.size(); ++at) {
        const std::string_view name = kModelControlNames[at];
        shown[at] = name == BoxOf(&RunInputs::p3).control
                        ? UsesP3(row.model)
                        : std::ranges::any_of(row.parameters, [name](const ModelParameter& p) {
                              return p.label == name;
                          });
    }
    return shown;
}

constexpr auto kShown = [] {
    std::array<ModelControlsShown, kDemandModels.size()> shown{};
    for (std::size_t at = 0; at < shown.size(); ++at) {
        shown[at] = Shown(kDemandModels[at]);
    }
    return shown;
}();

}  // namespace

const ModelControlsShown& ShownModelControls(DemandModel model) {
    return kShown[static_cast<std::size_t>(model)];
}

}  // namespace sf::ui
