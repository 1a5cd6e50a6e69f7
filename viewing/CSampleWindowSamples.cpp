// The sample window's list of sample texts: the drop-down list box, the active sample and the
// editor run.
#include "viewing/CSampleWindow.h"

#include <algorithm>

#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "framework/Invariant.h"
#include "viewing/CSampleNewDlg.h"

namespace {

constexpr LPARAM kEditorEntryData = -1;

std::wstring ListText(HWND list, int index) {
  const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}

}  // namespace

void CSampleWindow::LoadSampleList() {
  ::SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
  samples_.Clear();
  // Built-in strings without a title are left out, so every entry but the last leads to a sample.
  LoadSamples(samples_);
  for (int i = 0; i < samples_.Count(); ++i) {
    const LRESULT entry = ::SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(samples_.Title(i).c_str()));
    if (entry >= 0) ::SendMessageW(listBox_, LB_SETITEMDATA, entry, i);
  }
  const std::wstring editor = LoadResString(IDS_SAMPLE_EDITOR_ENTRY);
  const LRESULT last = ::SendMessageW(listBox_, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(editor.c_str()));
  if (last >= 0) ::SendMessageW(listBox_, LB_SETITEMDATA, last, kEditorEntryData);
  FitSampleList();
}

int CSampleWindow::EditorEntry() const {
  return static_cast<int>(::SendMessageW(listBox_, LB_GETCOUNT, 0, 0)) - 1;
}

int CSampleWindow::FindListEntry(const std::wstring& title) const {
  if (title.empty()) return -1;
  int withoutCase = -1;
  const int samples = EditorEntry();
  for (int i = 0; i < samples; ++i) {
    const LRESULT data = ::SendMessageW(listBox_, LB_GETITEMDATA, i, 0);
    if (!samples_.IsValidIndex(static_cast<int>(data))) continue;
    const std::wstring& candidate = samples_.Title(static_cast<int>(data));
    if (candidate == title) return i;
    if (withoutCase < 0 && EqualsNoCase(candidate, title)) withoutCase = i;
  }
  return withoutCase;
}

void CSampleWindow::ApplySelectedSample() {
  if (currentIndex_ < 0) return;
  if (currentIndex_ == EditorEntry()) {
    ::SendMessageW(GetParent(), WM_COMMAND, ID_SAMPLE_EDIT_TEXTS, 0);
    return;
  }
  const LRESULT data = ::SendMessageW(listBox_, LB_GETITEMDATA, currentIndex_, 0);
  // The list box and the samples are filled together: an entry without its sample is a fault.
  if (data == LB_ERR || !ORV_CHECK(samples_.IsValidIndex(static_cast<int>(data)))) {
    currentIndex_ = -1;
    return;
  }
  activeTitle_ = samples_.Title(static_cast<int>(data));
  activeText_ = samples_.Text(static_cast<int>(data));
  g_Preferences.SampleText = activeText_;
  laidOutName_.clear();
  RecalcLayout(false);
  ::SendMessageW(GetParent(), WM_COMMAND, ID_SAMPLE_APPLIED, 0);
}

void CSampleWindow::SelectActiveSample(int x) {
  if (!listBox_) return;
  if (::IsWindowVisible(listBox_)) {
    HideSampleList();
    return;
  }
  ::SetWindowPos(listBox_, nullptr, x, -1, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOZORDER);
  ::SendMessageW(listBox_, LB_SETCURSEL, currentIndex_, 0);
  ::SetFocus(listBox_);
  if (currentIndex_ != -1) ::SendMessageW(listBox_, LB_SETTOPINDEX, currentIndex_, 0);
}

void CSampleWindow::ToggleSampleList(const NMTOOLBARW& info) {
  POINT corner{info.rcButton.left, info.rcButton.top};
  ::MapWindowPoints(info.hdr.hwndFrom, m_hWnd, &corner, 1);
  SelectActiveSample(corner.x);
}

void CSampleWindow::FitSampleList() {
  if (!listBox_) return;
  // Every entry, the editor's too, is measured and counted: all of them are reachable at once.
  int width = 0;
  const int entries = EditorEntry() + 1;
  {
    orv::ScopedGetDC dc(listBox_);
    orv::ScopedSelectObject select(dc.Get(), MessageFont());
    for (int i = 0; i < entries; ++i) {
      const std::wstring text = ListText(listBox_, i);
      SIZE extent{};
      ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
      width = std::max(width, static_cast<int>(extent.cx));
    }
  }
  width += 10;
  const int itemHeight = std::max(1, static_cast<int>(::SendMessageW(listBox_, LB_GETITEMHEIGHT, 0, 0)));
  RECT client{};
  GetClientRect(&client);
  int height = itemHeight * entries + 8;
  if (client.bottom < itemHeight * entries) {
    height = client.bottom;
    width += ::GetSystemMetrics(SM_CXVSCROLL);
  }
  ::SetWindowPos(listBox_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSampleWindow::EditSamples() {
  HideSampleList();
  // The editor lists the samples in their stored order, the list box sorted: the two meet by
  // title, never by position.
  std::wstring current;
  if (currentIndex_ >= 0 && currentIndex_ < EditorEntry()) {
    const LRESULT data = ::SendMessageW(listBox_, LB_GETITEMDATA, currentIndex_, 0);
    if (samples_.IsValidIndex(static_cast<int>(data))) current = samples_.Title(static_cast<int>(data));
  }
  CSampleNewDlg editor(sampleSize_, current);
  if (editor.DoModal(::GetActiveWindow()) == IDOK) {
    LoadSampleList();
    // No sample chosen in the editor: the active one stays when it still exists, else the last.
    currentIndex_ = FindListEntry(editor.CurrentTitle());
    if (currentIndex_ < 0) currentIndex_ = FindListEntry(activeTitle_);
    if (currentIndex_ < 0) currentIndex_ = EditorEntry() - 1;
    ApplySelectedSample();
  }
  ::SendMessageW(listBox_, LB_SETCURSEL, currentIndex_, 0);
}
