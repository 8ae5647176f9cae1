#include "runtime/kernel_set.h"

#include <gtest/gtest.h>

#include <string>

namespace sf {
namespace {

struct TestKernel {
    const char* name;
    int speed;
};

TEST(KernelSet, ListsTheKernelsThisProcessorRunsAndPicksOneByName) {
    const KernelSet<TestKernel> kernels("test kernel", {{InstructionSet::avx512, {"wide", 3}},
                                                        {InstructionSet::avx2, {"middle", 2}},
                                                        {InstructionSet::portable, {"plain", 1}}});
    // The portable kernel runs everywhere and comes last; the others only where they run.
    ASSERT_FALSE(kernels.Supported().empty());
    EXPECT_EQ(kernels.Supported().back().speed, 1);
    EXPECT_EQ(kernels.Supported().size(), 1u + (ProcessorRuns(InstructionSet::avx512) ? 1 : 0) +
                                              (ProcessorRuns(InstructionSet::avx2) ? 1 : 0));
    EXPECT_EQ(&kernels.Fastest(), &kernels.Supported().front());
    EXPECT_EQ(&kernels.Named(""), &kernels.Fastest());
    EXPECT_EQ(kernels.Named("plain").speed, 1);
    try {
        kernels.Named("narrow");
        ADD_FAILURE() << "an unknown name was accepted";
    } catch (const RunError& error) {
        EXPECT_EQ(std::string(error.what()), "This processor has no test kernel named \"narrow\"");
    }
}

}  // namespace
}  // namespace sf
