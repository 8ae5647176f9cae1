// Any bytes as a scenario file: reading never crashes or hangs, and a scenario it accepts is
// written and read back to the same scenario, byte for byte in its written form.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "scenario/scenario_format.h"

namespace {

[[noreturn]] void Fail(const char* problem, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", problem, detail.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string problem;
    const std::optional<sf::Scenario> scenario = sf::ParseScenario(text, problem);
    if (!scenario) {
        if (problem.empty()) {
            Fail("a refusal without a reason", std::string(text));
        }
        return 0;
    }
    const std::optional<std::string> written = sf::ScenarioText(*scenario, problem);
    if (!written) {
        Fail("an accepted scenario cannot be written", problem);
    }
    const std::optional<sf::Scenario> again = sf::ParseScenario(*written, problem);
    if (!again) {
        Fail("a written scenario is refused", problem);
    }
    if (sf::ScenarioText(*again, problem) != written) {
        Fail("a scenario changed on its way through a file", *written);
    }
    return 0;
}
