#include "fonts/FaceLookups.h"

#include <cwchar>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace {

// A bound against a run that looks up ever new names without the fonts changing (the
// installed list scrolled end to end stays far below it).
constexpr size_t kMaxFaceLookups = 65536;

struct FaceLookups {
  std::mutex lock;
  std::unordered_map<std::wstring, FaceLookup> faces;
  uint64_t state = 0;  // counts the changes of the fonts
};

FaceLookups& Current() {
  static FaceLookups lookups;
  return lookups;
}

}  // namespace

std::wstring FaceLookupKey(const LOGFONTW& logFont, const wchar_t* fullName) {
  // The face name's length first, so that no two keys run together.
  const size_t faceLength = ::wcsnlen(logFont.lfFaceName, LF_FACESIZE);
  std::wstring key(1, static_cast<wchar_t>(faceLength));
  key.append(logFont.lfFaceName, faceLength);
  key += static_cast<wchar_t>(logFont.lfCharSet);
  key += fullName;
  return key;
}

bool FindFaceLookup(const std::wstring& key, FaceLookup& face, uint64_t& state) {
  FaceLookups& lookups = Current();
  std::lock_guard<std::mutex> guard(lookups.lock);
  state = lookups.state;
  const auto it = lookups.faces.find(key);
  if (it == lookups.faces.end()) return false;
  face = it->second;
  return true;
}

void RememberFaceLookup(const std::wstring& key, FaceLookup face, uint64_t state) {
  FaceLookups& lookups = Current();
  std::lock_guard<std::mutex> guard(lookups.lock);
  if (state != lookups.state) return;  // the fonts changed while it was looked up
  if (lookups.faces.size() >= kMaxFaceLookups) lookups.faces.clear();
  lookups.faces.insert_or_assign(key, std::move(face));
}

void ForgetFaceLookups() {
  FaceLookups& lookups = Current();
  std::lock_guard<std::mutex> guard(lookups.lock);
  ++lookups.state;
  lookups.faces.clear();
}
