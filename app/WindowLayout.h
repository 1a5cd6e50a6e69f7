// The main window's geometry as stored in the "WinLayout" value: exactly 68 bytes,
// little-endian, read and written as this record.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "framework/Dpi.h"
#include "framework/SplitterWindow.h"

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

// The main window is never smaller than kMinWindowWidth x kMinWindowHeight, and each of its five
// panes keeps at least kMinPaneExtent pixels both ways: its caption with the toolbar and a row of
// a font list (two lines of a 12-point name) below it. Sizes at 96 DPI, scaled to the screen's
// density like every other built-in size; at the least window size every pane keeps its least
// size. A splitter bar is kSplitterBarWidth wide.
inline constexpr int kMinWindowWidth = 350;
inline constexpr int kMinWindowHeight = 300;
inline constexpr int kMinPaneExtent = 80;
inline constexpr int kSplitterBarWidth = orv::kDefaultSplitterBar;

// The least sizes at `dpi`.
struct LayoutLimits {
  SIZE window;    // the main window's least size
  int pane;       // each pane's least width and height
  int listsWidth; // right of the main bar: the font lists beside the installed fonts
};
[[nodiscard]] LayoutLimits LayoutLimitsForDpi(int dpi);

// The layout of a first start on a screen of this size at `dpi`: the 96-DPI rectangle scaled,
// then kept inside `workArea` (the whole screen when null), and splitter positions that share
// out that rectangle.
WindowLayout DefaultWindowLayout(int screenWidth, int screenHeight, int dpi = orv::kBaseDpi,
                                 const RECT* workArea = nullptr);

// True when a stored layout can be used: a real window size, pane modes of -1, 0 or 1 and
// boolean bytes.
bool IsPlausibleWindowLayout(const WindowLayout& layout);

// Makes a stored layout usable on `area` (the virtual screen) at `dpi`: the window rectangle raised
// to the least size and moved onto the area, each splitter position limited so that the panes on
// both sides keep their room in a window of that size (of the area's size when it was saved
// maximised), and a saved rebar rectangle larger than the window forgotten.
void FitWindowLayout(WindowLayout& layout, const RECT& area, int dpi = orv::kBaseDpi);

// Reads "WinLayout" (when it is valid, then fitted to the virtual screen) and "FavoriteFolders"
// into the records; the layout starts from the defaults of the current screen, its work area and
// its density. A stored layout is taken as it was stored, only fitted.
void LoadWindowLayout(WindowLayout& layout);

// Writes "FavoriteFolders" and, unless the window is minimised (layout == null), "WinLayout".
void SaveWindowLayout(const WindowLayout* layout);
