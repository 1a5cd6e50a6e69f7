// The sample texts the sample pane draws fonts with: titles and texts side by side, the built-in
// samples of the resource library and the user's samples under HKCU
// SOFTWARE\OrvelManager\Samples (one REG_SZ value per sample, named by its title, rewritten as a
// whole by the sample editor). A sample is known to the rest of the program only by its title.
// Main thread only.
#pragma once

#include <string>
#include <vector>

inline constexpr wchar_t kSamplesKeyPath[] = L"SOFTWARE\\OrvelManager\\Samples";
inline constexpr wchar_t kSamplesSubKey[] = L"Samples";
inline constexpr int kSampleTitleMax = 31;   // characters of a title typed in the editor
inline constexpr int kSampleTextMax = 1000;  // characters of a text typed in the editor

// Titles and texts in step: entry i is sample i. Titles are unique (registry value names are,
// and the editor refuses a duplicate).
class SampleList {
public:
  int Count() const { return static_cast<int>(titles_.size()); }
  bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }
  const std::wstring& Title(int index) const { return titles_[static_cast<size_t>(index)]; }
  const std::wstring& Text(int index) const { return texts_[static_cast<size_t>(index)]; }
  void SetTitle(int index, std::wstring title) { titles_[static_cast<size_t>(index)] = std::move(title); }
  void SetText(int index, std::wstring text) { texts_[static_cast<size_t>(index)] = std::move(text); }

  void Append(std::wstring title, std::wstring text);
  // Removes sample `index`, keeping the order of the others; an index outside does nothing.
  void RemoveAt(int index);
  void Clear();
  // The index of the sample with exactly this title (case-sensitive), or -1.
  int FindTitle(const std::wstring& title) const;

private:
  std::vector<std::wstring> titles_;
  std::vector<std::wstring> texts_;
};

// Appends the user's samples in the key's enumeration order; the number appended.
int LoadUserSamples(SampleList& list);

// A built-in sample string is "title<TAB>text"; only the first TAB separates. False (outputs
// untouched) when there is no TAB after at least one character.
bool SplitBuiltinSample(const std::wstring& resource, std::wstring& title, std::wstring& text);

// Appends the built-in samples that have the title-TAB-text form; the number appended.
int LoadBuiltinSamples(SampleList& list);

// The user's samples, or the built-ins when the user has none.
void LoadSamples(SampleList& list);

// Replaces the Samples key by the list: the old key is deleted, each sample written in order.
void SaveSamples(const SampleList& list);

// The title of a new sample: `base` when free, else "base (1)", "base (2)", ... whichever comes
// first that no sample has (exact comparison).
std::wstring NewSampleTitle(const SampleList& list, const std::wstring& base);

// What becomes of a title typed for sample `index`.
enum class TitleCheck {
  Accept,          // the trimmed title is new
  Refuse,          // empty after trimming, or unchanged: refused without a word
  RefuseWithBeep,  // another sample has it
};
// Trims white space from both ends of `title` in place and checks it.
TitleCheck CheckSampleTitle(const SampleList& list, int index, std::wstring& title);
