// bench_display_font: drawing the rows of a variable font whose 1,500 named instances repeat 18
// style names ("Orvel Repeat", made by bench/make_bench_fonts.py in
// ORVEL_BENCH_DATA\instances-1500), with the font installed: loaded by GDI and registered for
// the user, so that the installed fonts list holds its 1,500 instances beside the machine's
// fonts. Under Wine GDI knows only the default instance, so every other instance's display
// font falls back to the installed records of its name. Times, each the median of its runs:
//   change: a font change as the main frame handles it (the private font cache emptied, the
//           installed list refilled, the folder list's records reset) up to the repainted screen;
//   scroll: one screen of the folder list scrolled and drawn (every row new);
//   display font: FontItem::CreateDisplayFont for one record of the folder list, and for one of
//           the installed list's records of the font;
//   sample pane: the display font the sample pane makes at every paint, for one record.
// A step that runs past its budget stops early and says over how many it was measured.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "bench/BenchListHost.h"
#include "bench/BenchProgram.h"
#include "bench/BenchTiming.h"
#include "common/Seams.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "fonts/FaceLookups.h"
#include "fonts/InstalledFontRecords.h"
#include "lists/CLVFolderFonts.h"
#include "lists/CLVInstalledFonts.h"

namespace {

constexpr int kHostWidth = 800;
constexpr int kHostHeight = 900;
constexpr int kRunsDefault = 5;
constexpr double kStepBudgetMs = 30000;  // what one kind of measurement may take at most
constexpr double kTargetChangeMs = 3000;
constexpr double kTargetScrollMs = 100;
constexpr double kTargetDisplayFontMs = 1;
const wchar_t kFolderName[] = L"instances-1500";
const wchar_t kFileName[] = L"OrvelRepeat-VF.ttf";
const wchar_t kFontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const wchar_t kValueName[] = L"Orvel Repeat (TrueType)";

// The font as an install leaves it: loaded by GDI and registered for the user.
class InstalledForTheRun {
public:
  explicit InstalledForTheRun(const std::wstring& path) : path_(path) {
    loaded_ = ::AddFontResourceW(path.c_str()) > 0;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kFontsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      registered_ = ::RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                     static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
      ::RegCloseKey(key);
    }
  }
  ~InstalledForTheRun() {
    if (registered_) ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kFontsKey, kValueName);
    if (loaded_) ::RemoveFontResourceW(path_.c_str());
  }
  InstalledForTheRun(const InstalledForTheRun&) = delete;
  InstalledForTheRun& operator=(const InstalledForTheRun&) = delete;
  bool Done() const { return loaded_ && registered_; }

private:
  std::wstring path_;
  bool loaded_ = false;
  bool registered_ = false;
};

int g_rowsDrawn = 0;
void OnDrawItem() { ++g_rowsDrawn; }

// Enumerations of font families that the display font asks GDI for.
int g_enumerations = 0;
int CountingEnumerator(HDC dc, LOGFONTW* logFont, FONTENUMPROCW proc, LPARAM param, DWORD flags) {
  ++g_enumerations;
  return ::EnumFontFamiliesExW(dc, logFont, proc, param, flags);
}

struct Measured {
  std::vector<double> times;
  bool cut = false;  // stopped by the budget
  int enumerations = 0;
  void Print(const char* what, int count, double target) const {
    printf("  %-44s %9.2f ms (median of %zu of %d%s), %d enumerations", what, Median(times), times.size(), count,
           cut ? ", the rest past the budget" : "", enumerations);
    printf("%s\n", Median(times) > target ? "  ABOVE TARGET" : "");
  }
};

// Runs `step` up to `count` times, or until the budget is spent.
template <typename Step>
Measured Measure(int count, Step step) {
  Measured result;
  const double end = NowMs() + kStepBudgetMs;
  const int enumerationsBefore = g_enumerations;
  for (int i = 0; i < count; ++i) {
    const double begin = NowMs();
    step(i);
    const double now = NowMs();
    result.times.push_back(now - begin);
    if (now > end && i + 1 < count) {
      result.cut = true;
      break;
    }
  }
  result.enumerations = g_enumerations - enumerationsBefore;
  return result;
}

void PumpPending() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

int DisplayFontHeight() {
  HDC screen = ::GetDC(nullptr);
  const int px = ::MulDiv(g_Preferences.FontPointSize, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  return -px;
}

// CreateDisplayFont for copies of the records, as a list row or the sample pane would call it,
// after a font change: every name is looked up anew.
Measured MeasureDisplayFonts(const std::vector<const FontItem*>& records, int height) {
  ForgetFaceLookups();
  return Measure(static_cast<int>(records.size()), [&](int i) {
    FontItem copy = *records[static_cast<size_t>(i)];
    copy.enumOwner = &copy;
    if (HFONT font = copy.CreateDisplayFont(height)) ::DeleteObject(font);
  });
}

// The installed list's records of the font (they change with every fill).
std::vector<const FontItem*> OfTheFont() {
  std::vector<const FontItem*> records;
  for (const FontItem* record : InstalledFontRecords())
    if (record && record->fullPath.find(kFileName) != std::wstring::npos) records.push_back(record);
  return records;
}

}  // namespace

