#pragma once

#include <QString>
#include <vector>

namespace velmor::soak {

// What a soak run must show, judged from what it recorded. Each returns "" when all is well,
// or what went wrong in words fit for the summary.

// One pass of a deck through its list: the entries it opened (1-based, in the order opened)
// must be 1, 2, ... `entries` with none skipped, repeated or out of order, and the last one
// must have played to its end.
QString JudgeRound(const std::vector<int>& opened, int entries, bool lastPlayedToEnd);

// Memory at the end against memory once the run had settled: growth beyond `tolerance` (0.10
// for ten per cent) is a leak. Less memory at the end is no fault.
QString JudgeMemory(long settledKb, long endKb, double tolerance);

// The process's resident memory in kB (VmRSS of /proc/self/status), -1 where it cannot be read.
long ResidentKb();

} // namespace velmor::soak
