// What every benchmark program does first: COM, the common controls, the module and the
// resource library as the program loads them, and message boxes and beeps taken away (a box is
// printed on stderr instead). Also the folder of the benchmarks' generated fonts.
#pragma once

#include <string>

#include "framework/Handles.h"

// Starts the program's environment; an empty owner (and a line on stderr) when the resource
// library is not beside the benchmark. `name` prefixes what is printed.
orv::ScopedModule StartBenchProgram(const char* name);

// ORVEL_BENCH_DATA as a Windows path (a host path gets Z:), without trailing backslash; empty
// when it is not set.
std::wstring BenchDataFolder();
