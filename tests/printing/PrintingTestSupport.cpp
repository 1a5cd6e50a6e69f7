#include "tests/printing/PrintingTestSupport.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app/AppState.h"
#include "groups/FontGroup.h"
#include "groups/GroupNames.h"
#include "fonts/FontFileReader.h"
#include "lists/FontListParent.h"
#include "tests/support/TestSupport.h"

namespace printing_tests {

FontItem ReadFont(const std::wstring& folder, const std::wstring& file) {
  FontFileReader reader;
  reader.folder = folder;
  reader.fileRef = file;
  FontItem item;
  if (reader.ReadFontFile()) item.CopyFrom(reader);
  item.flags |= font_flags::kRead;
  return item;
}

namespace {

struct MetafileScan {
  std::vector<DrawnText> texts;
  std::vector<std::wstring> faces;
  std::vector<RECT> pictures;
};

int CALLBACK ScanRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  auto* scan = reinterpret_cast<MetafileScan*>(data);
  if (record->iType == EMR_EXTTEXTOUTW) {
    const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
    scan->texts.push_back({POINT{text->emrtext.ptlReference.x, text->emrtext.ptlReference.y},
                           std::wstring(chars, text->emrtext.nChars)});
  } else if (record->iType == EMR_STRETCHDIBITS) {
    const auto* picture = reinterpret_cast<const EMRSTRETCHDIBITS*>(record);
    scan->pictures.push_back({picture->xDest, picture->yDest, picture->xDest + picture->cxDest, picture->yDest + picture->cyDest});
  } else if (record->iType == EMR_EXTCREATEFONTINDIRECTW) {
    const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
    scan->faces.push_back(font->elfw.elfLogFont.lfFaceName);
  }
  return 1;
}

MetafileScan Scan(HENHMETAFILE metafile) {
  MetafileScan scan;
  ::EnumEnhMetaFile(nullptr, metafile, &ScanRecord, &scan, nullptr);
  return scan;
}

constexpr wchar_t kHostClass[] = L"OrvelPrintingTestHost";

}  // namespace

std::vector<DrawnText> MetafileTexts(HENHMETAFILE metafile) { return Scan(metafile).texts; }
std::vector<std::wstring> MetafileFaces(HENHMETAFILE metafile) { return Scan(metafile).faces; }
std::vector<RECT> MetafilePictures(HENHMETAFILE metafile) { return Scan(metafile).pictures; }

bool ContainsText(const std::vector<DrawnText>& texts, const std::wstring& part) {
  return std::any_of(texts.begin(), texts.end(), [&](const DrawnText& t) { return t.text.find(part) != std::wstring::npos; });
}

ListHost::ListHost(COrvelListView& list, int id) : list_(list) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = &Proc;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = kHostClass;
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  ::RegisterClassExW(&cls);
  window_ = ::CreateWindowExW(0, kHostClass, L"Printing test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 600, 400,
                              nullptr, nullptr, cls.hInstance, this);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  RECT rc{};
  ::GetClientRect(window_, &rc);
  HWND view = ::CreateWindowExW(kFontListExStyle, WC_LISTVIEWW, nullptr, kFontListStyle, 0, 0, rc.right, rc.bottom,
                                window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), cls.hInstance, nullptr);
  if (view && list.SubclassWindow(view)) list.Initialize();
  ::ShowWindow(window_, SW_SHOWNOACTIVATE);
}

ListHost::~ListHost() {
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  ::DestroyWindow(window_);
}

LRESULT CALLBACK ListHost::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (auto* self = reinterpret_cast<ListHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA)))
    if (HandleFontListParentMessage(self->list_, msg, wp, lp, result)) return result;
  return ::DefWindowProcW(window, msg, wp, lp);
}

SelectedGroup::SelectedGroup(const std::wstring& folder, const std::wstring& name) : folder_(folder) {
  FontGroup::SetGroupsFolderSource(&folder_);
  const std::wstring child = FormatGroupFileName(1);
  FontGroup root;
  root.FileName = kRootGroupFile;
  root.Name = L"Root";
  root.AddNode(name, child, false, false);
  FontGroup group;
  group.FileName = child;
  group.Name = name;
  group.Parent = kRootGroupFile;
  if (!root.Save() || !group.Save()) return;
  pane_.Create(nullptr, nullptr, nullptr, WS_POPUP);
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  if (!tree.CreateTree(pane_, IDC_GROUPS_TREE)) return;
  pane_.SetClient(tree);
  tree.Init();
  tree.Expand(tree.GetRootItem(), TVE_EXPAND);
  tree.SelectItem(tree.FindChildByFile(tree.GetRootItem(), child));
}

SelectedGroup::~SelectedGroup() {
  if (pane_.IsWindow()) pane_.DestroyWindow();
  FontGroup::SetGroupsFolderSource(nullptr);
}

bool SelectedGroup::IsSelected() const {
  return g_AppState.GroupsTree.m_hWnd && g_AppState.GroupsTree.GetItemFile() == FormatGroupFileName(1);
}

void FillAndSelect(COrvelListView& list, const std::vector<FontItem>& fonts) {
  for (const FontItem& font : fonts) list.AddItem(font, false);
  list.Repopulate();
  list.SelectAll(true);
}

DialogAnswerer::DialogAnswerer(std::vector<std::wstring> answer) : answer_(std::move(answer)) {
  thread_ = std::thread([this] { Run(); });
}

DialogAnswerer::~DialogAnswerer() {
  stop_ = true;
  thread_.join();
}

std::vector<std::wstring> DialogAnswerer::Seen() {
  std::lock_guard<std::mutex> guard(lock_);
  return seen_;
}

