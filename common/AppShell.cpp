#include "common/AppShell.h"

namespace {
const AppShell* g_shell = nullptr;
}  // namespace

void RegisterAppShell(const AppShell* shell) { g_shell = shell; }

const AppShell& GetAppShell() {
  static const AppShell none;
  return g_shell ? *g_shell : none;
}
