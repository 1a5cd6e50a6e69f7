// The groups tree pane: caption "Font Groups", quick-search switch, install or uninstall of the
// selected group (one of the two buttons shown at a time) and the pane menu.
#pragma once

#include "app/CTbPaneContainerImpl.h"
#include "framework/Handles.h"

class CGroupsTVContainer : public CTbPaneContainerImpl<CGroupsTVContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelGroupsPane", CS_DBLCLKS, COLOR_3DFACE)

  void AddButtons();
  COLORREF CaptionColor() const;
  UINT CaptionFlags() const { return DT_END_ELLIPSIS; }
  int TextBottom() const { return captionNoBand_; }
  void OnPaneCreated() { captionNoBand_ = m_cyCaption; }

  BEGIN_MSG_MAP(CGroupsTVContainer)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CGroupsTVContainer>)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

private:
  orv::ScopedImageList images_;
  int captionNoBand_ = 0;
};
