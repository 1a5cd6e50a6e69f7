// CSearchFilterPropSheet: the modal sheet in which the user edits the search filter, three
// pages in a tree (Characters, Unicode Ranges, Font Kinds), each with a Help button, no Apply
// button. The sheet holds its own copy of the record, which every page edits and which the
// caller reads back after OK; it also holds the getuname library for the character names.
// Built on the caller's stack for one run; main thread only.
#pragma once

#include "app/CTreePropertySheet.h"
#include "framework/Handles.h"
#include "search/CSearchFilterPropPageGlyphs.h"
#include "search/CSearchFilterPropPageRanges.h"
#include "search/CSearchFilterPropPageTypes.h"
#include "search/SearchFilter.h"

class CSearchFilterPropSheet : public CTreePropertySheet {
public:
  static constexpr int kTreeWidth = 236;

  explicit CSearchFilterPropSheet(const SearchFilter& filter);

  const SearchFilter& Filter() const { return filter_; }

  // Gives each page its tree item (Characters, then Ranges, then Kinds) and its tree mark.
  void OnInitialized() override;

private:
  SearchFilter filter_;
  orv::ScopedModule charNames_;

public:
  CSearchFilterPropPageGlyphs m_pageGlyphs;
  CSearchFilterPropPageRanges m_pageRanges;
  CSearchFilterPropPageTypes m_pageTypes;
};
