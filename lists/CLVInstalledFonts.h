// The list of everything installed on the machine (control 206): registered fonts, the faces GDI
// knows without a registration, and the EUDC fonts. Other lists resolve their records against
// its rows. Its fill is not part of the program yet: until it is, the list stays empty and no
// font counts as installed.
#pragma once

#include "lists/COrvelListView.h"

class CLVInstalledFonts : public COrvelListView {
public:
  void ShowInInstalledList() override {}
};
