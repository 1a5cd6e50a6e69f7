// bench_readers [folder]: reads every ".ttf", ".otf", ".ttc", ".otc" and ".pfm" under the folder
// through the font file readers, as a folder list would (every collection face, every named
// instance), and prints files, faces, seconds and faces per second: the median of several
// passes after one warm-up pass, so that the file cache is warm. Each pass is followed by one
// of the floor (opening and closing each file), and the ratio of the two is printed too.
// Without a folder it reads the host's font tree (Z:\usr\share\fonts, where the Debian font
// packages install).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fonts/FontFileWalk.h"

namespace {

constexpr int kPasses = 41;

bool IsFontFile(const std::wstring& name) {
  const size_t dot = name.find_last_of(L'.');
  if (dot == std::wstring::npos) return false;
  const std::wstring ext = name.substr(dot);
  for (const wchar_t* known : {L".ttf", L".otf", L".ttc", L".otc", L".pfm"})
    if (EqualsNoCase(ext, known)) return true;
  return false;
}

void Collect(const std::wstring& folder, std::vector<std::pair<std::wstring, std::wstring>>& out) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      Collect(folder + L"\\" + name, out);
    else if (IsFontFile(name))
      out.push_back({folder, name});
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring root = argc >= 2 ? argv[1] : L"Z:\\usr\\share\\fonts";
  std::vector<std::pair<std::wstring, std::wstring>> files;
  Collect(root, files);
  if (files.empty()) {
    fprintf(stderr, "bench_readers: no font files under %ls\n", root.c_str());
    return 2;
  }
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  auto elapsed = [&](const LARGE_INTEGER& start) {
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  };
  size_t faces = 0;
  size_t unreadable = 0;
  // Each pass reads the files and then only opens and closes them, so that both see the same
  // load of the machine; the ratio of each pass pair is kept as well as both times.
  std::vector<double> seconds, openSeconds, ratios;
  for (int pass = 0; pass <= kPasses; ++pass) {
    size_t passFaces = 0;
    size_t passUnreadable = 0;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    for (const auto& [folder, name] : files)
      ForEachFontItem(folder, name, [&](const FontItem& item) {
        ++passFaces;
        if (item.IsUnreadable()) ++passUnreadable;
      });
    const double read = elapsed(start);
    faces = passFaces;
    unreadable = passUnreadable;
    // The floor under any reader: opening and closing each file once, nothing read.
    ::QueryPerformanceCounter(&start);
    for (const auto& [folder, name] : files) {
      HANDLE file = ::CreateFileW((folder + L"\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr);
      if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }
    const double open = elapsed(start);
    if (pass == 0) continue;  // the warm-up pass
    seconds.push_back(read);
    openSeconds.push_back(open);
    ratios.push_back(open > 0 ? read / open : 0.0);
  }
  auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  const double readMedian = median(seconds);
  const double openMedian = median(openSeconds);
  printf("files %zu faces %zu unreadable %zu seconds %.4f faces/second %.0f (median of %d warm passes)\n",
         files.size(), faces, unreadable, readMedian, readMedian > 0 ? double(faces) / readMedian : 0.0, kPasses);
  printf("open and close only: seconds %.4f, %.1f us per file (the floor for one file read)\n", openMedian,
         openMedian * 1e6 / double(files.size()));
  printf("reading takes %.2f times the floor (median of the passes' ratios)\n", median(ratios));
  return 0;
}
