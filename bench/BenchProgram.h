// What every benchmark sets up as the program does before it times anything: COM, the common
// controls, the resource library as resource instance, message boxes and beeps kept off the
// screen, the default preferences and a ready private font cache; and where the benchmarks'
// data lies.
#pragma once

#include <string>

#include "framework/Handles.h"

// Sets the program up; `name` prefixes what goes to stderr. Holds the resource library until it
// is destroyed; check Ready() before timing.
class BenchProgram {
public:
  explicit BenchProgram(const char* name);
  ~BenchProgram();
  BenchProgram(const BenchProgram&) = delete;
  BenchProgram& operator=(const BenchProgram&) = delete;

  bool Ready() const { return static_cast<bool>(resources_); }

private:
  orv::ScopedModule resources_;
};

// ORVEL_BENCH_DATA as a Windows path (a host path goes through drive Z:), without a trailing
// backslash; empty when not set.
std::wstring BenchDataFolder();

// The number of timed runs: ORVEL_BENCH_RUNS where set, else `fallback`.
int BenchRuns(int fallback);
