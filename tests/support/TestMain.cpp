// The main of every test executable: the resource library as resource instance (loaded as the
// program loads it), an STA, the common controls, and sinks for message boxes and beeps so that
// no test blocks on a box.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "app/ResourceLibrary.h"
#include "common/Seams.h"
#include "fonts/FaceLookups.h"
#include "framework/AppModule.h"
#include "tests/support/TestSupport.h"

namespace testing_support {
int BoxAnswer();
}

namespace {

int RecordBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  testing_support::Boxes().push_back({owner, text, caption, type});
  return testing_support::BoxAnswer();
}

void RecordBeep(UINT type) { testing_support::Beeps().push_back(type); }

void OpenNothing(HWND, const std::wstring&) {}

// Tests load fonts past the private font cache: no face lookup outlives its test.
struct ForgetFaceLookupsAtEachTest : ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { ForgetFaceLookups(); }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::CoInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), 0x672F};
  ::InitCommonControlsEx(&icc);
  orv::g_Module.Init(::GetModuleHandleW(nullptr));
  // Mapped as the program maps it: for its resources only, a handle with the data-file marks.
  orv::ScopedModule resources = LoadResourceLibrary(testing_support::BinDir() + L"\\OrvelRes64.dll");
  if (!resources) {
    std::fprintf(stderr, "OrvelRes64.dll not found beside the tests\n");
    return 2;
  }
  orv::g_Module.SetResourceInstance(resources.Get());
  seams::SetMessageBoxSink(&RecordBox);
  seams::SetBeepSink(&RecordBeep);
  seams::SetShellOpenSink(&OpenNothing);  // no test opens a browser
  ::testing::UnitTest::GetInstance()->listeners().Append(new ForgetFaceLookupsAtEachTest);
  const int result = RUN_ALL_TESTS();
  orv::g_Module.Term();
  ::CoUninitialize();
  return result;
}
