// What the printing tests share: fonts read from the host's font folders, the texts a drawing
// left in an enhanced metafile, a window that hosts a font list, and a thread that answers the
// dialogs a print job shows.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/CGroupsTVContainer.h"
#include "fonts/FontItem.h"
#include "lists/COrvelListView.h"

namespace printing_tests {

inline const std::wstring kDejaVuFolder = L"Z:\\usr\\share\\fonts\\truetype\\dejavu";

// The face of a font file, read as a folder list reads it (not installed, not resolved).
FontItem ReadFont(const std::wstring& folder, const std::wstring& file);

// One text drawn into a metafile: where and what.
struct DrawnText {
  POINT at;
  std::wstring text;
};
std::vector<DrawnText> MetafileTexts(HENHMETAFILE metafile);
// Where pictures were put into a metafile with StretchDIBits.
std::vector<RECT> MetafilePictures(HENHMETAFILE metafile);
// The face names of the fonts the metafile created.
std::vector<std::wstring> MetafileFaces(HENHMETAFILE metafile);
bool ContainsText(const std::vector<DrawnText>& texts, const std::wstring& part);

// A top-level window with one font list (control `id`), as the main window hosts them.
class ListHost {
public:
  explicit ListHost(COrvelListView& list, int id = 204);
  ~ListHost();
  ListHost(const ListHost&) = delete;
  ListHost& operator=(const ListHost&) = delete;
  HWND Window() const { return window_; }

private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  HWND window_ = nullptr;
  COrvelListView& list_;
};

// A groups folder of its own with the root group and one group under it, shown in the groups
// tree (in its pane) with that group selected, as the user leaves it before printing the group
// font list. Undone by the destructor.
class SelectedGroup {
public:
  SelectedGroup(const std::wstring& folder, const std::wstring& name);
  ~SelectedGroup();
  SelectedGroup(const SelectedGroup&) = delete;
  SelectedGroup& operator=(const SelectedGroup&) = delete;
  bool IsSelected() const;

private:
  std::wstring folder_;
  CGroupsTVContainer pane_;
};

// Adds the fonts to the list, shows them and selects them all.
void FillAndSelect(COrvelListView& list, const std::vector<FontItem>& fonts);

// Answers every dialog of this process whose caption is in `answer` with IDOK (once per dialog
// window), and records the captions of all dialogs it saw; stops when destroyed.
class DialogAnswerer {
public:
  explicit DialogAnswerer(std::vector<std::wstring> answer);
  ~DialogAnswerer();
  std::vector<std::wstring> Seen();
  // The dialog with this caption, while it is shown.
  HWND Find(const std::wstring& caption);

private:
  void Run();
  std::vector<std::wstring> answer_;
  std::vector<std::wstring> seen_;
  std::vector<HWND> handled_;
  std::mutex lock_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The folder CUPS-PDF writes into (ORVEL_PDF_DIR), or empty when there is no PDF printer.
std::wstring PdfFolder();
// The default printer's name, or empty.
std::wstring DefaultPrinter();
// Waits up to `ms` for a new ".pdf" in the folder not among `before`; its path or empty.
std::wstring WaitForNewPdf(const std::wstring& folder, const std::vector<std::wstring>& before, DWORD ms);
std::vector<std::wstring> PdfFiles(const std::wstring& folder);
// The Unix path of a Windows path, for the host's programs.
std::string UnixPath(const std::wstring& path);
// Runs a host command (through Wine's start /unix) and returns its output: pdfinfo, pdftotext.
std::string RunHostCommand(const std::string& commandLine);

// One word of a PDF page as poppler reads it: its box in points from the page's top left and
// its UTF-8 text.
struct PdfWord {
  double left, top, right, bottom;
  std::string text;
};
struct PdfPage {
  double width = 0, height = 0;
  std::vector<PdfWord> words;
};
// The words of every page of the PDF (pdftotext -bbox), in the order they were drawn.
std::vector<PdfPage> PdfWords(const std::wstring& pdf);
// Whether two words cover each other: their boxes share more than a third of the smaller one.
bool Overlap(const PdfWord& a, const PdfWord& b);

}  // namespace printing_tests
