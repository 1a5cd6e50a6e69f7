// Puts a saved window rectangle back onto the screen: never larger than the virtual screen,
// and moved so that it lies inside it.
#pragma once

#include <windows.h>

// Clamps onto the given area (the virtual screen's left, top, width and height).
void ClampRectToArea(RECT& rc, int vx, int vy, int vw, int vh);

// Clamps onto the current virtual screen (all monitors).
void ClampRectToVirtualScreen(RECT& rc);
