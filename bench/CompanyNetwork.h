#pragma once

#include "support/SimulatedLan.h"

#include <memory>

// A company network for benchmarks: computers in one domain and a printer
// every tenth host; with inventory, every computer answers WMI as the demo
// network's computers do.
std::unique_ptr<SimulatedNetwork> Company(int hosts, bool inventory = false);
// Peak resident memory of the process so far, in MiB.
double PeakResidentMiB();
