// The real main window over a folder of real fonts (a face no one has installed and a copy of an
// installed one) and a groups folder whose one group lists the first, wired as the program wires
// it at its start; the states the command sweep brings it into, and the table of what every
// command it offers must do (CommandSweepTable.cpp).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/CommandSweep.h"
#include "tests/app/GroupsMainFrame.h"

namespace command_sweep {

// Where a command goes: the main window, a pane (from its toolbar), or the tree or list that
// owns a context menu.
enum class At {
  Frame,
  FolderPane,
  GroupsPane,
  ListsPane,
  InstalledPane,
  SamplePane,
  FolderTree,
  GroupsTree,
  FolderList,
  GroupList,
  InstalledList
};
const char* Name(At at);

// How a command is offered in a state: not at all, disabled, or enabled.
enum class Offer { Hidden, Disabled, Enabled };
const char* Name(Offer offer);

// A state of the window: which list is in front and which font row of which list is selected.
struct State {
  const char* name;
  bool groupList = false;          // the group list in front, the fixture's group selected
  At selectedIn = At::Frame;       // the list with a selected font (Frame: none)
  const wchar_t* row = nullptr;    // its display name
  [[nodiscard]] bool font() const { return row != nullptr; }
};

inline constexpr wchar_t kTaggedFont[] = L"Sweepy Sans";      // a face no one has installed
inline constexpr wchar_t kInstalledCopy[] = L"DejaVu Serif";  // a copy of an installed face
inline constexpr wchar_t kInstalledFont[] = L"DejaVu Sans";   // a row of the installed list

class CommandSweep : public GroupsMainFrame {
protected:
  void SetUp() override;
  void TearDown() override;

  void OpenWindow();
  // The idle passes, until no deferred job is left (with the folder tree's pre-fill done).
  void Idle();
  // Brings the window into a state: the fixture folder in the folder list, the fixture's group
  // (or the root group) in the groups tree, the list in front, one row selected or none.
  void Apply(const State& s);

  // Every command of the menu bar, the accelerators, the main toolbar; of one pane's toolbar
  // (`only`: just these commands); of the context menu a pane shows for its tree or list.
  void SweepFrame();
  void SweepToolbar(At at, HWND toolbar, const std::vector<UINT>& only = {});
  void SweepContextMenu(HWND pane, At owner, HWND client);
  // What went wrong, one line each; empty when every command did what it says.
  const std::string& Failures() const { return failures_; }

  CMainFrame& Frame() { return *frame_; }
  MainPanes& Panes() { return frame_->Panes(); }
  COrvelListView* List(At at) const;
  int Selected(At at) const;
  int Items(At at) const;
  HTREEITEM GroupItem() const;
  std::wstring Fixture(const std::wstring& name) const { return fonts_ + L"\\" + name; }
  const std::wstring& FontsFolder() const { return fonts_; }
  const State& Current() const { return *state_; }
  bool ToolsEmpty() const;
  // The groups folder as the test made it (root and one group, none installed), read again.
  void ResetGroups();

  using Again = std::function<Outcome()>;
  struct Row {
    At at;
    UINT id;
    std::function<Offer(const State&)> offer;
    std::function<void()> prepare;  // what the check needs in order to see the change; may be empty
    // Empty when the effect is there, else what is wrong. `again` sends the command once more.
    std::function<std::string(const Outcome&, const Again& again)> check;
  };
  std::vector<Row> Table();  // CommandSweepTable.cpp

private:
  void WriteGroup();
  const Row* Find(At at, UINT id) const;
  // Sends one command in the current state, checks it against its row, and restores the state.
  void Sweep(const char* route, At at, UINT id, Offer offered, const std::function<void()>& send);
  void ExpectOffered(const char* route, At at, const std::vector<UINT>& seen, const std::vector<UINT>& only = {});
  Outcome Run(const std::function<void()>& send);

  std::wstring fonts_;
  testing_support::ScratchDir fontsDir_;
  std::unique_ptr<SweepSinks> sinks_;
  const State* state_ = nullptr;
  std::vector<Row> table_;
  std::string failures_;
  bool savedAdmin_ = false;
  bool savedElevated_ = false;
};

}  // namespace command_sweep
