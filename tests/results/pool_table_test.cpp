#include "results/pool_table.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "run/catalogue_run.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

// Sums whose shortest texts are hard to read back: a tenth, a subnormal, the largest double, a
// negative zero, a number that prints with an exponent.
BlockSums AwkwardBlock(int first, int count, double seed) {
    BlockSums block;
    block.first = first;
    block.count = count;
    const double awkward[] = {0.1 + seed,
                              std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::max(),
                              -0.0,
                              1.2345678901234567e-300,
                              std::nextafter(seed + 3.0, 4.0)};
    for (std::size_t k = 0; k < kEvaluations.size(); ++k) {
        block.sound[k].demand = awkward[k];
        block.sound[k].squaredError = awkward[k + 2];
        block.sound[k].diverged = static_cast<int>(k);
        block.all[k].alpha = awkward[k + 4];
        block.all[k].negativeDeliveries = 7 + static_cast<int>(k);
        block.tradeoff[k] = TradeoffSums(3);
        block.tradeoff[k].demand = awkward[(k + 1) % 6];
        block.tradeoff[k].periods = 30.0;
        for (std::size_t lane = 0; lane < 3; ++lane) {
            block.tradeoff[k].byTau.sales[lane] = awkward[(lane + k) % 6];
            block.tradeoff[k].byTau.periodsWithoutLostSale[lane] = static_cast<double>(lane);
        }
    }
    return block;
}

bool ReadBackExactly(double one, double other) {
    return std::bit_cast<std::uint64_t>(one) == std::bit_cast<std::uint64_t>(other);
}

TEST(PoolTable, ReadsBackEverySumBitForBit) {
    const std::vector<BlockSums> blocks = {AwkwardBlock(101, 100, 0.2), AwkwardBlock(201, 50, 1.7)};
    const std::vector<BlockSums> read = ReadPoolCsv(PoolCsv(blocks), "pool.csv");
    ASSERT_EQ(read.size(), blocks.size());
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        EXPECT_EQ(read[b].first, blocks[b].first);
        EXPECT_EQ(read[b].count, blocks[b].count);
        for (std::size_t k = 0; k < kEvaluations.size(); ++k) {
            EXPECT_TRUE(ReadBackExactly(read[b].sound[k].demand, blocks[b].sound[k].demand));
            EXPECT_TRUE(
                ReadBackExactly(read[b].sound[k].squaredError, blocks[b].sound[k].squaredError));
            EXPECT_EQ(read[b].sound[k].diverged, blocks[b].sound[k].diverged);
            EXPECT_TRUE(ReadBackExactly(read[b].all[k].alpha, blocks[b].all[k].alpha));
            EXPECT_EQ(read[b].all[k].negativeDeliveries, blocks[b].all[k].negativeDeliveries);
            EXPECT_TRUE(ReadBackExactly(read[b].tradeoff[k].demand, blocks[b].tradeoff[k].demand));
            ASSERT_EQ(read[b].tradeoff[k].byTau.sales.size(), 3u);
            for (std::size_t lane = 0; lane < 3; ++lane) {
                EXPECT_TRUE(ReadBackExactly(read[b].tradeoff[k].byTau.sales[lane],
                                            blocks[b].tradeoff[k].byTau.sales[lane]));
            }
        }
    }
    EXPECT_EQ(PoolCsv(read), PoolCsv(blocks));
}

TEST(PoolTable, RefusesWhatItDidNotWriteNamingTheRow) {
    const std::string good = PoolCsv({AwkwardBlock(1, 100, 0.0)});
    const std::size_t secondRow = good.find('\n', good.find('\n') + 1) + 1;
    const std::string header = good.substr(0, good.find('\n') + 1);
    struct Case {
        std::string text;
        std::string said;
    };
    const Case cases[] = {
        {"sales_point,value\n", "does not begin with the header"},
        {header + "1,1,100,as_forecast,sound,demand,,1x\n", "row 2: \"1x\" is not a number"},
        {header + "2,1,100,as_forecast,sound,demand,,1\n", "row 2: block 2 out of order"},
        {header + "1,1,100,sideways,sound,demand,,1\n", "no evaluation is named \"sideways\""},
        {header + "1,1,100,as_forecast,sound,weight,,1\n", "no sum is named \"weight\""},
        {header + "1,1,100,as_forecast,tradeoff,sales,2,1\n", "lane 2 out of order"},
        {header + "1,1,100,as_forecast,sound,demand,1\n", "row 2 has fewer than 8 cells"},
        {good.substr(0, secondRow) + "1,1,100,as_forecast,best,demand,,1\n",
         "no row is named \"best\""},
    };
    for (const Case& c : cases) {
        try {
            ReadPoolCsv(c.text, "shard/pool.csv");
            ADD_FAILURE() << "read: " << c.text;
        } catch (const RunError& error) {
            EXPECT_NE(std::string(error.what()).find(c.said), std::string::npos) << error.what();
            EXPECT_EQ(std::string(error.what()).rfind("shard/pool.csv", 0), 0u) << error.what();
        }
    }
}

// Every shard's blocks follow the one before's, their counts differing by at most one, and the
// shards together hold every block once.
TEST(ShardBlocks, SliceTheBlocksContiguouslyAndEvenly) {
    for (const auto& [salesPoints, shards] :
         {std::pair(250, 2), std::pair(250, 3), std::pair(1001, 4), std::pair(101, 2),
          std::pair(30490, 7), std::pair(150, 1)}) {
        const std::vector<SalesPointBlock> all = CatalogueBlocks(salesPoints);
        std::size_t fewest = all.size();
        std::size_t most = 0;
        int next = 1;
        for (int k = 1; k <= shards; ++k) {
            const std::vector<SalesPointBlock> blocks = ShardBlocks(salesPoints, {k, shards});
            fewest = std::min(fewest, blocks.size());
            most = std::max(most, blocks.size());
            for (const SalesPointBlock& block : blocks) {
                EXPECT_EQ(block.first, next) << salesPoints << " in " << shards;
                next = block.first + block.count;
            }
        }
        EXPECT_EQ(next, salesPoints + 1) << salesPoints << " in " << shards;
        EXPECT_LE(most - fewest, 1u) << salesPoints << " in " << shards;
        EXPECT_GE(fewest, 1u) << salesPoints << " in " << shards;
    }
}

}  // namespace
}  // namespace sf
