// Any bytes as a shard's pool.csv: reading ends in blocks or in a one-line refusal, and blocks
// read write a pool.csv that reads back to the same text, so a merge adds what the shard summed.
// Anything else aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "results/pool_table.h"
#include "runtime/run_error.h"

namespace {

[[noreturn]] void Fail(const char* problem) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<sf::BlockSums> blocks;
    try {
        blocks = sf::ReadPoolCsv(text, "pool.csv");
    } catch (const sf::RunError& refusal) {
        const std::string_view message = refusal.what();
        if (message.empty() || message.find_first_of("\r\n") != std::string_view::npos) {
            Fail("a refusal that is not one line of text");
        }
        return 0;
    }
    const std::string written = sf::PoolCsv(blocks);
    try {
        if (sf::PoolCsv(sf::ReadPoolCsv(written, "pool.csv")) != written) {
            Fail("pool.csv written from what was read reads back to other sums");
        }
    } catch (const sf::RunError&) {
        Fail("pool.csv written from what was read is refused");
    }
    return 0;
}
