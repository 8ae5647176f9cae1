#include "scenario/scenario_format.h"

#include <gtest/gtest.h>

#include "refusal_of.h"
#include "state/box_keys.h"

namespace sf {
namespace {

// Every box a text of its own, odd ones included: blanks, a tab, quotes, a backslash, a
// decimal comma, an Arabic decimal separator and an empty box.
Scenario EveryBoxDifferent(DemandModel model, bool bounded) {
    Scenario scenario;
    const char* texts[] = {"3",   " 24 ", "\t4",   "6",           "", "1", "0,5",
                           "1e1", "-30",  "\"1\"", "a\\b \u066B", "5"};
    for (std::size_t at = 0; at < kBoxKeys.size(); ++at) {
        scenario.inputs.*kBoxKeys[at].text = texts[at];
    }
    scenario.inputs.model = model;
    scenario.boundedConstants = bounded;
    return scenario;
}

TEST(ScenarioFormat, WhatIsWrittenReadsBackToTheSameBoxesModelAndOptions) {
    for (std::size_t model = 0; model < kDemandModelNames.size(); ++model) {
        for (const bool bounded : {false, true}) {
            const Scenario written = EveryBoxDifferent(static_cast<DemandModel>(model), bounded);
            const Scenario read = ParseScenario(ScenarioText(written));
            for (const BoxKey& box : kBoxKeys) {
                EXPECT_EQ(read.inputs.*box.text, written.inputs.*box.text) << box.key;
            }
            EXPECT_EQ(read.inputs.model, written.inputs.model);
            EXPECT_EQ(read.boundedConstants, bounded);
        }
    }
}

TEST(ScenarioFormat, WritesTheBoxesInTheFormsOrderUnderTheirOptionNames) {
    Scenario scenario;
    scenario.inputs.Endpointnumber = "3";
    scenario.inputs.model = DemandModel::AR1;
    EXPECT_EQ(ScenarioText(scenario), R"({
  "format": 1,
  "model": "AR1",
  "boxes": {
    "sales-points": "3",
    "periods": "",
    "init-periods": "",
    "alpha-beta-periods": "",
    "warm-up": "",
    "horizon": "",
    "tau": "",
    "p1-low": "10",
    "p1-up": "30",
    "p2-low": "",
    "p2-up": "",
    "p3": ""
  },
  "options": {
    "bounded-constants": false
  }
}
)");
}

TEST(ScenarioFormat, WhatAFileLeavesOutKeepsTheStartUpState) {
    const Scenario read = ParseScenario(R"({"format": 1, "boxes": {"tau": "0.5"}, "options": {}})");
    EXPECT_EQ(read.inputs.tau_tx, "0.5");
    EXPECT_EQ(read.inputs.p1low, "10");
    EXPECT_EQ(read.inputs.p1up, "30");
    EXPECT_EQ(read.inputs.Endpointnumber, "");
    EXPECT_EQ(read.inputs.model, DemandModel::loga);
    EXPECT_FALSE(read.boundedConstants);
}

TEST(ScenarioFormat, ABadFileIsRefusedWithWhatIsWrong) {
    const std::string longText(kMaxBoxTextBytes + 1, '1');
    const struct {
        const char* name;
        std::string text;
        std::string problem;
    } cases[] = {
        {"empty", " \n", "is empty"},
        {"not JSON", "format = 1",
         "is not JSON: line 1, column 2: syntax error while parsing value - invalid literal; "
         "last read: 'fo'"},
        {"cut short", "{\"format\": 1,",
         "is not JSON: line 1, column 14: syntax error while parsing object key - unexpected "
         "end of input; expected string literal"},
        {"a list", "[1]", "holds a list, not a scenario object in braces"},
        {"no format", R"({"model": "loga"})", "has no \"format\", so it is not a scenario file"},
        {"format as text", R"({"format": "1"})",
         "has \"format\" as a text; it must be the whole number 1"},
        {"format not whole", R"({"format": 1.0})",
         "has \"format\" as a number; it must be the whole number 1"},
        {"newer format", R"({"format": 2})",
         "is of format 2, written by a newer version of this program; this version reads "
         "format 1"},
        {"unknown format", R"({"format": 0})",
         "is of format 0, which no version of this program wrote; this version reads format 1"},
        {"unknown key", R"({"format": 1, "seed": 7})",
         "has the unknown key \"seed\"; a scenario holds format, model, boxes, options"},
        {"model as number", R"({"format": 1, "model": 3})",
         "has \"model\" as a number; it must be a model's name in quotes"},
        {"unknown model", R"({"format": 1, "model": "Poisson"})",
         "names the unknown model \"Poisson\"; the models are loga, sqrot, linear, t_tplusn, "
         "meanAR1, AR1, Normal"},
        {"boxes as list", R"({"format": 1, "boxes": ["3"]})",
         "has \"boxes\" as a list; it must be an object in braces"},
        {"box as number", R"({"format": 1, "boxes": {"tau": 0.5}})",
         "has \"boxes.tau\" as a number; it must be a text in quotes, as typed in the box"},
        {"box as null", R"({"format": 1, "boxes": {"p3": null}})",
         "has \"boxes.p3\" as null; it must be a text in quotes, as typed in the box"},
        {"misspelt box", R"({"format": 1, "boxes": {"sales_points": "3"}})",
         "has the unknown key \"boxes.sales_points\"; \"boxes\" holds sales-points, periods, "
         "init-periods, alpha-beta-periods, warm-up, horizon, tau, p1-low, p1-up, p2-low, "
         "p2-up, p3"},
        {"box too long", R"({"format": 1, "boxes": {"tau": ")" + longText + "\"}}",
         "has a text longer than 1000 bytes in \"boxes.tau\""},
        {"options as text", R"({"format": 1, "options": "bounded"})",
         "has \"options\" as a text; it must be an object in braces"},
        {"option as text", R"({"format": 1, "options": {"bounded-constants": "true"}})",
         "has \"options.bounded-constants\" as a text; it must be true or false"},
        {"unknown option", R"({"format": 1, "options": {"seed": 7}})",
         "has the unknown key \"options.seed\"; \"options\" holds bounded-constants"},
        {"key twice", R"({"format": 1, "boxes": {"tau": "1", "tau": "2"}})",
         "has the key \"tau\" twice in one object"},
        {"control character in a key", "{\"format\": 1, \"a\\nb\": 1}",
         "has the unknown key \"a\\nb\"; a scenario holds format, model, boxes, options"},
    };
    for (const auto& [name, text, expected] : cases) {
        EXPECT_EQ(RefusalOf([&] { ParseScenario(text); }), expected) << name;
    }
}

TEST(ScenarioFormat, ABoxTextAFileCannotHoldIsNotWritten) {
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {"\xff", "cannot keep \"boxes.tau\": its text is not UTF-8"},
        {std::string(kMaxBoxTextBytes + 1, '1'),
         "cannot keep \"boxes.tau\": its text is longer than 1000 bytes"},
    };
    for (const auto& [text, expected] : cases) {
        Scenario scenario;
        scenario.inputs.tau_tx = text;
        EXPECT_EQ(RefusalOf([&] { ScenarioText(scenario); }), expected);
    }
}

}  // namespace
}  // namespace sf
