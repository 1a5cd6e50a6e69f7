#include "framework/PropertySheetImpl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kNextStep = WM_APP + 7;

// A page template with no controls, built in memory.
struct alignas(4) EmptyPageTemplate {
  DLGTEMPLATE dlg{WS_CHILD | WS_CAPTION | DS_3DLOOK, 0, 0, 0, 0, 200, 100};
  WORD menu = 0, windowClass = 0, title = 0, pad = 0;
};
const EmptyPageTemplate kTemplate;

struct Journal {
  std::vector<std::string> events;
  bool cancel = false;
};

class CTestPage : public orv::CPropertyPageImpl<CTestPage> {
public:
  CTestPage(const char* name, Journal& journal, int index) : name_(name), journal_(journal), index_(index) {
    SetTemplate(&kTemplate.dlg);
    SetTitle(index == 0 ? L"First" : L"Second");
  }

  BEGIN_MSG_MAP(CTestPage)
    MESSAGE_HANDLER(kNextStep, OnNextStep)
    CHAIN_MSG_MAP(orv::CPropertyPageImpl<CTestPage>)
  END_MSG_MAP()

  bool OnSetActive() {
    Log("active");
    ::PostMessageW(m_hWnd, kNextStep, 0, 0);
    return true;
  }
  bool OnKillActive() {
    Log("leave");
    return true;
  }
  int OnApply() {
    Log("apply");
    return PSNRET_NOERROR;
  }
  void OnReset() { Log("reset"); }

private:
  void Log(const char* what) { journal_.events.push_back(std::string(name_) + " " + what); }
  LRESULT OnNextStep(UINT, WPARAM, LPARAM, BOOL&) {
    HWND sheet = GetPropertySheet();
    if (index_ == 0) {
      SetModified();
      ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    } else {
      ::PostMessageW(sheet, PSM_PRESSBUTTON, journal_.cancel ? PSBTN_CANCEL : PSBTN_OK, 0);
    }
    return 0;
  }

  const char* name_;
  Journal& journal_;
  int index_;
};

class CTestSheet : public orv::CPropertySheetImpl<CTestSheet> {
public:
  void OnSheetInitialized() { boundWhileRunning = m_hWnd != nullptr; }
  bool boundWhileRunning = false;
};

}  // namespace

TEST(ModalPropertySheet, OkAppliesEveryShownPage) {
  Journal journal;
  CTestPage a("A", journal, 0), b("B", journal, 1);
  CTestSheet sheet;
  sheet.SetTitle(L"Options");
  sheet.AddPage(a);
  sheet.AddPage(b);
  EXPECT_GT(sheet.DoModal(nullptr), 0);
  EXPECT_TRUE(sheet.boundWhileRunning);
  EXPECT_EQ(sheet.m_hWnd, nullptr);
  const std::vector<std::string> expected = {"A active", "A leave", "B active", "B leave", "A apply", "B apply"};
  EXPECT_EQ(journal.events, expected);
}

TEST(ModalPropertySheet, CancelAppliesNothing) {
  Journal journal;
  journal.cancel = true;
  CTestPage a("A", journal, 0), b("B", journal, 1);
  CTestSheet sheet;
  sheet.AddPage(a);
  sheet.AddPage(b);
  EXPECT_EQ(sheet.DoModal(nullptr), 0);
  for (const std::string& e : journal.events) EXPECT_EQ(e.find("apply"), std::string::npos) << e;
}

TEST(ModalPropertySheet, NoPagesDoesNotRun) {
  CTestSheet sheet;
  EXPECT_EQ(sheet.DoModal(nullptr), -1);
}