HWND DialogAnswerer::Find(const std::wstring& caption) {
  struct Search {
    const std::wstring* caption;
    HWND found;
  } search{&caption, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        wchar_t text[128] = {};
        ::InternalGetWindowText(window, text, 128);
        if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(window) && *s->caption == text) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void DialogAnswerer::Run() {
  while (!stop_) {
    ::Sleep(50);
    std::vector<HWND> dialogs;
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          DWORD pid = 0;
          ::GetWindowThreadProcessId(window, &pid);
          wchar_t cls[32] = {};
          ::GetClassNameW(window, cls, 32);
          if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(window) && wcscmp(cls, L"#32770") == 0)
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
      wchar_t text[128] = {};
      ::InternalGetWindowText(dialog, text, 128);
      std::lock_guard<std::mutex> guard(lock_);
      if (std::find(handled_.begin(), handled_.end(), dialog) != handled_.end()) continue;
      handled_.push_back(dialog);
      seen_.push_back(text);
      if (std::find(answer_.begin(), answer_.end(), text) != answer_.end()) {
        ::Sleep(100);  // let the dialog finish its initialisation
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      }
    }
  }
}

std::wstring PdfFolder() {
  wchar_t value[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"ORVEL_PDF_DIR", value, MAX_PATH) || value[0] != L'/') return {};
  std::wstring folder = std::wstring(L"Z:") + value;
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  return ::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES ? std::wstring() : folder;
}

std::wstring DefaultPrinter() {
  wchar_t name[256] = {};
  DWORD size = 256;
  return ::GetDefaultPrinterW(name, &size) ? std::wstring(name) : std::wstring();
}

std::vector<std::wstring> PdfFiles(const std::wstring& folder) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW data{};
  HANDLE find = ::FindFirstFileW((folder + L"\\*.pdf").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return files;
  do files.push_back(folder + L"\\" + data.cFileName);
  while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return files;
}

std::wstring WaitForNewPdf(const std::wstring& folder, const std::vector<std::wstring>& before, DWORD ms) {
  const DWORD start = ::GetTickCount();
  do {
    for (const std::wstring& file : PdfFiles(folder)) {
      if (std::find(before.begin(), before.end(), file) != before.end()) continue;
      // CUPS-PDF writes the file in one go once Ghostscript is done; wait for its size to settle.
      WIN32_FILE_ATTRIBUTE_DATA a{}, b{};
      ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &a);
      ::Sleep(500);
      ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &b);
      if (b.nFileSizeLow != 0 && a.nFileSizeLow == b.nFileSizeLow) return file;
    }
    testing_support::PumpMessages(200);
  } while (::GetTickCount() - start < ms);
  return {};
}

std::string UnixPath(const std::wstring& path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<Convert>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name"));
  if (!convert) return {};
  char* unix = convert(path.c_str());
  std::string out = unix ? unix : "";
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

std::string RunHostCommand(const std::string& commandLine) {
  // Wine starts a Unix program from CreateProcess, but without our pipes: the shell writes its
  // output into a file, renamed once complete.
  const std::string unixOut = "/tmp/orvel-host-" + std::to_string(::GetCurrentProcessId());
  const std::wstring done = L"Z:" + std::wstring(unixOut.begin(), unixOut.end()) + L".txt";
  std::wstring winDone = done;
  std::replace(winDone.begin(), winDone.end(), L'/', L'\\');
  ::DeleteFileW(winDone.c_str());
  const std::string script = commandLine + " > " + unixOut + ".part 2>&1; mv " + unixOut + ".part " + unixOut + ".txt";
  std::wstring cmd = L"Z:\\bin\\sh -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  // A browser started on a busy machine can take half a minute; the wait ends when the file is there.
  for (int i = 0; i < 2400 && ::GetFileAttributesW(winDone.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(50);
  std::string out = testing_support::ReadFileBytes(winDone);
  ::DeleteFileW(winDone.c_str());
  return out;
}

namespace {

double Attribute(const std::string& tag, const char* name) {
  const size_t at = tag.find(std::string(" ") + name + "=\"");
  return at == std::string::npos ? 0 : std::atof(tag.c_str() + at + std::strlen(name) + 3);
}

std::string Unescape(std::string text) {
  const std::pair<const char*, const char*> entities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : entities)
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += std::strlen(to))
      text.replace(at, std::strlen(from), to);
  return text;
}

}  // namespace

std::vector<PdfPage> PdfWords(const std::wstring& pdf) {
  const std::string html = RunHostCommand("pdftotext -bbox '" + UnixPath(pdf) + "' -");
  std::vector<PdfPage> pages;
  for (size_t at = 0; (at = html.find('<', at)) != std::string::npos;) {
    const size_t end = html.find('>', at);
    if (end == std::string::npos) break;
    const std::string tag = html.substr(at, end - at + 1);
    if (tag.rfind("<page ", 0) == 0) {
      pages.push_back({Attribute(tag, "width"), Attribute(tag, "height"), {}});
    } else if (tag.rfind("<word ", 0) == 0 && !pages.empty()) {
      const size_t close = html.find("</word>", end);
      if (close == std::string::npos) break;
      pages.back().words.push_back({Attribute(tag, "xMin"), Attribute(tag, "yMin"), Attribute(tag, "xMax"),
                                    Attribute(tag, "yMax"), Unescape(html.substr(end + 1, close - end - 1))});
    }
    at = end + 1;
  }
  return pages;
}

bool Overlap(const PdfWord& a, const PdfWord& b) {
  const double w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const double h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  if (w <= 0 || h <= 0) return false;
  const double smaller = std::min((a.right - a.left) * (a.bottom - a.top), (b.right - b.left) * (b.bottom - b.top));
  return w * h > smaller / 3;
}

}  // namespace printing_tests
