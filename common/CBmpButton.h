// CBmpButton: the image push button of the browse buttons and a few tool buttons.
//
// It subclasses an existing push button (a dialog's control, usually), turns it owner-drawn
// and paints one image of its image list by state: normal, pushed, focus or hover, disabled.
// SetShellFolderIcon and SetIcon fill the list at a size fitting the button and derive the
// disabled image by fading the normal one towards the window colour. The owner keeps the
// object alive as long as the button exists (a dialog member); UI thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/Handles.h"
#include "framework/WindowImpl.h"

// Extended styles of the image button.
inline constexpr DWORD BMPBTN_HOVER = 0x00000001;
inline constexpr DWORD BMPBTN_AUTO3D_SINGLE = 0x00000002;
inline constexpr DWORD BMPBTN_AUTO3D_DOUBLE = 0x00000004;
inline constexpr DWORD BMPBTN_AUTOSIZE = 0x00000008;
inline constexpr DWORD BMPBTN_SHAREIMAGELISTS = 0x00000010;
inline constexpr DWORD BMPBTN_AUTOFIRE = 0x00000020;

class CBmpButton : public orv::CWindowImpl<CBmpButton> {
public:
  // Positions in the image index table.
  enum ImageState { kImageNormal = 0, kImagePushed = 1, kImageFocusOrHover = 2, kImageDisabled = 3, kImageStates = 4 };

  CBmpButton() noexcept;
  ~CBmpButton() override;

  BEGIN_MSG_MAP(CBmpButton)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(::orv::kReflectBase + WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnStateMessage)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnStateMessage)
    MESSAGE_HANDLER(WM_KEYDOWN, OnStateMessage)
    MESSAGE_HANDLER(WM_KEYUP, OnStateMessage)
    MESSAGE_HANDLER(WM_CAPTURECHANGED, OnStateMessage)
    MESSAGE_HANDLER(WM_SETFOCUS, OnStateMessage)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnStateMessage)
    MESSAGE_HANDLER(WM_ENABLE, OnStateMessage)
    MESSAGE_HANDLER(BM_SETSTATE, OnStateMessage)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

  // Attaches the button and shows the shell's icon of `path` (closed and open); size 0 fits
  // the images to the button. Browse buttons use "C:\DefDirIcon" with FILE_ATTRIBUTE_DIRECTORY.
  HWND SetShellFolderIcon(HWND button, const wchar_t* path, DWORD attributes, int size = 0);
  // Attaches the button and shows `icon` (the caller keeps it); makes the tooltip when
  // tooltipOn is set.
  HWND SetIcon(HWND button, HICON icon, int size = 0);
  // Image 3 from image 0, faded towards the window colour.
  void MakeDisabledImage();

  DWORD GetBitmapButtonExtendedStyle() const noexcept { return extendedStyle_; }
  // Changes the bits of `mask` (all bits when 0); returns the previous style.
  DWORD SetBitmapButtonExtendedStyle(DWORD style, DWORD mask = 0) noexcept;
  HIMAGELIST GetImageList() const noexcept { return imageList_.Get(); }
  // Takes the list over (destroyed with the button unless BMPBTN_SHAREIMAGELISTS is set).
  void SetImageList(HIMAGELIST list) noexcept;
  // Image indexes of the four states; -1: none.
  void SetImages(int normal, int pushed = -1, int focusOrHover = -1, int disabled = -1) noexcept;
  int GetImageIndex(ImageState state) const noexcept { return images_[state]; }
  // Resizes the button to its images.
  bool SizeToImage();
  // The image the button paints now.
  int CurrentImage() const;
  HWND GetToolTip() const noexcept { return tooltip; }

  // Set by the owner before SetShellFolderIcon / SetIcon.
  int backgroundColorIndex = COLOR_BTNFACE;
  int tooltipOn = 0;
  std::wstring tooltipText;
  HWND tooltip = nullptr;

private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM wp, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM lp, BOOL&);
  LRESULT OnMouseMove(UINT msg, WPARAM wp, LPARAM lp, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDblClk(UINT, WPARAM wp, LPARAM lp, BOOL&);
  LRESULT OnStateMessage(UINT msg, WPARAM wp, LPARAM lp, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);

  bool Attach(HWND button);
  int FitImageSize(int size) const;
  void DoPaint(HDC dc);
  void MakeToolTip();

  DWORD extendedStyle_ = BMPBTN_AUTOSIZE;
  orv::ScopedImageList imageList_;
  int images_[kImageStates] = {-1, -1, -1, -1};
  bool mouseOver_ = false;
};
