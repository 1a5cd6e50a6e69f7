// The font-lists pane: the folder fonts list or the group fonts list, one in front at a time,
// each with its own caption and toolbar buttons.
#pragma once

#include <string>

#include "app/CTbPaneContainerImpl.h"
#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"

class COrvelListView;

class CFontListsPaneContainer : public CTbPaneContainerImpl<CFontListsPaneContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelFontListsPane", CS_DBLCLKS, COLOR_3DFACE)

  static constexpr int kNoCount = -1;

  void AddButtons();
  COLORREF CaptionColor() const;
  // The caption of the list in front, whole: the paint shortens its title to the pane's width
  // and keeps its count (GetCaption: as shortened for the width it had when it was set).
  std::wstring CaptionText() const { return fullCaption_; }
  // The sort order of the list in front, in the caption.
  bool HasSortIcon() const { return true; }
  void DrawSortIcon(HDC dc, int left, int top);
  void SetCaption(const std::wstring& text, size_t keepHead = 0, size_t keepTail = 0) {
    fullCaption_ = text;
    CTbPaneContainerImpl<CFontListsPaneContainer>::SetCaption(text, keepHead, keepTail);
  }

  // The two lists this pane switches between.
  void SetLists(HWND folderList, HWND groupList) {
    folderList_ = folderList;
    groupList_ = groupList;
  }
  // 1: the folder list in front; anything else: the group list.
  void ShowFontList(LPARAM which);
  [[nodiscard]] bool FolderListShown() const { return folderMode_; }

  // Caption of the list in front: the title shortened to fit, then " [count]" unless kNoCount.
  void SetCaptionWithCount(const std::wstring& title, int count);
  // A list's caption with its count, kept for when that list comes to the front and shown at
  // once when it is in front.
  void SetListCaption(bool folderList, const std::wstring& title, int count);
  void SetFolderListCaption(const std::wstring& title, int count) { SetListCaption(true, title, count); }
  void SetGroupListCaption(const std::wstring& title, int count) { SetListCaption(false, title, count); }
  void SetListTitles(const std::wstring& folderTitle, const std::wstring& groupTitle) {
    folderTitle_ = {folderTitle, folderTitle, 0};
    groupTitle_ = {groupTitle, groupTitle, 0};
  }

  [[nodiscard]] int FolderModeWidth() const { return folderModeWidth_; }
  [[nodiscard]] int GroupModeWidth() const { return groupModeWidth_; }

  // Enables the buttons of the list in front by its selection (the main frame's idle pass).
  void UpdateToolbarState();

  BEGIN_MSG_MAP(CFontListsPaneContainer)
    COMMAND_ID_HANDLER_EX(ID_FONTS_INSTALL, OnInstallCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUP_LIST_INSTALL, OnInstallCommand)
    COMMAND_ID_HANDLER_EX(ID_FONTS_UNINSTALL, OnInstallCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUP_LIST_UNINSTALL, OnInstallCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUP_REMOVE_FONTS, OnRemoveFromGroupCommand)
    COMMAND_ID_HANDLER_EX(ID_PANE_PARENT_FOLDER, OnParentCommand)
    COMMAND_ID_HANDLER_EX(ID_PANE_MENU, OnMenuCommand)
    MSG_WM_MOUSE(WM_LBUTTONDOWN, OnCaptionClick)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CFontListsPaneContainer>)
  END_MSG_MAP()

private:
  // The list in front and the tree that drives it.
  COrvelListView& ListInFront() const;
  HWND DrivingTree() const;
  void OnInstallCommand(UINT, int id, HWND);
  void OnRemoveFromGroupCommand(UINT, int, HWND);
  void OnParentCommand(UINT, int, HWND);
  void OnMenuCommand(UINT, int, HWND source);
  // A click on the caption sorts the list in front the other way; the click goes on.
  void OnCaptionClick(UINT keys, POINT at);
  orv::ScopedImageList images_;
  orv::ScopedImageList disabledImages_;  // greyed copy for disabled buttons
  // A list's caption: whole, as shortened when it was set, and the length of its count.
  struct ListCaption {
    std::wstring full, shortened;
    size_t countLength = 0;
  };
  ListCaption folderTitle_;
  ListCaption groupTitle_;
  std::wstring fullCaption_;  // of the list in front
  int groupModeWidth_ = 0;
  int folderModeWidth_ = 0;
  bool folderMode_ = true;
  HWND folderList_ = nullptr;
  HWND groupList_ = nullptr;
};
