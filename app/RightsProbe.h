// Whether the user belongs to the Administrators group (through the linked token when the
// process token is limited) and whether the process runs elevated. Each returns 0 on success
// or the error code of the first call that failed.
#pragma once

#include <windows.h>

[[nodiscard]] DWORD ProbeUserIsAdmin(bool& isAdmin);
[[nodiscard]] DWORD ProbeIsElevated(bool& isElevated);
