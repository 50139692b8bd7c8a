#pragma once

#include <string>

#include "data/Database.h"

namespace scorewell {

// The outcome of a marking, which the standings caption is made of.
struct DroppedMarking {
    int numEvents = 0; // races in the league
    int keptCount = 1; // results kept per driver: races - dropped, at least 1
};

// Flags every driver's results beyond his best kept count as dropped (best by Points, then Bonus,
// then LapsLed, all descending; equal results in the order of their StatsID). With dropped 0 or
// less nothing is dropped. Results of no listed driver stay dropped when dropping. One
// transaction: the flags change all together or not at all; engine errors reach the caller.
DroppedMarking MarkDroppedResults(Database& league, int dropped);

// "Results after N events:" when every result counts, else "Results based on each driver's best K
// finishes of N events:".
std::string StandingsCaption(int numEvents, int keptCount);
inline std::string StandingsCaption(const DroppedMarking& marking) {
    return StandingsCaption(marking.numEvents, marking.keptCount);
}

} // namespace scorewell
