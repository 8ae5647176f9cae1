#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/run_error.h"

namespace sf {

// The instruction sets a kernel is compiled for, the fastest first.
enum class InstructionSet { avx512, avx2, portable };

// Whether this processor runs code compiled for the set; portable code runs on every one.
bool ProcessorRuns(InstructionSet set);

// The kernels of one computation, compiled once per instruction set and chosen at run time.
// Kernel is a plain struct with a member `const char* name`.
template <class Kernel>
class KernelSet {
  public:
    struct Compiled {
        InstructionSet set;
        Kernel kernel;
    };

    // kind names the kernels in a message ("lane kernel"); compiled lists every kernel built for
    // this platform, the fastest first, and ends with the portable one.
    KernelSet(std::string_view kind, std::initializer_list<Compiled> compiled) : kind_(kind) {
        for (const Compiled& entry : compiled) {
            if (ProcessorRuns(entry.set)) {
                supported_.push_back(entry.kernel);
            }
        }
    }

    // Every kernel this processor runs, the fastest first.
    std::span<const Kernel> Supported() const { return supported_; }
    const Kernel& Fastest() const { return supported_.front(); }
    // The kernel of that name; the fastest for an empty name. A name this processor has no
    // kernel of is a RunError.
    const Kernel& Named(std::string_view name) const {
        if (name.empty()) {
            return Fastest();
        }
        for (const Kernel& kernel : supported_) {
            if (kernel.name == name) {
                return kernel;
            }
        }
        throw RunError("This processor has no " + kind_ + " named \"" + std::string(name) + "\"");
    }

  private:
    std::string kind_;
    std::vector<Kernel> supported_;
};

}  // namespace sf
