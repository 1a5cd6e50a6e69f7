// CCustomDraw<T>: splits NM_CUSTOMDRAW notifications by drawing stage and calls T's handlers:
//
//   DWORD OnPrePaint(int idCtrl, NMCUSTOMDRAW* cd)        CDDS_PREPAINT
//   DWORD OnPostPaint / OnPreErase / OnPostErase           the other whole-control stages
//   DWORD OnItemPrePaint / OnItemPostPaint / OnItemPreErase / OnItemPostErase
//   DWORD OnSubItemPrePaint                                CDDS_ITEMPREPAINT | CDDS_SUBITEM
//
// Each returns CDRF_* flags; the defaults return CDRF_DODEFAULT. A stage no handler knows is
// left unhandled so that the window's map goes on looking (or forwards it). Works for
// notifications a parent receives and, in the reflected map, for those a control gets back.
// T derives from CCustomDraw<T> and chains CHAIN_MSG_MAP(CCustomDraw<T>) (or
// CHAIN_MSG_MAP_ALT(CCustomDraw<T>, 1) for reflected notifications only).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/MessageMap.h"

namespace orv {

template <typename T>
class CCustomDraw {
public:
  BEGIN_MIXIN_MSG_MAP(CCustomDraw)
    NOTIFY_CODE_HANDLER(NM_CUSTOMDRAW, OnCustomDraw)
  ALT_MSG_MAP(1)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_CUSTOMDRAW, OnCustomDraw)
  END_MSG_MAP()

  LRESULT OnCustomDraw(int idCtrl, NMHDR* hdr, BOOL& handled) {
    T* self = static_cast<T*>(this);
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(hdr);
    switch (cd->dwDrawStage) {
      case CDDS_PREPAINT: return self->OnPrePaint(idCtrl, cd);
      case CDDS_POSTPAINT: return self->OnPostPaint(idCtrl, cd);
      case CDDS_PREERASE: return self->OnPreErase(idCtrl, cd);
      case CDDS_POSTERASE: return self->OnPostErase(idCtrl, cd);
      case CDDS_ITEMPREPAINT: return self->OnItemPrePaint(idCtrl, cd);
      case CDDS_ITEMPOSTPAINT: return self->OnItemPostPaint(idCtrl, cd);
      case CDDS_ITEMPREERASE: return self->OnItemPreErase(idCtrl, cd);
      case CDDS_ITEMPOSTERASE: return self->OnItemPostErase(idCtrl, cd);
      case CDDS_ITEMPREPAINT | CDDS_SUBITEM: return self->OnSubItemPrePaint(idCtrl, cd);
      default:
        handled = FALSE;
        return CDRF_DODEFAULT;
    }
  }

  DWORD OnPrePaint(int, NMCUSTOMDRAW*) { return CDRF_DODEFAULT; }
  DWORD OnPostPaint(int, NMCUSTOMDRAW*) { return CDRF_DODEFAULT; }
  DWORD OnPreErase(int, NMCUSTOMDRAW*) { return CDRF_DODEFAULT; }
  DWORD OnPostErase(int, NMCUSTOMDRAW*) { return CDRF_DODEFAULT; }
  DWORD OnItemPrePaint(int, NMCUSTOMDRAW*) { return CDRF_DODEFAULT; }
  DWORD OnItemPostPaint(int, NMCUSTOMDRAW*) { return CDRF_DODEFAULT; }
  DWORD OnItemPreErase(int, NMCUSTOMDRAW*) { return CDRF_DODEFAULT; }
  DWORD OnItemPostErase(int, NMCUSTOMDRAW*) { return CDRF_DODEFAULT; }
  DWORD OnSubItemPrePaint(int, NMCUSTOMDRAW*) { return CDRF_DODEFAULT; }

protected:
  ~CCustomDraw() = default;
};

}  // namespace orv
