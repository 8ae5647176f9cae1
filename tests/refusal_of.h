#pragma once

#include <string>

#include "runtime/run_error.h"

// The message of the RunError that act throws, or "" when it throws none.
template <typename Act>
std::string RefusalOf(Act act) {
    try {
        act();
    } catch (const sf::RunError& refusal) {
        return refusal.what();
    }
    return "";
}
