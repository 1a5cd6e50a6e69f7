// The main frame's seven tool-window slots, driven with stand-in tool windows: a tool that
// reports its closing with command 339 is deleted and its slot emptied; the main window's close
// destroys the search, census, registered-fonts and folders-with-fonts windows and leaves the
// group checks dialog and the two tool frames alone.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "app/ToolWindows.h"
#include "app/WindowLayout.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

constexpr ToolWindowId kAllTools[] = {ToolWindowId::SearchDlg,      ToolWindowId::CensusDlg,
                                      ToolWindowId::DirWithFontsDlg, ToolWindowId::GroupChecksDlg,
                                      ToolWindowId::ListRegistryFontsDlg, ToolWindowId::FontSheetFrame,
                                      ToolWindowId::CharMapFrame};

struct ToolLog {
  std::vector<WORD> deleted;  // closing identifiers of the deleted stand-ins, in order
  std::vector<WORD> cleared;  // those whose window handle was cleared before deletion
};

// A top-level window standing in for a tool: once its window is gone it posts command 339 with
// its closing identifier to the main window, as every tool does.
class CStandInTool : public orv::CWindowImpl<CStandInTool>, public CToolWindow {
public:
  DECLARE_WND_CLASS(L"OrvelStandInTool")
  BEGIN_MSG_MAP(CStandInTool)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

  CStandInTool(ToolWindowId id, ToolLog& log) : id_(static_cast<WORD>(id)), log_(log) {
    // Hidden: mapping a top-level window costs seconds under a display without window manager.
    Create(nullptr, nullptr, L"Stand-in tool", WS_OVERLAPPEDWINDOW);
  }
  ~CStandInTool() override { log_.deleted.push_back(id_); }

  HWND GetToolWindow() const override { return m_hWnd; }
  void ClearToolWindow() override {
    log_.cleared.push_back(id_);
    m_hWnd = nullptr;
  }

private:
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_TOOL_WINDOW_CLOSED, id_);
    handled = FALSE;
    return 0;
  }

  WORD id_;
  ToolLog& log_;
};

void DrainQuit() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

class ToolWindowsOfTheMainFrame : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    frame_ = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    PumpMessages(100);
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    frame_.reset();
    for (CStandInTool* tool : leftOver_) {
      if (tool->IsWindow()) tool->DestroyWindow();
      delete tool;
    }
    PumpMessages(20);
    DrainQuit();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }
  CStandInTool* Open(ToolWindowId id) {
    auto tool = std::make_unique<CStandInTool>(id, log_);
    CStandInTool* raw = tool.get();
    EXPECT_TRUE(raw->IsWindow());
    frame_->Tools().Set(id, std::move(tool));
    return raw;
  }
  void SendClosed(WORD closingId) { frame_->SendMessage(WM_COMMAND, ID_TOOL_WINDOW_CLOSED, closingId); }

  std::unique_ptr<CMainFrame> frame_;
  ToolLog log_;
  std::vector<CStandInTool*> leftOver_;  // tools whose windows outlive the frame, cleaned up here
};

TEST_F(ToolWindowsOfTheMainFrame, AllSlotsStartEmpty) {
  for (ToolWindowId id : kAllTools) EXPECT_EQ(frame_->Tools().Get(id), nullptr) << static_cast<int>(id);
  // Nothing to delete: the command is harmless.
  for (ToolWindowId id : kAllTools) SendClosed(static_cast<WORD>(id));
  EXPECT_TRUE(log_.deleted.empty());
}

TEST_F(ToolWindowsOfTheMainFrame, ClosingToolIsDeletedAndOnlyItsSlotEmptied) {
  std::vector<CStandInTool*> tools;
  for (ToolWindowId id : kAllTools) tools.push_back(Open(id));
  for (size_t i = 0; i < std::size(kAllTools); ++i) {
    const ToolWindowId id = kAllTools[i];
    SCOPED_TRACE(static_cast<int>(id));
    ASSERT_EQ(frame_->Tools().Get(id), tools[i]);
    // The user closes the tool: its window goes, it posts 339, the frame deletes it.
    tools[i]->DestroyWindow();
    PumpMessages(30);
    ASSERT_EQ(log_.deleted.size(), i + 1);
    EXPECT_EQ(log_.deleted.back(), static_cast<WORD>(id));
    EXPECT_EQ(frame_->Tools().Get(id), nullptr);
    for (size_t j = i + 1; j < std::size(kAllTools); ++j) EXPECT_EQ(frame_->Tools().Get(kAllTools[j]), tools[j]);
  }
  // The dialogs forget their window before they go; the two frames are simply deleted.
  const std::vector<WORD> dialogs = {1052, 1054, 1055, 1065, 714};
  EXPECT_EQ(log_.cleared, dialogs);
}

