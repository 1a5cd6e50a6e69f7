// The main window's geometry as stored in the "WinLayout" value: exactly 68 bytes,
// little-endian, read and written as this record.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 4)
struct WindowLayout {
  RECT WindowRect;            // normal (not maximised) position, screen coordinates
  int32_t MainSplitterPos;    // trees | the rest
  int32_t ListsSplitterPos;   // font lists | installed fonts
  int32_t TreesSplitterPos;   // folder tree over groups tree
  int32_t SampleSplitterPos;  // lists over the sample pane
  int32_t MainSinglePane;     // -1 both panes, 0 first only, 1 second only
  int32_t ListsSinglePane;
  int32_t TreesSinglePane;
  int32_t SampleSinglePane;
  uint8_t Maximized;
  uint8_t StatusBarShown;
  uint8_t ToolbarShown;
  uint8_t Padding;
  RECT RebarRect;             // right == left: none saved
};
#pragma pack(pop)

static_assert(sizeof(RECT) == 16);
static_assert(sizeof(WindowLayout) == 68);
static_assert(offsetof(WindowLayout, MainSplitterPos) == 16);
static_assert(offsetof(WindowLayout, SampleSplitterPos) == 28);
static_assert(offsetof(WindowLayout, MainSinglePane) == 32);
static_assert(offsetof(WindowLayout, Maximized) == 48);
static_assert(offsetof(WindowLayout, ToolbarShown) == 50);
static_assert(offsetof(WindowLayout, RebarRect) == 52);

// The layout of a first start on a screen of this size.
WindowLayout DefaultWindowLayout(int screenWidth, int screenHeight);

// True when a stored layout can be used: a real window size, pane modes of -1, 0 or 1 and
// boolean bytes.
bool IsPlausibleWindowLayout(const WindowLayout& layout);

// Reads "WinLayout" (when it is valid) and "FavoriteFolders" into the records; the layout
// starts from the defaults of the current screen.
void LoadWindowLayout(WindowLayout& layout);

// Writes "FavoriteFolders" and, unless the window is minimised (layout == null), "WinLayout".
void SaveWindowLayout(const WindowLayout* layout);
