#pragma once

#include "state/run_inputs.h"

namespace sf {

// A small scenario to start from: three sales points over 24 periods with a logarithmic trend,
// the batch command's --example and the window's File > Load Example.
inline RunInputs ExampleInputs() {
    RunInputs example;
    example.model = DemandModel::loga;
    example.Endpointnumber = "3";
    example.Periodnumber = "24";
    example.periodsforinitialization = "4";
    example.periodsforalphabeta = "6";
    example.warmuptx = "0";
    example.horizontx = "1";
    example.tau_tx = "0.5";
    example.p1low = "10";
    example.p1up = "30";
    example.p2low = "1";
    example.p2up = "2";
    return example;
}

}  // namespace sf
