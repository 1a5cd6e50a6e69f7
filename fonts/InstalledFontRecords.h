// The records of the installed fonts list, in list order (the order in which its fill added
// them), with an index by name. The installed list publishes them on the main thread after each
// fill; the installed status resolution, the display-font fallback and the installer read them,
// also on a font list's detail-reader thread, without a lock: whoever refills the installed list
// first stops the readers that could be reading (the main frame's full font refresh does).
// Until the installed list publishes anything the set is empty (no installed font is known).
// The pointers stay owned by the installed list; a null entry is a position without a record.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

class FontItem;

class InstalledFontIndex {
public:
  InstalledFontIndex() = default;
  explicit InstalledFontIndex(std::vector<const FontItem*> records);

  const std::vector<const FontItem*>& Records() const { return records_; }
  size_t Size() const { return records_.size(); }

  // Positions, in list order, of the records whose full name (system language, else English)
  // equals `name` without regard to case. None: an empty list.
  const std::vector<size_t>& ByFullName(const std::wstring& name) const;
  // Positions of the records whose English full name equals `name` exactly.
  const std::vector<size_t>& ByEnglishFullName(const std::wstring& name) const;
  // Positions, in list order, of the records whose English full name equals `name` without
  // regard to case (an empty name too), one for each full name among them: the first record
  // of that full name. The display font looks for the faces of these full names.
  const std::vector<size_t>& FullNamesOfEnglishName(const std::wstring& name) const;
  // The position of this very record, or npos.
  size_t PositionOf(const FontItem* record) const;

  static constexpr size_t npos = static_cast<size_t>(-1);

private:
  std::vector<const FontItem*> records_;
  std::unordered_map<std::wstring, std::vector<size_t>> byFullName_;  // by FoldCase of the full name
  std::unordered_map<std::wstring, std::vector<size_t>> byEnglishName_;
  std::unordered_map<std::wstring, std::vector<size_t>> fullNamesOfEnglishName_;  // by FoldCase
  std::unordered_map<const FontItem*, size_t> positions_;
};

const InstalledFontIndex& InstalledFonts();
const std::vector<const FontItem*>& InstalledFontRecords();
// Publishes a new set (the installed list after its fill; tests). Main thread.
void SetInstalledFontRecords(std::vector<const FontItem*> records);
