#include "viewing/CSampleNewDlg.h"

#include <commdlg.h>

#include <algorithm>

#include "app/Preferences.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "framework/AppModule.h"

namespace {

constexpr int kImageNew = 1;
constexpr int kImageDelete = 2;
constexpr int kImageSize = 16;
constexpr wchar_t kCtrlA = 1;
constexpr uint32_t kStyleNoVerticalFonts = 0x40;
constexpr UINT kItemStates = LVIS_SELECTED | LVIS_FOCUSED;

}  // namespace

LRESULT CSampleTextEdit::OnChar(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != kCtrlA) {
    handled = FALSE;
    return 0;
  }
  ::SendMessageW(m_hWnd, EM_SETSEL, 0, -1);
  return 0;
}

CSampleNewDlg::CSampleNewDlg(int sampleSize, std::wstring currentTitle)
    : sampleSize_(sampleSize), currentTitle_(std::move(currentTitle)) {}

LRESULT CSampleNewDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  CenterWindow(GetParent());
  list_ = GetDlgItem(IDC_SAMPLE_TITLES);

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    metrics.lfMessageFont.lfHeight = -sampleSize_;
    editorFont_.Reset(::CreateFontIndirectW(&metrics.lfMessageFont));
  }
  edit_.SubclassWindow(GetDlgItem(IDC_SAMPLE_TEXT));
  ::SendMessageW(edit_.m_hWnd, EM_LIMITTEXT, kSampleTextMax, 0);
  if (editorFont_) ::SendMessageW(edit_.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(editorFont_.Get()), FALSE);

  orv::ScopedImageList images(::ImageList_LoadImageW(orv::g_Module.GetResourceInstance(),
                                                     MAKEINTRESOURCEW(IDR_FAVORITES_TOOLBAR), kImageSize, 0,
                                                     CLR_DEFAULT, IMAGE_BITMAP, LR_CREATEDIBSECTION));
  if (images) {
    deleteIcon_.Reset(::ImageList_GetIcon(images.Get(), kImageDelete, ILD_TRANSPARENT));
    newIcon_.Reset(::ImageList_GetIcon(images.Get(), kImageNew, ILD_TRANSPARENT));
  }
  deleteButton_.tooltipOn = 1;
  deleteButton_.tooltipText = LoadResString(IDS_SAMPLE_DELETE_TIP);
  deleteButton_.SetIcon(GetDlgItem(IDC_SAMPLE_DELETE), deleteIcon_.Get());
  newButton_.tooltipOn = 1;
  newButton_.tooltipText = LoadResString(IDS_SAMPLE_NEW_TIP);
  newButton_.SetIcon(GetDlgItem(IDC_SAMPLE_NEW), newIcon_.Get());

  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ::SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

  LoadSamples();
  FitColumn();
  modified_ = false;
  const int current = samples_.FindTitle(currentTitle_);
  if (current >= 0) {
    for (int item = 0; item < ::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0); ++item)
      if (ItemIndex(item) == current) SelectItem(item);
  }
  return TRUE;
}

LRESULT CSampleNewDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (edit_.m_hWnd) ::SendMessageW(edit_.m_hWnd, WM_SETFONT, 0, FALSE);
  handled = FALSE;
  return 0;
}

LRESULT CSampleNewDlg::OnHelp(UINT, WPARAM, LPARAM, BOOL&) {
  ShowHelpTopic(IDD);
  return TRUE;
}

LRESULT CSampleNewDlg::OnNcLButtonUp(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != HTHELP) {
    handled = FALSE;
    return 0;
  }
  ShowHelpTopic(IDD);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Items

int CSampleNewDlg::ItemIndex(int item) const {
  LVITEMW lv{};
  lv.mask = LVIF_PARAM;
  lv.iItem = item;
  if (!::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv))) return -1;
  return static_cast<int>(lv.lParam);
}

void CSampleNewDlg::SetItemIndex(int item, int index) {
  LVITEMW lv{};
  lv.mask = LVIF_PARAM;
  lv.iItem = item;
  lv.lParam = index;
  ::SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&lv));
}

void CSampleNewDlg::SelectItem(int item) {
  LVITEMW lv{};
  lv.stateMask = kItemStates;
  lv.state = kItemStates;
  ::SendMessageW(list_, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lv));
  ::SendMessageW(list_, LVM_ENSUREVISIBLE, item, FALSE);
}

