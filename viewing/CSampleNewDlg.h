// CSampleNewDlg: the modal sample editor (template 1011). The user adds, renames, rewrites,
// deletes and restores sample texts in a copy of the stored samples; OK writes the copy back as
// a whole (SaveSamples), Cancel drops it. The titles are listed in their stored order, each item
// carrying its sample's index in the editor's SampleList. The sample pane runs it through
// CSampleWindow::EditSamples and learns the chosen sample by its title. Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/CBmpButton.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/Handles.h"
#include "viewing/SampleList.h"

// The text box of the editor: Ctrl+A selects the whole text.
class CSampleTextEdit : public orv::CWindowImpl<CSampleTextEdit> {
public:
  BEGIN_MSG_MAP(CSampleTextEdit)
    MESSAGE_HANDLER(WM_CHAR, OnChar)
  END_MSG_MAP()

private:
  LRESULT OnChar(UINT, WPARAM, LPARAM, BOOL&);
};

class CSampleNewDlg : public orv::CDialogImpl<CSampleNewDlg> {
public:
  enum { IDD = IDD_SAMPLE_EDITOR };

  // sampleSize: the pane's sample size, the editor font's pixel height; currentTitle: the sample
  // to select at the start (none when empty or unknown).
  CSampleNewDlg(int sampleSize, std::wstring currentTitle);

  // After the dialog: the title of the sample that was current at OK, empty when none was.
  const std::wstring& CurrentTitle() const { return currentTitle_; }
  const SampleList& Samples() const { return samples_; }
  int CurrentItem() const { return currentItem_; }

  BEGIN_MSG_MAP(CSampleNewDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_HELP, OnHelp)
    MESSAGE_HANDLER(WM_NCLBUTTONUP, OnNcLButtonUp)
    COMMAND_ID_HANDLER(IDC_SAMPLE_NEW, OnNew)
    COMMAND_ID_HANDLER(IDC_SAMPLE_DELETE, OnDelete)
    COMMAND_ID_HANDLER(IDC_SAMPLE_FONT, OnChooseFont)
    COMMAND_ID_HANDLER(IDC_SAMPLE_RESTORE, OnRestore)
    COMMAND_ID_HANDLER(ID_SAMPLE_LIST_REBUILD, OnRebuild)
    COMMAND_ID_HANDLER(IDC_SAMPLE_OK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_HANDLER(IDC_SAMPLE_TEXT, EN_CHANGE, OnTextChange)
    NOTIFY_HANDLER(IDC_SAMPLE_TITLES, LVN_KEYDOWN, OnListKeyDown)
    NOTIFY_HANDLER(IDC_SAMPLE_TITLES, LVN_BEGINLABELEDITW, OnBeginLabelEdit)
    NOTIFY_HANDLER(IDC_SAMPLE_TITLES, LVN_ENDLABELEDITW, OnEndLabelEdit)
    NOTIFY_HANDLER(IDC_SAMPLE_TITLES, LVN_ITEMCHANGED, OnItemChanged)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHelp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNcLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNew(WORD, WORD, HWND, BOOL&);
  LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
  LRESULT OnChooseFont(WORD, WORD, HWND, BOOL&);
  LRESULT OnRestore(WORD, WORD, HWND, BOOL&);
  LRESULT OnRebuild(WORD, WORD, HWND, BOOL&);
  LRESULT OnOK(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
  LRESULT OnTextChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnListKeyDown(int, NMHDR*, BOOL&);
  LRESULT OnBeginLabelEdit(int, NMHDR*, BOOL&);
  LRESULT OnEndLabelEdit(int, NMHDR*, BOOL&);
  LRESULT OnItemChanged(int, NMHDR*, BOOL&);

  void LoadSamples();
  void LoadBuiltinSamples();
  void AddSample();
  void DeleteSample();
  void ChooseEditFont();
  void FitColumn();
  // Lists every sample in array order; selects the item of sample `select` (-1: none).
  void InsertAllItems(int select);
  void SetItemIndex(int item, int index);
  int ItemIndex(int item) const;
  void SelectItem(int item);
  // The edit box shows sample `index` (-1: empty) without counting as a change.
  void ShowText(int index);
  // An unsaved change of the edit box goes into the sample it shows.
  void CommitText();

  HWND list_ = nullptr;
  CSampleTextEdit edit_;
  CBmpButton newButton_;
  CBmpButton deleteButton_;
  orv::ScopedIcon newIcon_;
  orv::ScopedIcon deleteIcon_;
  orv::ScopedFont editorFont_;
  SampleList samples_;
  int sampleSize_;
  std::wstring currentTitle_;
  int currentItem_ = -1;
  int shownSample_ = -1;  // the sample whose text the edit box holds
  bool modified_ = false;
  bool settingText_ = false;
};
