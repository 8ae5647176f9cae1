#include "scenario/scenario_format.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "refusal_of.h"
#include "state/box_keys.h"

namespace sf {
namespace {

const NumberLocale kPoint{".", ""};
const NumberLocale kComma{",", "."};
const NumberLocale kArabic{"\u066B", "\u066C"};

// Every box a text of its own, odd ones included: blanks, a tab, quotes, a backslash, a
// decimal separator of another locale, an empty box, and a number as long as a box takes, its
// decimal separator the locale's.
Scenario EveryBoxDifferent(DemandModel model, bool bounded, const NumberLocale& locale) {
    const std::string separator = locale.decimalPoint;
    const std::string longest =
        std::string(kMaxBoxTextBytes - 2 - separator.size(), ' ') + "0" + separator + "5";
    const std::string texts[] = {
        "3",   " 24 ", "\t4",   "6",           "",     "1", "0" + separator + "5",
        "1e1", "-30",  "\"1\"", "a\\b \u066B", longest};
    Scenario scenario;
    for (std::size_t at = 0; at < kBoxKeys.size(); ++at) {
        scenario.inputs.*kBoxKeys[at].text = texts[at];
    }
    scenario.inputs.model = model;
    scenario.boundedConstants = bounded;
    scenario.seed = bounded ? 4294967295u : 0u;
    if (bounded) {
        HistoryChoices choices{DecimalChoice::comma,
                               HeaderChoice::no,
                               HistoryColumns{"Filiale \"Süd\"+Artikel", "2", "menge"},
                               MissingRows::zero,
                               DateOrderChoice::monthFirst,
                               EncodingChoice::windows1252,
                               LayoutChoice::longTable,
                               DuplicateRows::summed};
        scenario.history = HistorySource{"/home/anna/Verkäufe 2023.csv", choices};
    }
    return scenario;
}

TEST(ScenarioFormat, WhatIsWrittenInALocaleReadsBackToTheSameScenarioThere) {
    for (const NumberLocale& locale : {kPoint, kComma, kArabic}) {
        for (std::size_t model = 0; model < kDemandModelNames.size(); ++model) {
            for (const bool bounded : {false, true}) {
                Scenario written =
                    EveryBoxDifferent(static_cast<DemandModel>(model), bounded, locale);
                written.season = bounded ? 7 : 0;  // none is written as before, without a key
                const Scenario read = ParseScenario(ScenarioText(written, locale), locale);
                for (const BoxKey& box : kBoxKeys) {
                    EXPECT_EQ(read.inputs.*box.text, written.inputs.*box.text)
                        << box.key << " in " << locale.decimalPoint;
                }
                EXPECT_EQ(read.inputs.model, written.inputs.model);
                EXPECT_EQ(read.boundedConstants, bounded);
                EXPECT_EQ(read.seed, written.seed);
                EXPECT_EQ(read.history, written.history);
                EXPECT_EQ(read.season, written.season);
            }
        }
    }
}

TEST(ScenarioFormat, WritesTheNumbersWithAPointAndTheBoxesInTheFormsOrder) {
    Scenario scenario;
    scenario.inputs.Endpointnumber = "3";
    scenario.inputs.tau_tx = " 0,50";
    scenario.inputs.p2low = "1.5";  // no number in this locale: kept as typed
    scenario.inputs.p3 = "0,5,";
    scenario.inputs.model = DemandModel::AR1;
    scenario.seed = 7;
    EXPECT_EQ(ScenarioText(scenario, kComma), R"({
  "format": 2,
  "model": "AR1",
  "seed": 7,
  "boxes": {
    "sales-points": "3",
    "periods": "",
    "init-periods": "",
    "alpha-beta-periods": "",
    "warm-up": "",
    "horizon": "",
    "tau": " 0.50",
    "p1-low": "10",
    "p1-up": "30",
    "p2-low": "1.5",
    "p2-up": "",
    "p3": "0,5,"
  },
  "options": {
    "bounded-constants": false
  }
}
)");
}

// A box as a file gives it, as a reader in each locale is shown it: format 1 kept texts as
// typed; format 2 and JSON numbers write numbers with a ".".
TEST(ScenarioFormat, ABoxReadsInTheLocaleOfItsReader) {
    const struct {
        int format;
        std::string box;  // as JSON
        std::string point;
        std::string comma;
        std::string arabic;
    } cases[] = {
        {2, R"("0.5")", "0.5", "0,5", "0\u066B5"},
        {2, R"(" -1.25e-3 ")", " -1.25e-3 ", " -1,25e-3 ", " -1\u066B25e-3 "},
        {2, R"("0,5")", "0,5", "0,5", "0,5"},
        {2, R"("1.5.")", "1.5.", "1.5.", "1.5."},
        {2, R"("24")", "24", "24", "24"},
        {1, R"("0.5")", "0.5", "0.5", "0.5"},
        {1, R"("0,5")", "0,5", "0,5", "0,5"},
        {1, "0.5", "0.5", "0,5", "0\u066B5"},
        {2, "0.5", "0.5", "0,5", "0\u066B5"},
        {2, "3", "3", "3", "3"},
        {2, "-4", "-4", "-4", "-4"},
        {2, "1.0", "1", "1", "1"},
        {2, "-0.0", "-0", "-0", "-0"},
        {2, "0.1", "0.1", "0,1", "0\u066B1"},
        {2, "1E20", "1e+20", "1e+20", "1e+20"},
        {2, "2.5e-7", "2.5e-07", "2,5e-07", "2\u066B5e-07"},
        {2, "12345678901234567890", "12345678901234567890", "12345678901234567890",
         "12345678901234567890"},
    };
    for (const auto& c : cases) {
        const std::string file =
            R"({"format": )" + std::to_string(c.format) + R"(, "boxes": {"tau": )" + c.box + "}}";
        EXPECT_EQ(ParseScenario(file, kPoint).inputs.tau_tx, c.point) << file;
        EXPECT_EQ(ParseScenario(file, kComma).inputs.tau_tx, c.comma) << file;
        EXPECT_EQ(ParseScenario(file, kArabic).inputs.tau_tx, c.arabic) << file;
    }
}

TEST(ScenarioFormat, WhatAFileLeavesOutKeepsTheStartUpState) {
    for (const char* text : {R"({"format": 2, "boxes": {"tau": "0.5"}, "options": {}})",
                             R"({"format": 1, "boxes": {"tau": "0.5"}})"}) {
        const Scenario read = ParseScenario(text, kPoint);
        EXPECT_EQ(read.inputs.tau_tx, "0.5");
        EXPECT_EQ(read.inputs.p1low, "10");
        EXPECT_EQ(read.inputs.p1up, "30");
        EXPECT_EQ(read.inputs.Endpointnumber, "");
        EXPECT_EQ(read.inputs.model, DemandModel::loga);
        EXPECT_FALSE(read.boundedConstants);
        EXPECT_EQ(read.seed, kDefaultSeed);
    }
}

// run.json holds the scenario of its run beside much else; only the scenario is read.
TEST(ScenarioFormat, TheScenarioOfRunJsonIsReadAndNothingElse) {
    const Scenario read = ParseScenario(R"({
  "program": "Sales Forecast",
  "model": "AR1",
  "scenario": {"format": 2, "model": "Normal", "seed": 7, "boxes": {"tau": "0.5"},
               "options": {"bounded-constants": true}},
  "seed": 9,
  "boxes": {"tau": "2"},
  "warnings": ["x"]
})",
                                        kComma);
    EXPECT_EQ(read.inputs.model, DemandModel::Normal);
    EXPECT_EQ(read.seed, 7u);
    EXPECT_EQ(read.inputs.tau_tx, "0,5");
    EXPECT_TRUE(read.boundedConstants);
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
         "has \"format\" as a text; it must be a whole number"},
        {"format not whole", R"({"format": 1.0})",
         "has \"format\" as a number; it must be a whole number"},
        {"newer format", R"({"format": 3})",
         "is of format 3, written by a newer version of this program; this version reads "
         "formats 1 and 2"},
        {"unknown format", R"({"format": 0})",
         "is of format 0, which no version of this program wrote; this version reads formats 1 "
         "and 2"},
        {"unknown key", R"({"format": 2, "history": "s.csv"})",
         "has the unknown key \"history\"; a scenario holds format, model, seed, boxes, "
         "options, sales_history"},
        {"seed as text", R"({"format": 2, "seed": "7"})",
         "has \"seed\" as a text; it must be a whole number from 0 to 4294967295"},
        {"seed negative", R"({"format": 2, "seed": -1})",
         "has \"seed\" as -1; it must be a whole number from 0 to 4294967295"},
        {"seed too large", R"({"format": 2, "seed": 4294967296})",
         "has \"seed\" as 4294967296; it must be a whole number from 0 to 4294967295"},
        {"seed not whole", R"({"format": 2, "seed": 7.0})",
         "has \"seed\" as a number; it must be a whole number from 0 to 4294967295"},
        {"number too large", R"({"format": 2, "boxes": {"tau": 1e400}})",
         "is not JSON: number overflow parsing '1e400'"},
        {"run.json without a scenario", R"({"program": "Sales Forecast", "scenario": null})",
         "has \"scenario\" as null; it must be a scenario object in braces"},
        {"run.json with a bad scenario", R"({"scenario": {"format": 2, "model": "x"}})",
         "names the unknown model \"x\"; the models are loga, sqrot, linear, t_tplusn, "
         "meanAR1, AR1, Normal"},
        {"model as number", R"({"format": 1, "model": 3})",
         "has \"model\" as a number; it must be a model's name in quotes"},
        {"unknown model", R"({"format": 1, "model": "Poisson"})",
         "names the unknown model \"Poisson\"; the models are loga, sqrot, linear, t_tplusn, "
         "meanAR1, AR1, Normal"},
        {"boxes as list", R"({"format": 1, "boxes": ["3"]})",
         "has \"boxes\" as a list; it must be an object in braces"},
        {"box as list", R"({"format": 2, "boxes": {"tau": [0.5]}})",
         "has \"boxes.tau\" as a list; it must be a text in quotes, as typed in the box, or a "
         "number"},
        {"box as null", R"({"format": 1, "boxes": {"p3": null}})",
         "has \"boxes.p3\" as null; it must be a text in quotes, as typed in the box, or a "
         "number"},
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
         "has the unknown key \"options.seed\"; \"options\" holds bounded-constants, season"},
        {"season of 1", R"({"format": 2, "options": {"season": 1}})",
         "has \"options.season\" as 1; it must be 0 (none) or a whole number from 2 to 600"},
        {"season beyond the periods", R"({"format": 2, "options": {"season": 601}})",
         "has \"options.season\" as 601; it must be 0 (none) or a whole number from 2 to 600"},
        {"season as text", R"({"format": 2, "options": {"season": "7"}})",
         "has \"options.season\" as a text; it must be 0 (none) or a whole number from 2 to 600"},
        {"key twice", R"({"format": 1, "boxes": {"tau": "1", "tau": "2"}})",
         "has the key \"tau\" twice in one object"},
        {"control character in a key", "{\"format\": 1, \"a\\nb\": 1}",
         "has the unknown key \"a\\nb\"; a scenario holds format, model, seed, boxes, options, "
         "sales_history"},
        {"history without a path", R"({"format": 2, "sales_history": {"decimal": "comma"}})",
         "has no \"sales_history.path\": the sales history's file"},
        {"history's path as number", R"({"format": 2, "sales_history": {"path": 3}})",
         "has \"sales_history.path\" as a number; it must be a file name in quotes"},
        {"unknown decimal word",
         R"({"format": 2, "sales_history": {"path": "/a.csv", "decimal": "dot"}})",
         "has \"sales_history.decimal\" as \"dot\"; it must be auto, comma or point in quotes"},
        {"two columns",
         R"({"format": 2, "sales_history": {"path": "/a.csv", "columns": ["a", "b"]}})",
         "has \"sales_history.columns\" as a list; it must be a list of three texts: the columns "
         "of the names, periods and demand"},
        {"unknown history key", R"({"format": 2, "sales_history": {"path": "/a.csv", "sep": ";"}})",
         "has the unknown key \"sales_history.sep\"; \"sales_history\" holds path, decimal, "
         "header, columns, missing, date_order, encoding, layout, duplicates"},
        {"unknown layout word",
         R"({"format": 2, "sales_history": {"path": "/a.csv", "layout": "tall"}})",
         "has \"sales_history.layout\" as \"tall\"; it must be auto, wide, rows or long in "
         "quotes"},
    };
    for (const auto& [name, text, expected] : cases) {
        EXPECT_EQ(RefusalOf([&] { ParseScenario(text, kComma); }), expected) << name;
    }
}

// A box may hold any character, a NUL byte and an escape sequence included: the file holds them
// as JSON escapes, never raw, and gives them back whole.
TEST(ScenarioFormat, ControlCharactersInABoxAreWrittenEscapedAndReadBackWhole) {
    Scenario scenario;
    scenario.inputs.tau_tx = std::string("0.5\0; \x1B[31m\r", 12);
    const std::string text = ScenarioText(scenario, kPoint);
    EXPECT_NE(text.find(R"("tau": "0.5\u0000; \u001b[31m\r")"), std::string::npos) << text;
    EXPECT_EQ(std::ranges::count_if(text, [](char c) { return c >= 0 && c < ' ' && c != '\n'; }),
              0);
    EXPECT_EQ(ParseScenario(text, kPoint).inputs.tau_tx, scenario.inputs.tau_tx);
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
        EXPECT_EQ(RefusalOf([&] { ScenarioText(scenario, kPoint); }), expected);
    }
}

}  // namespace
}  // namespace sf
