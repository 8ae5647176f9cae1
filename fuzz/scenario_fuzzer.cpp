// Any bytes as a scenario file, read in a locale with a "." and in one with a decimal comma:
// reading never crashes or hangs, and a scenario it accepts is written and read back to the
// same scenario, byte for byte in its written form.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/run_error.h"
#include "scenario/scenario_format.h"

namespace {

[[noreturn]] void Fail(const char* problem, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", problem, detail.c_str());
    std::abort();
}

void CheckRoundTrip(std::string_view text, const sf::NumberLocale& locale) {
    sf::Scenario scenario;
    try {
        scenario = sf::ParseScenario(text, locale);
    } catch (const sf::RunError& refusal) {
        if (std::string_view(refusal.what()).empty()) {
            Fail("a refusal without a reason", std::string(text));
        }
        return;
    }
    std::string written;
    try {
        written = sf::ScenarioText(scenario, locale);
    } catch (const sf::RunError& refusal) {
        Fail("an accepted scenario cannot be written", refusal.what());
    }
    sf::Scenario again;
    try {
        again = sf::ParseScenario(written, locale);
    } catch (const sf::RunError& refusal) {
        Fail("a written scenario is refused", refusal.what());
    }
    if (sf::ScenarioText(again, locale) != written) {
        Fail("a scenario changed on its way through a file", written);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckRoundTrip(text, sf::NumberLocale{});
    CheckRoundTrip(text, sf::NumberLocale{",", "."});
    return 0;
}