int wmain() {
  BenchProgram program("bench_display_font");
  if (!program.Ready()) return 2;
  const std::wstring folder = BenchDataFolder() + L"\\" + kFolderName;
  const std::wstring path = folder + L"\\" + kFileName;
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    fprintf(stderr, "bench_display_font: %ls missing (bench/make_bench_fonts.py makes it)\n", path.c_str());
    return 2;
  }
  g_AppState.WindowsRelease = 1903;  // the per-user registration is read
  seams::SetFontFamilyEnumerator(&CountingEnumerator);
  int result = 0;
  {
    InstalledForTheRun installed(path);
    if (!installed.Done()) {
      fprintf(stderr, "bench_display_font: the font could not be loaded and registered\n");
      return 2;
    }
    CLVInstalledFonts& installedList = g_AppState.InstalledFonts;  // no window: its records only
    installedList.Fill();
    BenchListHost host(kHostWidth, kHostHeight);
    host.onDrawItem = &OnDrawItem;
    CLVFolderFonts& list = g_AppState.FolderFonts;
    host.Attach(list, 204);
    list.m_folder = folder;
    list.Fill();
    PumpPending();
    HWND window = list.m_hWnd;
    const int rows = static_cast<int>(::SendMessageW(window, LVM_GETITEMCOUNT, 0, 0));
    const int perPage = std::max(1, static_cast<int>(::SendMessageW(window, LVM_GETCOUNTPERPAGE, 0, 0)));
    printf("bench_display_font: %d folder rows, %d a screen; %zu installed records, %zu of them of the font\n", rows,
           perPage, InstalledFontRecords().size(), OfTheFont().size());

    const int runs = BenchRuns(kRunsDefault);
    const Measured change = Measure(runs, [&](int) {
      g_AppState.FontCache.RemoveAll(false);
      ForgetFaceLookups();
      installedList.Fill();
      list.InvalidateRecords();
      ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    });
    change.Print("change: cache emptied, refill, screen redrawn", runs, kTargetChangeMs);

    // Scrolling through the list from the top after a font change: every screen's rows new.
    g_AppState.FontCache.RemoveAll(false);
    ForgetFaceLookups();
    installedList.Fill();
    list.InvalidateRecords();
    ::SendMessageW(window, LVM_ENSUREVISIBLE, 0, FALSE);
    ::UpdateWindow(window);
    const int screens = std::max(1, rows / perPage - 1);
    const int drawnBefore = g_rowsDrawn;
    const Measured scroll = Measure(screens, [&](int) {
      ::SendMessageW(window, LVM_SCROLL, 0, perPage * list.RowHeight());
      ::UpdateWindow(window);
    });
    scroll.Print("scroll: one new screen drawn", screens, kTargetScrollMs);
    printf("    %d rows drawn in %zu screens\n", g_rowsDrawn - drawnBefore, scroll.times.size());

    // The records as a drawn row has them: read and resolved.
    const int height = DisplayFontHeight();
    std::vector<FontItem> completed;
    for (int i = 0; i < rows; ++i) {
      if (const FontItem* record = list.GetRecordAt(i)) {
        completed.push_back(*record);
        EnsureFontItemLoaded(folder, completed.back());
      }
    }
    std::vector<const FontItem*> folderRecords;
    for (const FontItem& record : completed) folderRecords.push_back(&record);
    if (!completed.empty()) {
      const FontItem& first = completed.front();
      ForgetFaceLookups();
      const int before = g_enumerations;
      FontItem copy = first;
      if (HFONT font = copy.CreateDisplayFont(height)) ::DeleteObject(font);
      printf("    the first row, %ls: %zu installed records of its name, %d enumerations for its display font\n",
             first.FullName().c_str(), InstalledFonts().ByFullName(first.FullName()).size(), g_enumerations - before);
    }
    MeasureDisplayFonts(folderRecords, height).Print("display font, a folder record", rows, kTargetDisplayFontMs);
    const std::vector<const FontItem*> ofTheFont = OfTheFont();
    MeasureDisplayFonts(ofTheFont, height)
        .Print("display font, an installed record", static_cast<int>(ofTheFont.size()), kTargetDisplayFontMs);
    // The sample pane makes the font again at every paint of the same record.
    if (!folderRecords.empty()) {
      const std::vector<const FontItem*> same(static_cast<size_t>(runs) * 20, folderRecords.back());
      MeasureDisplayFonts(same, height)
          .Print("sample pane: the same record again", static_cast<int>(same.size()), kTargetDisplayFontMs);
    }
    if (Median(change.times) > kTargetChangeMs || Median(scroll.times) > kTargetScrollMs) result = 1;

    g_AppState.FontCache.RemoveAll(false);
    if (list.m_hWnd) ::DestroyWindow(list.m_hWnd);
    installedList.Clear();
    SetInstalledFontRecords({});
  }
  seams::SetFontFamilyEnumerator(nullptr);
  return result;
}
