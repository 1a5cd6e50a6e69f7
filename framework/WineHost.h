// Whether the program runs under Wine rather than on Windows, told at run time: Wine's ntdll
// exports wine_get_version, Windows' does not. The few places that work around a fault of
// Wine's (its PostScript driver, PrinterText.h) ask here, so that the same program does
// nothing different on Windows. A test answers in place of ntdll through the seam. Any thread.
#pragma once

#include <optional>

namespace orv {

bool RunsUnderWine();

}  // namespace orv

namespace seams {

// The answer RunsUnderWine gives from now on; nullopt asks ntdll again. Tests only.
void SetRunsUnderWine(std::optional<bool> answer);

}  // namespace seams
