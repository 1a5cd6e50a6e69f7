// A top-level window that hosts one font list in a benchmark the way the main frame does: it
// answers WM_MEASUREITEM with the list's row height and sends owner-draw and list
// notifications back to the list. It plays the main window (AppState): a folder pane on the
// left with a caption of the program's height over the folder tree (control 350), which the
// folder fill's abort check watches and over whose top it shows its progress bar; the list on
// the right; and a status bar, which the fill and the private font cache write to.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "lists/COrvelListView.h"

class BenchListHost {
public:
  BenchListHost(int width, int height);
  ~BenchListHost();
  BenchListHost(const BenchListHost&) = delete;
  BenchListHost& operator=(const BenchListHost&) = delete;

  // Creates the list's window (control `id`) right of the folder pane above the status bar,
  // binds it and initialises it.
  void Attach(COrvelListView& list, int id = 204);
  HWND Window() const { return window_; }

  // Called, where set, for every row the list draws (the benchmark counts them).
  void (*onDrawItem)() = nullptr;

private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  HWND window_ = nullptr;
  HWND pane_ = nullptr;
  HWND tree_ = nullptr;
  HWND status_ = nullptr;
  HWND savedMain_ = nullptr;
  HWND savedStatus_ = nullptr;
  COrvelListView* list_ = nullptr;
};
