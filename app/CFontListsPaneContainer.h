// The font-lists pane: the folder fonts list or the group fonts list, one in front at a time,
// each with its own caption and toolbar buttons.
#pragma once

#include <string>

#include "app/CTbPaneContainerImpl.h"
#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"

class CFontListsPaneContainer : public CTbPaneContainerImpl<CFontListsPaneContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelFontListsPane", CS_DBLCLKS, COLOR_3DFACE)

  static constexpr int kNoCount = -1;

  void AddButtons();
  COLORREF CaptionColor() const;

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
  // The folder list's caption with its count, kept for when the folder list comes to the front
  // and shown at once when it is in front.
  void SetFolderListCaption(const std::wstring& title, int count);
  void SetListTitles(const std::wstring& folderTitle, const std::wstring& groupTitle) {
    folderTitle_ = folderTitle;
    groupTitle_ = groupTitle;
  }

  [[nodiscard]] int FolderModeWidth() const { return folderModeWidth_; }
  [[nodiscard]] int GroupModeWidth() const { return groupModeWidth_; }

  BEGIN_MSG_MAP(CFontListsPaneContainer)
    COMMAND_ID_HANDLER_EX(ID_FONTS_INSTALL, OnInstallCommand)
    COMMAND_ID_HANDLER_EX(ID_FONTS_UNINSTALL, OnInstallCommand)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CFontListsPaneContainer>)
  END_MSG_MAP()

private:
  // 148 / 149: install or uninstall the folder list's selection, through the Fonts folder
  // unless Ctrl alone is held.
  void OnInstallCommand(UINT, int id, HWND);
  void ShowButton(int command, bool show) const;

  orv::ScopedImageList images_;
  std::wstring folderTitle_;
  std::wstring groupTitle_;
  int groupModeWidth_ = 0;
  int folderModeWidth_ = 0;
  bool folderMode_ = true;
  HWND folderList_ = nullptr;
  HWND groupList_ = nullptr;
};
