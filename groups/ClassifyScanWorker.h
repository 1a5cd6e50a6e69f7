// The walk of the font classification: a worker thread that walks the chosen folders with the
// folder walker (the wanted system and per-user Fonts folders first), reads every face of every
// font file it meets and collects one record per face.
//
// The worker never touches a window. It posts two bare messages to the window it reports to:
// kMsgProgress when the count or the current folder changed (at most every
// kProgressIntervalMs, one at a time) and kMsgDone as its last act. The window reads the
// progress with TakeProgress and, after kMsgDone, joins the thread (WaitForWalk) and only then
// reads the collected fonts. Stop asks the walk to end at the next file; the owner joins it
// before it goes away, and the destructor does so in any case.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "lists/CFolderWalkerImpl.h"
#include "lists/FontItemList.h"

class FontFileReader;

class ClassifyScanWorker : public CFolderWalkerImpl<ClassifyScanWorker> {
public:
  static constexpr UINT kMsgProgress = WM_APP + 0x71;
  static constexpr UINT kMsgDone = WM_APP + 0x72;
  static constexpr int kStatusStop = 2;
  static constexpr ULONGLONG kProgressIntervalMs = 100;
  static constexpr wchar_t kFontPatterns[] = L"*.ttf|*.otf|*.ttc|*.pfm";

  struct Options {
    std::wstring roots;  // the chosen folders, "|"-separated
    std::wstring systemFonts;
    std::wstring userFonts;
    bool wantSystem = false;
    bool wantUser = false;
  };
  struct Progress {
    uint32_t count = 0;
    std::wstring folder;
  };

  explicit ClassifyScanWorker(HWND notify = nullptr) : notify_(notify) {}
  ~ClassifyScanWorker();

  void SetNotifyWindow(HWND notify) { notify_ = notify; }

  // The walk's roots: the system Fonts folder, the per-user one, then the chosen folders.
  static std::wstring BuildRoots(const Options& options);

  // Empties the collection and starts a walk on a worker thread (after joining an ended one).
  // False when the thread could not be started; nothing is posted then.
  bool StartScan(const Options& options);
  void Stop() { m_status = kStatusStop; }
  bool Stopped() const { return m_status == kStatusStop; }

  Progress TakeProgress();
  // Owner's thread, after WaitForWalk only.
  FontItemList& Collected() { return collected_; }

  // Walker hooks (worker thread).
  void OnFile();
  bool ShouldAbort() { return false; }
  bool AcceptFolder(DWORD attributes, bool isRoot) { return isRoot || IsFileShown(attributes); }
  bool AcceptFolderFiles();
  void OnWalkEnd();

private:
  void AddFace(FontFileReader& face);
  void PostProgress(bool force);

  HWND notify_;
  Options options_;  // the walk's copy
  bool systemMet_ = false;
  bool userMet_ = false;
  FontItemList collected_;  // the worker's until the walk is joined
  std::mutex lock_;          // guards folder_
  std::wstring folder_;
  std::atomic<uint32_t> count_{0};
  std::atomic<bool> progressPosted_{false};
  ULONGLONG lastProgress_ = 0;
};
