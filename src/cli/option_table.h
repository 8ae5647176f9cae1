#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "state/demand_model.h"

namespace sf {

// What the command line gives before it is laid over the example or a scenario.
struct GivenOptions {
    CliOptions options;
    bool example = false;
    std::optional<DemandModel> model;
};

// Where --help lists an option.
enum class OptionGroup { boxes, run, results, program };

// An option of the batch command beyond the boxes, which kBoxKeys lists.
struct CliOption {
    std::string_view name;   // "--demand"
    std::string_view alias;  // a short form ("-h"), or empty
    std::string_view value;  // what --help calls its value ("FILE"); empty: it takes none
    OptionGroup group;
    // Its lines in --help after the option, continued lines split by '\n'; empty: the next
    // row's lines describe it too.
    std::string_view help;
    std::string (*helpOf)();  // where the help is made from other tables, instead of help
    // Takes the value of an option that has one; false, with the reason in problem, when it is
    // refused.
    bool (*take)(std::string_view name, const std::string& value, GivenOptions& given,
                 std::string& problem);
    bool& (*flag)(GivenOptions& given);  // what an option without a value sets
};

// Every option beyond the boxes, in the order --help lists them.
std::span<const CliOption> CliOptionTable();

// The option named so (or by its short form), or null.
const CliOption* FindCliOption(std::string_view name);

// The lines --help gives the options of a group, in the table's order.
std::string OptionLines(OptionGroup group);

// The options that say how a sales history is read, as a list in words.
std::string HistoryOptionNames();

}  // namespace sf
