// A top-level window that hosts font lists in the tests the way the main frame does: it
// answers WM_MEASUREITEM with the list's row height and sends owner-draw and list
// notifications back to the list. It also plays the main window (AppState) with a folder tree
// (control 350), so that the folder fill's abort check has a tree to watch.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/Preferences.h"
#include "lists/COrvelListView.h"

class ListTestHost {
public:
  ListTestHost(int width = 640, int height = 480);
  ~ListTestHost();
  ListTestHost(const ListTestHost&) = delete;
  ListTestHost& operator=(const ListTestHost&) = delete;

  // Creates the list's window (control `id`) filling the host (a second one: its right half),
  // binds it and initialises it.
  void Attach(COrvelListView& list, int id = 204);
  HWND Window() const { return window_; }
  HWND Tree() const { return tree_; }

private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  HWND window_ = nullptr;
  HWND tree_ = nullptr;
  HWND savedMain_ = nullptr;
  int attached_ = 0;
};

// Tests of a list shown in the host, at 12 points with rows that show samples.
struct HostedList : testing::Test {
  void SetUp() override;
  void TearDown() override;
  void Show(COrvelListView& list) {
    host.Attach(list);
    list.Repopulate();
  }
  Preferences saved;
  ListTestHost host;
};