void CSampleNewDlg::InsertAllItems(int select) {
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  LVITEMW lv{};
  lv.mask = LVIF_TEXT | LVIF_PARAM;
  for (int i = 0; i < samples_.Count(); ++i) {
    lv.iItem = i;
    lv.pszText = const_cast<wchar_t*>(samples_.Title(i).c_str());
    lv.lParam = i;
    ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv));
  }
  if (samples_.IsValidIndex(select)) {
    currentItem_ = select;
    SelectItem(select);
  }
}

void CSampleNewDlg::FitColumn() {
  ::ShowScrollBar(list_, SB_HORZ, FALSE);
  RECT window{}, client{};
  ::GetWindowRect(list_, &window);
  ::GetClientRect(list_, &client);
  int width = (window.right - window.left) - 2 * ::GetSystemMetrics(SM_CXEDGE);
  RECT item{};
  item.left = LVIR_BOUNDS;
  const int count = static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
  if (count > 0 && ::SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)) &&
      (item.bottom - item.top) * count >= client.bottom - client.top)
    width -= ::GetSystemMetrics(SM_CXVSCROLL);
  ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, std::max(width, 0));
}

void CSampleNewDlg::ShowText(int index) {
  settingText_ = true;
  ::SetWindowTextW(edit_.m_hWnd, samples_.IsValidIndex(index) ? samples_.Text(index).c_str() : L"");
  settingText_ = false;
  shownSample_ = samples_.IsValidIndex(index) ? index : -1;
  modified_ = false;
}

void CSampleNewDlg::CommitText() {
  if (modified_ && samples_.IsValidIndex(shownSample_))
    samples_.SetText(shownSample_, orv::CWindow(edit_.m_hWnd).GetWindowText());
  modified_ = false;
}

// ---------------------------------------------------------------------------------------------
// Loading

void CSampleNewDlg::LoadSamples() {
  samples_.Clear();
  if (LoadUserSamples(samples_) == 0) {
    LoadBuiltinSamples();
    return;
  }
  InsertAllItems(-1);
}

void CSampleNewDlg::LoadBuiltinSamples() {
  ::LoadBuiltinSamples(samples_);
  InsertAllItems(samples_.Count() - 1);
}

// ---------------------------------------------------------------------------------------------
// Commands

LRESULT CSampleNewDlg::OnNew(WORD, WORD, HWND, BOOL&) {
  AddSample();
  return 0;
}

void CSampleNewDlg::AddSample() {
  const std::wstring title = NewSampleTitle(samples_, LoadResString(IDS_SAMPLE_NEW_TITLE));
  LVITEMW lv{};
  lv.mask = LVIF_TEXT | LVIF_PARAM;
  lv.iItem = 0;
  lv.pszText = const_cast<wchar_t*>(title.c_str());
  lv.lParam = samples_.Count();
  const int item = static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv)));
  // A new sample's text is its title.
  samples_.Append(title, title);
  FitColumn();
  if (item < 0) return;
  currentItem_ = item;
  SelectItem(item);
  ::SetFocus(list_);
  ::SendMessageW(list_, LVM_EDITLABELW, item, 0);
}

LRESULT CSampleNewDlg::OnDelete(WORD, WORD, HWND, BOOL&) {
  DeleteSample();
  return 0;
}

void CSampleNewDlg::DeleteSample() {
  const int item = static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (item < 0) return;
  const int k = ItemIndex(item);
  if (shownSample_ != k) CommitText();
  samples_.RemoveAt(k);
  ::SendMessageW(list_, LVM_DELETEITEM, item, 0);
  ShowText(-1);
  currentItem_ = item;
  const int count = static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (ItemIndex(i) > k) SetItemIndex(i, ItemIndex(i) - 1);
  if (currentItem_ >= count) currentItem_ = count - 1;
  if (currentItem_ >= 0) SelectItem(currentItem_);
}

LRESULT CSampleNewDlg::OnChooseFont(WORD, WORD, HWND, BOOL&) {
  ChooseEditFont();
  return 0;
}

void CSampleNewDlg::ChooseEditFont() {
  LOGFONTW font{};
  ::GetObjectW(editorFont_ ? static_cast<HGDIOBJ>(editorFont_.Get()) : ::GetStockObject(DEFAULT_GUI_FONT),
               sizeof(font), &font);
  CHOOSEFONTW choose{sizeof(choose)};
  choose.hwndOwner = m_hWnd;
  choose.lpLogFont = &font;
  choose.Flags = CF_BOTH | CF_EFFECTS | CF_FORCEFONTEXIST | CF_SCALABLEONLY | CF_NOSCRIPTSEL | CF_INACTIVEFONTS |
                 CF_INITTOLOGFONTSTRUCT;
  if (g_Preferences.StyleFlags & kStyleNoVerticalFonts) choose.Flags |= CF_NOVERTFONTS;
  if (!::ChooseFontW(&choose)) return;
  orv::ScopedFont chosen(::CreateFontIndirectW(&font));
  if (!chosen) return;
  ::SendMessageW(edit_.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(chosen.Get()), TRUE);
  editorFont_ = std::move(chosen);
}

