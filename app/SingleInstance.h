// The name of the single-instance mutex, which is also the main window's class name.
#pragma once

inline constexpr wchar_t kSingleInstanceName[] = L"{EDB8CF7A-7740-49df-8B55-954ADB09715A}";
