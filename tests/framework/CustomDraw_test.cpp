#include "framework/CustomDraw.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/WindowImpl.h"

namespace {

class CDrawHost : public orv::CWindowImpl<CDrawHost>, public orv::CCustomDraw<CDrawHost> {
public:
  DECLARE_WND_CLASS(L"OrvelCustomDrawTestHost")
  BEGIN_MSG_MAP(CDrawHost)
    CHAIN_MSG_MAP(orv::CCustomDraw<CDrawHost>)
    MESSAGE_HANDLER(WM_NOTIFY, OnOtherNotify)
  END_MSG_MAP()

  DWORD OnPrePaint(int, NMCUSTOMDRAW*) { return CDRF_NOTIFYITEMDRAW; }
  DWORD OnItemPrePaint(int, NMCUSTOMDRAW* cd) {
    items.push_back(cd->dwItemSpec);
    return CDRF_NOTIFYPOSTPAINT;
  }
  DWORD OnSubItemPrePaint(int, NMCUSTOMDRAW*) { return CDRF_NEWFONT; }

  std::vector<DWORD_PTR> items;
  int fallThrough = 0;

private:
  LRESULT OnOtherNotify(UINT, WPARAM, LPARAM, BOOL&) {
    ++fallThrough;
    return 77;
  }
};

}  // namespace

TEST(CustomDraw, StagesReachTheirHandlers) {
  CDrawHost host;
  ASSERT_TRUE(host.Create(nullptr, nullptr, L"host", WS_OVERLAPPEDWINDOW));
  NMCUSTOMDRAW cd{};
  cd.hdr = {host, 5, static_cast<UINT>(NM_CUSTOMDRAW)};
  const struct {
    DWORD stage;
    LRESULT result;
  } cases[] = {
      {CDDS_PREPAINT, CDRF_NOTIFYITEMDRAW},
      {CDDS_ITEMPREPAINT, CDRF_NOTIFYPOSTPAINT},
      {CDDS_ITEMPREPAINT | CDDS_SUBITEM, CDRF_NEWFONT},
      {CDDS_POSTPAINT, CDRF_DODEFAULT},
      {CDDS_PREERASE, CDRF_DODEFAULT},
      {CDDS_ITEMPOSTPAINT, CDRF_DODEFAULT},
      {CDDS_ITEMPOSTERASE, CDRF_DODEFAULT},
      {CDDS_POSTERASE | CDDS_SUBITEM, 77},  // no handler knows it: the map goes on
  };
  for (const auto& c : cases) {
    cd.dwDrawStage = c.stage;
    cd.dwItemSpec = c.stage;
    EXPECT_EQ(::SendMessageW(host, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&cd)), c.result) << std::hex << c.stage;
  }
  EXPECT_EQ(host.items, (std::vector<DWORD_PTR>{CDDS_ITEMPREPAINT}));
  EXPECT_EQ(host.fallThrough, 1);
  NMHDR click{host, 5, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(::SendMessageW(host, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&click)), 77);
  host.DestroyWindow();
}
