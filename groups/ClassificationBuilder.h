// Writes new group trees under the root group from a collection of fonts: by the initial of the
// family name, by PANOSE kind and sub-kind, and by OS/2 family class; and groups of the system's
// own font files from the font sets listed in the resource library. Each tree hangs below a new
// kind group, a child of the root; no existing group but the root is changed.
//
// Built on the stack for one run, on the thread that writes the groups: the classification's
// worker for the three scan builders, the main thread for the system sets. The stop flag is
// read between fonts, so another thread may stop a long run; a stopped builder still saves
// what it built.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fonts/FontItem.h"

class ClassificationBuilder {
public:
  // Receives the status texts of a run (the family or group just written).
  using StatusSink = std::function<void(const std::wstring&)>;

  ClassificationBuilder(StatusSink status, const std::atomic<int>* stop) : status_(std::move(status)), stop_(stop) {}

  // Names by resource strings. Kind names: field `kind` of the PANOSE kinds (empty for a
  // negative kind or past the last field); sub-kinds: field `subKind` of the kind's serif-style
  // string (kinds below 2 use kind 2's). Family classes: the class byte, 14 from 0x0E00 on;
  // subclasses: the low byte, 15 from 15 on.
  static std::wstring PanoseKindName(int kind);
  static std::wstring PanoseSubKindName(int kind, int subKind);
  static std::wstring FamilyClassName(uint16_t familyClass);
  static std::wstring FamilySubclassName(uint16_t familyClass);

  // The keys of a face as the scan leaves them: PANOSE kind below 7 and sub-kind below 16, else
  // 0; a Type 1 font gets 14, 14 and the family class 0x7F7F.
  static void NormaliseClassKeys(FontItem& font);

  // The three builders over the collected fonts (any order; each sorts its own view). Each
  // writes one kind group with its tree and returns its file, or empty when the kind group
  // could not be started.
  std::wstring BuildByInitial(const std::vector<FontItem>& fonts);
  std::wstring BuildByPanose(const std::vector<FontItem>& fonts);
  std::wstring BuildByFamilyClass(const std::vector<FontItem>& fonts);

  // The system font sets: one group per set of `IDS_CLASSIFY_SET_NAMES` holding those of its
  // files that exist in `fontsFolder`, below a new kind group.
  std::wstring BuildSystemSets(const std::wstring& fontsFolder);
  // One set: true when a group was written and entered below `parentFile`.
  bool BuildSystemSetGroup(const std::wstring& name, const std::wstring& parentFile, size_t index,
                           const std::wstring& fontsFolder);

private:
  // Two-level builders share one walk; the key functions tell the levels apart.
  struct Levels;
  std::wstring BuildTwoLevels(const std::vector<FontItem>& fonts, UINT kindStringId, const Levels& levels);
  std::wstring StartKindGroup(UINT baseStringId, std::wstring& kindName);
  bool Stopped() const { return stop_ && stop_->load() != 0; }
  void Status(const std::wstring& text) const {
    if (status_) status_(text);
  }

  StatusSink status_;
  const std::atomic<int>* stop_;
};