LRESULT CSampleNewDlg::OnRestore(WORD, WORD, HWND, BOOL&) {
  samples_.Clear();
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  ShowText(-1);
  LoadBuiltinSamples();
  currentItem_ = -1;
  return 0;
}

// After a rename: the list in array order again, with the current sample still selected.
LRESULT CSampleNewDlg::OnRebuild(WORD, WORD, HWND, BOOL&) {
  // Taking the items away does not deselect them first: an unsaved text would be overwritten by
  // the stored one when its item is selected again.
  CommitText();
  int remembered = ItemIndex(currentItem_);
  if (remembered < 0) remembered = 0;
  InsertAllItems(remembered);
  FitColumn();
  return 0;
}

LRESULT CSampleNewDlg::OnOK(WORD, WORD, HWND, BOOL&) {
  CommitText();
  SaveSamples(samples_);
  const int index = ItemIndex(currentItem_);
  currentTitle_ = samples_.IsValidIndex(index) ? samples_.Title(index) : std::wstring();
  EndDialog(IDOK);
  return 0;
}

LRESULT CSampleNewDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
  EndDialog(IDCANCEL);
  return 0;
}

LRESULT CSampleNewDlg::OnTextChange(WORD, WORD, HWND, BOOL&) {
  if (!settingText_) modified_ = true;
  return 0;
}

// ---------------------------------------------------------------------------------------------
// List notifications

LRESULT CSampleNewDlg::OnListKeyDown(int, NMHDR* hdr, BOOL&) {
  switch (reinterpret_cast<NMLVKEYDOWN*>(hdr)->wVKey) {
    case VK_INSERT:
      AddSample();
      break;
    case VK_DELETE:
      DeleteSample();
      break;
    case VK_F2: {
      const LRESULT item = ::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
      if (item >= 0) ::SendMessageW(list_, LVM_EDITLABELW, item, 0);
      break;
    }
    default:
      break;
  }
  return 0;
}

LRESULT CSampleNewDlg::OnBeginLabelEdit(int, NMHDR*, BOOL&) {
  if (HWND edit = reinterpret_cast<HWND>(::SendMessageW(list_, LVM_GETEDITCONTROL, 0, 0)))
    ::SendMessageW(edit, EM_LIMITTEXT, kSampleTitleMax, 0);
  return FALSE;
}

LRESULT CSampleNewDlg::OnEndLabelEdit(int, NMHDR* hdr, BOOL&) {
  const auto* info = reinterpret_cast<NMLVDISPINFOW*>(hdr);
  std::wstring title = info->item.pszText ? info->item.pszText : L"";
  const int k = ItemIndex(info->item.iItem);
  if (!samples_.IsValidIndex(k)) return FALSE;
  switch (CheckSampleTitle(samples_, k, title)) {
    case TitleCheck::RefuseWithBeep:
      seams::Beep(0);
      return FALSE;
    case TitleCheck::Refuse:
      return FALSE;
    case TitleCheck::Accept:
      break;
  }
  samples_.SetTitle(k, title);
  PostMessage(WM_COMMAND, ID_SAMPLE_LIST_REBUILD, 0);
  return TRUE;
}

LRESULT CSampleNewDlg::OnItemChanged(int, NMHDR* hdr, BOOL&) {
  const auto* change = reinterpret_cast<NMLISTVIEW*>(hdr);
  if (change->iItem < 0 || !(change->uChanged & LVIF_STATE)) return 0;
  const UINT oldState = change->uOldState & kItemStates;
  const UINT newState = change->uNewState & kItemStates;
  if ((change->uOldState | change->uNewState) & ~kItemStates || (oldState | newState) == 0) return 0;
  const int k = static_cast<int>(change->lParam);
  const bool wasSelected = (oldState & LVIS_SELECTED) != 0;
  const bool isSelected = (newState & LVIS_SELECTED) != 0;
  if (wasSelected) CommitText();
  if (isSelected) {
    ShowText(k);
    currentItem_ = change->iItem;
  } else if (wasSelected) {
    currentItem_ = -1;
    if (shownSample_ == k) ShowText(-1);
  }
  return 0;
}
