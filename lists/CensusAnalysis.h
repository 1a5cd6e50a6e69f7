// The census analysis and the row sets of the census filters, over the records of a census
// result list. Rows are indices into the records. Pure functions of the records: the result
// list calls them on its own thread.
//
// After a complete walk AnalyseCensus compares the records twice, by name and by file name,
// and marks them (census_flags): groups of faces of one name with their first row, copies that
// differ, copies under other file names, installed fonts without an identical copy, and file
// names shared by different fonts. Records already unusable (unreadable files) take no part:
// a name read from no font says nothing about copies, and a row that could neither open nor
// close a group must not merge the groups around it.
#pragma once

#include <vector>

#include "lists/CensusRecord.h"

// Sorts `rows` by the text of `column` without regard to case; rows with equal keys keep their
// order (so a sort of the records in walk order puts the system Fonts folder's copy first).
void SortCensusRows(const std::vector<CensusRecord>& records, std::vector<int>& rows, int column, bool ascending);

// Every record in record order.
[[nodiscard]] std::vector<int> AllCensusRows(const std::vector<CensusRecord>& records);

// Sets the analysis flags of every usable record; earlier analysis flags are cleared first.
void AnalyseCensus(std::vector<CensusRecord>& records);

// The rows of the filters, from rows sorted by name (by file name for the shared file names).
// Fonts present more than once: the groups of one name, except a pair of an installed font and
// one identical copy, wherever the pair lies in the list.
[[nodiscard]] std::vector<int> DuplicateRows(const std::vector<CensusRecord>& records, const std::vector<int>& byName);
// The rows whose record has any of `bits`, in the order given.
[[nodiscard]] std::vector<int> RowsWithFlags(const std::vector<CensusRecord>& records, const std::vector<int>& rows,
                                             uint32_t bits);
