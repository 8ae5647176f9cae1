#include "scenario/scenario_file.h"

#include <gtest/gtest.h>

#include "refusal_of.h"
#include "scenario/scenario_format.h"
#include "test_folder.h"

namespace sf {
namespace {

TEST(ScenarioFile, ASavedScenarioOpensAgainAndReplacesAnEarlierFile) {
    TestFolder folder;
    folder.Write("s.json", "an earlier file");
    Scenario scenario;
    scenario.inputs.Endpointnumber = "7";
    scenario.inputs.model = DemandModel::Normal;
    scenario.boundedConstants = true;
    WriteScenarioFile(folder.Path("s.json"), scenario, {});
    const Scenario read = ReadScenarioFile(folder.Path("s.json"), {});
    EXPECT_EQ(read.inputs.Endpointnumber, "7");
    EXPECT_EQ(read.inputs.model, DemandModel::Normal);
    EXPECT_TRUE(read.boundedConstants);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("s.json.saving")));
}

TEST(ScenarioFile, ProblemsNameTheFile) {
    TestFolder folder;
    folder.Write("list.json", "[]");
    folder.Write("large.json", std::string(kMaxScenarioFileBytes + 1, ' '));
    const struct {
        std::filesystem::path path;
        std::string problem;
    } cases[] = {
        {folder.Path("missing.json"), "could not be read: No such file or directory"},
        {folder.Root(), "is a folder, not a file"},
        {folder.Path("list.json"), "holds a list, not a scenario object in braces"},
        {folder.Path("large.json"), "is larger than 1 MiB, far too large for a scenario"},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(RefusalOf([&] { ReadScenarioFile(path, {}); }),
                  "The scenario file \"" + path.string() + "\" " + expected);
    }
}

TEST(ScenarioFile, AFailedSaveLeavesNothingBehind) {
    TestFolder folder;
    folder.Write("s.json", "an earlier file");
    Scenario scenario;
    scenario.inputs.p3 = "\xfe";
    EXPECT_EQ(RefusalOf([&] { WriteScenarioFile(folder.Path("s.json"), scenario, {}); }),
              "The scenario file \"" + folder.Path("s.json").string() +
                  "\" cannot keep \"boxes.p3\": its text is not UTF-8");
    EXPECT_EQ(folder.Read("s.json"), "an earlier file");

    const std::filesystem::path nowhere = folder.Path("missing") / "s.json";
    EXPECT_EQ(RefusalOf([&] { WriteScenarioFile(nowhere, {}, {}); }),
              "The scenario file \"" + nowhere.string() +
                  "\" could not be created: No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("missing")));

    std::filesystem::create_directory(folder.Path("folder.json"));
    EXPECT_EQ(RefusalOf([&] { WriteScenarioFile(folder.Path("folder.json"), {}, {}); }),
              "The scenario file \"" + folder.Path("folder.json").string() +
                  "\" could not be created: Is a directory");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("folder.json.saving")));
}

}  // namespace
}  // namespace sf
