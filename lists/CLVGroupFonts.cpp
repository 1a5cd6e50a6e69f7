#include "lists/CLVGroupFonts.h"

#include "groups/FontGroup.h"

CLVGroupFonts::CLVGroupFonts() = default;
CLVGroupFonts::~CLVGroupFonts() = default;

int CLVGroupFonts::Fill() { return 0; }
void CLVGroupFonts::RemoveSelectionFromGroup() {}
void CLVGroupFonts::ShowFontFolder() {}
void CLVGroupFonts::SetTransferSource(const std::wstring&, const std::wstring&, const std::wstring&, int) {}
void CLVGroupFonts::BeginTransfer(const std::wstring&, int) {}
bool CLVGroupFonts::PasteToGroup(const std::wstring&) { return false; }
void CLVGroupFonts::EndTransfer(const std::wstring&) {}
bool CLVGroupFonts::HasPendingTransfer() const { return false; }
void CLVGroupFonts::SaveGroupFromList() {}
bool CLVGroupFonts::OnKey(UINT, bool) { return false; }
void CLVGroupFonts::OnItemActivate(NMITEMACTIVATE*) {}
void CLVGroupFonts::OnRightClick(NMITEMACTIVATE*) {}
bool CLVGroupFonts::AcceptEntry(FontItemList&, SubgroupEntry&) { return true; }
void CLVGroupFonts::OnShowFontFolderCommand(UINT, int, HWND) {}
bool CLVGroupFonts::AbortRequested() { return false; }
