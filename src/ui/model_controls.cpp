#include "ui/model_controls.h"

#include <cstddef>

namespace sf::ui {
namespace {

constexpr bool kShow = true;
constexpr bool kHide = false;

// Rows in the order of DemandModel; columns in the order of kModelControlNames.
constexpr std::array<ModelControlsShown, kDemandModelNames.size()> kShown = {{
    {kShow, kShow, kHide, kHide, kHide, kHide, kHide, kHide},  // loga
    {kShow, kShow, kHide, kHide, kHide, kHide, kHide, kHide},  // sqrot
    {kShow, kShow, kHide, kHide, kHide, kHide, kHide, kHide},  // linear
    {kShow, kShow, kHide, kHide, kShow, kHide, kShow, kHide},  // t_tplusn
    {kHide, kHide, kShow, kShow, kHide, kHide, kHide, kHide},  // meanAR1
    {kHide, kHide, kShow, kShow, kHide, kShow, kShow, kHide},  // AR1
    {kHide, kHide, kShow, kHide, kHide, kHide, kHide, kShow},  // Normal
}};

}  // namespace

const ModelControlsShown& ShownModelControls(DemandModel model) {
    return kShown[static_cast<std::size_t>(model)];
}

}  // namespace sf::ui
