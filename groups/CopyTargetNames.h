// The destination names of one copy: no file of the copy is given a path that an earlier file of
// the same copy already has. The layouts that gather files from several folders into one (all
// flat, one folder per type) would otherwise put two fonts of one file name on one path, and
// the second would replace the first. A later file gets " (2)", " (3)" ... before its
// extension; the two files of a Type 1 font (".pfm" and ".pfb" of one name in one folder) are
// renamed together, so that they still pair up. The same files in the same walk order get the
// same names on every run, so a repeated backup replaces its own earlier copies.
//
// Built for one copy by `FontFileOperation`, on the main thread.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CopyTargetNames {
public:
  // A file that did not keep its name: where it came from and the name it was given.
  struct Renamed {
    std::wstring source;
    std::wstring target;
  };

  // The path for the file `source`, whose layout path is `target`: `target` itself, or a path
  // beside it under a name that no earlier file of the copy has.
  std::wstring Claim(const std::wstring& source, const std::wstring& target);

  const std::vector<Renamed>& RenamedFiles() const { return renamed_; }

private:
  std::unordered_set<std::wstring> taken_;                     // destination paths, case folded
  std::unordered_map<std::wstring, std::wstring> stemOwners_;  // Type 1 destination stem -> its source folder
  std::unordered_map<std::wstring, std::wstring> type1Stems_;  // source folder and stem -> destination stem
  std::vector<Renamed> renamed_;
};