TEST_F(ToolWindowsOfTheMainFrame, OnlyTheLowWordNamesTheTool) {
  Open(ToolWindowId::CensusDlg)->DestroyWindow();
  PumpMessages(30);  // the stand-in's own 339 deletes it
  ASSERT_EQ(log_.deleted.size(), 1u);
  // The search stand-in goes without telling the main window; the command comes with a high
  // word that names nothing.
  CStandInTool* search = Open(ToolWindowId::SearchDlg);
  const HWND main = g_AppState.MainWindow;
  g_AppState.MainWindow = nullptr;
  search->DestroyWindow();
  g_AppState.MainWindow = main;
  PumpMessages(20);
  ASSERT_EQ(frame_->Tools().Get(ToolWindowId::SearchDlg), search);
  frame_->SendMessage(WM_COMMAND, ID_TOOL_WINDOW_CLOSED, MAKELPARAM(1052, 0x7777));
  EXPECT_EQ(frame_->Tools().Get(ToolWindowId::SearchDlg), nullptr);
  EXPECT_EQ(log_.deleted.size(), 2u);
}

TEST_F(ToolWindowsOfTheMainFrame, UnknownIdentifierOrLiveWindowDeletesNothing) {
  CStandInTool* sheet = Open(ToolWindowId::FontSheetFrame);
  CStandInTool* checks = Open(ToolWindowId::GroupChecksDlg);
  for (WORD other : {WORD{0}, WORD{999}, WORD{1069}, WORD{0xFFFF}}) SendClosed(other);
  EXPECT_TRUE(log_.deleted.empty());
  // A 339 for a tool whose window is still there would leave that window bound to a deleted
  // object: the tool stays until its window has really gone.
  SendClosed(173);
  EXPECT_EQ(frame_->Tools().Get(ToolWindowId::FontSheetFrame), sheet);
  EXPECT_TRUE(sheet->IsWindow());
  EXPECT_TRUE(log_.deleted.empty());
  sheet->DestroyWindow();
  PumpMessages(30);
  EXPECT_EQ(frame_->Tools().Get(ToolWindowId::FontSheetFrame), nullptr);
  EXPECT_EQ(frame_->Tools().Get(ToolWindowId::GroupChecksDlg), checks);
  EXPECT_EQ(log_.deleted, std::vector<WORD>{173});
}

TEST_F(ToolWindowsOfTheMainFrame, MainWindowCloseDestroysFourToolsAndLeavesThree) {
  std::vector<CStandInTool*> tools;
  for (ToolWindowId id : kAllTools) tools.push_back(Open(id));
  frame_->SendMessage(WM_CLOSE);
  EXPECT_FALSE(frame_->IsWindow());
  for (size_t i = 0; i < std::size(kAllTools); ++i) {
    const ToolWindowId id = kAllTools[i];
    const bool stays = id == ToolWindowId::GroupChecksDlg || id == ToolWindowId::FontSheetFrame ||
                       id == ToolWindowId::CharMapFrame;
    EXPECT_EQ(tools[i]->IsWindow() != FALSE, stays) << static_cast<int>(id);
  }
  // Their 339s find no main window any more; the frame object lets the destroyed tools go with
  // it, and the three that stay open live on until the process ends.
  PumpMessages(30);
  frame_.reset();
  std::vector<WORD> deleted = log_.deleted;
  std::sort(deleted.begin(), deleted.end());
  EXPECT_EQ(deleted, (std::vector<WORD>{714, 1052, 1054, 1055}));
  for (size_t i = 0; i < std::size(kAllTools); ++i) {
    if (tools[i]->IsWindow()) leftOver_.push_back(tools[i]);
  }
  EXPECT_EQ(leftOver_.size(), 3u);
  // Still working windows.
  for (CStandInTool* tool : leftOver_) EXPECT_TRUE(tool->SetWindowText(L"still here"));
}

}  // namespace
