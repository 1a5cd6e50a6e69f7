// Compiled by the layer checks (tests/CMakeLists.txt) with one layer's include root: includes
// the header named by ORVEL_PROBE_HEADER, which that layer may or may not see.
#include ORVEL_PROBE_HEADER
