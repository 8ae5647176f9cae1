#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sf {

// The option a mistyped one most likely meant: the one a unique prefix names, else the nearest
// within two typing slips (a letter added, left out or changed); none when no option is that
// near, or two are equally near.
std::optional<std::string> NearestOption(std::string_view typed,
                                         const std::vector<std::string>& options);

// The long options a help text names ("--tau", "--export"), each once, in their order.
std::vector<std::string> OptionsNamedIn(std::string_view help);

}  // namespace sf
