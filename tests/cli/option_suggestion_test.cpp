#include "cli/option_suggestion.h"

#include <gtest/gtest.h>

#include "cli/cli_options.h"

namespace sf {
namespace {

TEST(OptionSuggestion, NearestOptionOfTheHelp) {
    const std::vector<std::string> options = OptionsNamedIn(CliUsage());
    for (const char* option : {"--tau", "--tau-grid", "--export", "--p1-up", "--help", "--next"}) {
        EXPECT_NE(std::find(options.begin(), options.end(), option), options.end()) << option;
    }
    const struct {
        const char* typed;
        const char* meant;  // empty: nothing near enough, or two as near
    } cases[] = {
        {"--exprot", "--export"},
        {"--sumary", "--summary"},
        {"--tua", "--tau"},
        {"--bounded-constant", "--bounded-constants"},
        {"--target-fill", "--target-fill-rate"},  // a unique prefix
        {"--target", ""},                         // two options start so, none is near
        {"--colour", ""},
        {"-x", ""},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> meant = NearestOption(c.typed, options);
        EXPECT_EQ(meant.value_or(""), c.meant) << c.typed;
    }
}

TEST(OptionSuggestion, TheRefusalOffersTheNearestOption) {
    std::string problem;
    EXPECT_FALSE(ParseCliOptions({"--exprot", "folder"}, problem));
    EXPECT_EQ(problem, "unknown option --exprot; did you mean --export?");
}

}  // namespace
}  // namespace sf
