// The list of everything installed on the machine (control 206): the fonts registered for the
// machine and for the current user (Fonts and Type 1 keys), every face GDI enumerates without a
// registration (fonts loaded by programs, raster and vector faces, vertical "@" faces, device
// faces), and the EUDC fonts of the current code page. The fonts the user interface depends on
// are marked protected (0x8000).
//
// After each fill it publishes its records, in the order the fill added them, as the installed
// fonts every other list resolves against (`InstalledFonts()`, fonts/InstalledFontRecords.h);
// the installer finds a font's registration there too. The main frame fills it (first idle job
// and every font change); everything runs on the main thread, the fill synchronously.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "lists/COrvelListView.h"

class FontFileReader;

// The steps of the installed list's fill, in their order; where an observer is set (the
// benchmark times them; the program sets none), it is called as each step ends.
enum class InstalledFillStep { kCounted, kType1Keys, kFontsKeys, kGdiFaces, kEudc, kProtection, kShown };
using InstalledFillObserver = void (*)(InstalledFillStep step);
void SetInstalledFillObserver(InstalledFillObserver observer);

class CLVInstalledFonts : public COrvelListView {
public:
  // The six counters of a fill.
  struct Counts {
    int registered = 0;  // TrueType/OpenType faces of the Fonts keys
    int type1 = 0;
    int eudc = 0;
    int raster = 0;      // raster and vector faces known to GDI
    int gdiOnly = 0;     // faces known to GDI without a registration (not Marlett)
    int vertical = 0;    // "@" faces
  };

  CLVInstalledFonts();
  ~CLVInstalledFonts() override;

  // Rebuilds the list and publishes its records.
  void Fill();
  // The rows shown (all false: what the "StyleFlags" leave visible) or every entry (all true).
  int CountShown(bool all) const;
  const Counts& Counters() const { return counts_; }

  // Steps of the fill, each adding rows at their sorted place (Repopulate shows them):
  // a TrueType/OpenType face of a Fonts key, and a face of the GDI enumeration with its
  // namesake rules (font type as EnumFontFamiliesExW gives it).
  FontItem* AddRegisteredRecord(const FontItem& record);
  void AddGdiFace(const std::wstring& name, DWORD fontType);

  void ShowInInstalledList() override {}
  bool OnKey(UINT key, bool ctrl) override;
  bool IsHidden(const FontListRow& row) const override;
  void OnItemActivate(NMITEMACTIVATE* info) override;
  void OnRightClick(NMITEMACTIVATE* info) override;

  BEGIN_MSG_MAP(CLVInstalledFonts)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroyList)
    CHAIN_MSG_MAP(COrvelListView)
  END_MSG_MAP()

private:
  LRESULT OnDestroyList(UINT, WPARAM, LPARAM, BOOL& handled);
  // No published record may outlive its row.
  void Unpublish();

  // The passes of the fill (CLVInstalledFontsFill.cpp).
  int CountFamilies() const;
  void AddType1Fonts(HKEY root, const std::wstring& folder);
  void AddRegisteredFonts(HKEY root, const std::wstring& folder);
  void AddGdiFaces();
  void AddEudcFonts();
  void ProtectUserInterfaceFonts();
  void ProtectFace(const LOGFONTW& font);

  // Adds a row and indexes its record.
  FontItem* AddRecord(const FontItem& record, bool readNow, int& counter);
  void StepProgress();
  FontItem* FindByFullName(const std::wstring& name, uint32_t typeMask) const;

  Counts counts_;
  // The records in the order the fill added them, and by exact full name and PostScript name:
  // the namesake searches of the GDI pass and the look-ups of the protection pass.
  std::vector<const FontItem*> added_;
  std::unordered_map<std::wstring, std::vector<FontItem*>> byFullName_;
  std::unordered_map<std::wstring, std::vector<FontItem*>> byPostScriptName_;
  class StatusProgressBar* progress_ = nullptr;  // while a fill runs
  std::unique_ptr<FontFileReader> gdiReader_;     // the scratch record of the GDI pass
};
