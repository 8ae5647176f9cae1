#include "runtime/process_signals.h"

#include <atomic>
#include <csignal>

namespace sf {
namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Read by the run's threads while a handler may write it.
std::atomic<int> caught = 0;
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch this");

void Catch(int signal) {
    caught = signal;
    for (const int stop : kStopSignals) {
        std::signal(stop, SIG_DFL);
    }
}

}  // namespace

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = Catch;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for the standard input ends instead of holding the stop.
    action.sa_flags = 0;
    for (const int stop : kStopSignals) {
        struct sigaction given {};
        // One ignored on purpose stays so (nohup, a job in the background of a script).
        if (sigaction(stop, nullptr, &given) == 0 && given.sa_handler != SIG_IGN) {
            sigaction(stop, &action, nullptr);
        }
    }
}

int CaughtStopSignal() {
    return caught;
}

}  // namespace sf
