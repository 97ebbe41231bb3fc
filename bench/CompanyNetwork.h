#pragma once

#include "support/SimulatedLan.h"

#include <memory>

// A company network for benchmarks: computers in one domain and a printer
// every tenth host; with inventory, every computer answers WMI as the demo
// network's computers do.
std::unique_ptr<SimulatedNetwork> Company(int hosts, bool inventory = false);
class CNetDoc;

// Surveys such a network into a new document, which writes no snapshots.
void SurveyCompany(CNetDoc& document, int hosts, bool inventory);
void SurveyInto(CNetDoc& document, const SimulatedNetwork& network, bool inventory);
// Peak resident memory of the process so far, in MiB.
double PeakResidentMiB();
