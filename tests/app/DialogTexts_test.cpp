// Every dialog template of the resource library, made as the program makes it: each label and
// button of each dialog shows its whole text in the dialog's own font, the font the system
// resolves the template's face to on this machine. Texts filled in at run time are the
// dialogs' own tests' business; here the templates' texts are measured.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/AppModule.h"
#include "framework/Handles.h"
#include "tests/support/ControlLayout.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

BOOL CALLBACK CollectDialog(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<WORD>*>(param)->push_back(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::wstring ControlText(HWND control) {
  wchar_t text[512] = {};
  ::InternalGetWindowText(control, text, 512);
  return text;
}

}  // namespace

TEST(DialogTexts, EveryLabelOfEveryDialogShowsItsWholeText) {
  // The one window class of the templates that the common controls do not bring.
  orv::ScopedModule richEdit(::LoadLibraryW(L"riched20.dll"));
  const HMODULE res = orv::g_Module.GetResourceInstance();
  std::vector<WORD> dialogs;
  ::EnumResourceNamesW(res, RT_DIALOG, CollectDialog, reinterpret_cast<LONG_PTR>(&dialogs));
  ASSERT_GT(dialogs.size(), 30u) << "the dialog templates of the resource library";
  // Child templates (property pages, parts of the print dialog) need a parent.
  HWND host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(host);
  std::vector<WORD> unmade;
  std::string cut;
  size_t labels = 0;
  for (WORD id : dialogs) {
    HWND dialog = ::CreateDialogParamW(res, MAKEINTRESOURCEW(id), host, PlainDialog, 0);
    if (!dialog) {
      unmade.push_back(id);
      continue;
    }
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      const std::wstring text = ControlText(child);
      if (text.empty()) continue;
      ++labels;
      if (!ShowsWholeText(child))
        cut += "  dialog " + std::to_string(id) + ", control " + std::to_string(::GetDlgCtrlID(child)) + ": \"" +
               Narrow(text) + "\"\n";
    }
    ::DestroyWindow(dialog);
  }
  ::DestroyWindow(host);
  EXPECT_TRUE(unmade.empty()) << unmade.size() << " templates could not be made, the first " << unmade[0];
  EXPECT_GT(labels, 200u) << "labels measured";
  EXPECT_EQ(cut, "") << "labels that cut their text";
}
