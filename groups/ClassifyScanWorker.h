// The walk of the font classification: a worker thread that walks the chosen folders with the
// folder walker (the wanted system and per-user Fonts folders first), reads every face of every
// font file it meets and collects one record per face; then, when the walk was not stopped, it
// writes the group trees of the chosen kinds (ClassificationBuilder) on the same thread, so that
// the dialog keeps painting and its stop button works while they are built.
//
// The worker never touches a window. It posts two bare messages to the window it reports to:
// kMsgProgress when the count, the current folder or the builders' text changed (at most every
// kProgressIntervalMs, one at a time) and kMsgDone as its last act. The window reads the
// progress with TakeProgress and, after kMsgDone, joins the thread (WaitForWalk) and only then
// reads the collected fonts and the kinds built. Stop asks the walk to end at the next file and
// a builder at the next font, which still saves what it built; the owner joins the thread
// before it goes away, and the destructor does so in any case.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

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

  // The group trees a scan can end in, built in this order.
  enum class Kind { kByInitial, kByPanose, kByFamilyClass };

  struct Options {
    std::wstring roots;  // the chosen folders, "|"-separated
    std::wstring systemFonts;
    std::wstring userFonts;
    bool wantSystem = false;
    bool wantUser = false;
    std::vector<Kind> kinds;  // built after a complete walk that collected fonts
  };
  struct Progress {
    uint32_t count = 0;
    std::wstring folder;
    bool building = false;    // the walk is over, the builders write groups
    std::wstring buildText;   // the family or group the builders wrote last
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
  const std::vector<Kind>& BuiltKinds() const { return built_; }

  // Walker hooks (worker thread).
  void OnFile();
  bool ShouldAbort() { return false; }
  bool AcceptFolder(DWORD attributes, bool isRoot) { return isRoot || IsFileShown(attributes); }
  bool AcceptFolderFiles();
  void OnWalkEnd();

private:
  void AddFace(FontFileReader& face);
  void PostProgress(bool force);
  void BuildGroups();

  HWND notify_;
  Options options_;  // the walk's copy
  bool systemMet_ = false;
  bool userMet_ = false;
  FontItemList collected_;  // the worker's until the walk is joined
  std::vector<Kind> built_;  // the worker's until the walk is joined
  std::mutex lock_;          // guards folder_, building_ and buildText_
  std::wstring folder_;
  bool building_ = false;
  std::wstring buildText_;
  std::atomic<uint32_t> count_{0};
  std::atomic<bool> progressPosted_{false};
  ULONGLONG lastProgress_ = 0;
};
