#include "cli/option_suggestion.h"

#include <algorithm>
#include <numeric>

namespace sf {
namespace {

// The fewest letters added, left out or changed that turn one text into the other.
std::size_t EditDistance(std::string_view from, std::string_view to) {
    std::vector<std::size_t> row(to.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= from.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= to.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min(
                {row[j] + 1, row[j - 1] + 1, diagonal + (from[i - 1] == to[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[to.size()];
}

constexpr std::size_t kSlips = 2;

bool OptionLetter(char letter) {
    return (letter >= 'a' && letter <= 'z') || (letter >= '0' && letter <= '9') || letter == '-';
}

}  // namespace

std::optional<std::string> NearestOption(std::string_view typed,
                                         const std::vector<std::string>& options) {
    std::vector<std::string> starting;
    std::copy_if(options.begin(), options.end(), std::back_inserter(starting),
                 [typed](const std::string& option) {
                     return typed.size() > 2 && option.starts_with(typed);
                 });
    if (starting.size() == 1) {
        return starting.front();
    }
    std::optional<std::string> nearest;
    std::size_t least = kSlips + 1;
    bool tie = false;
    for (const std::string& option : options) {
        const std::size_t distance = EditDistance(typed, option);
        if (distance < least) {
            least = distance;
            nearest = option;
            tie = false;
        } else if (distance == least) {
            tie = true;
        }
    }
    return tie ? std::nullopt : nearest;
}

std::vector<std::string> OptionsNamedIn(std::string_view help) {
    std::vector<std::string> options;
    for (std::size_t at = help.find("--"); at != std::string_view::npos;
         at = help.find("--", at + 2)) {
        std::size_t end = at + 2;
        while (end < help.size() && OptionLetter(help[end])) {
            ++end;
        }
        const std::string option(help.substr(at, end - at));
        if (end > at + 2 && (at == 0 || help[at - 1] != '-') &&
            std::find(options.begin(), options.end(), option) == options.end()) {
            options.push_back(option);
        }
        at = end - 2;
    }
    return options;
}

}  // namespace sf
