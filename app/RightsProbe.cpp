#include "app/RightsProbe.h"

#include "framework/Handles.h"

namespace {
constexpr DWORD kAdminSidSize = 68;
}

DWORD ProbeUserIsAdmin(bool& isAdmin) {
  orv::ScopedHandle process;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, process.Receive()))
    return ::GetLastError();
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  if (!::GetTokenInformation(process.Get(), TokenElevationType, &type, sizeof(type), &size)) return ::GetLastError();

  // The token to test must be an impersonation token: the linked one of a limited token, or a
  // duplicate of the process token.
  orv::ScopedHandle test;
  if (type == TokenElevationTypeLimited) {
    TOKEN_LINKED_TOKEN linked{};
    if (!::GetTokenInformation(process.Get(), TokenLinkedToken, &linked, sizeof(linked), &size))
      return ::GetLastError();
    test.Reset(linked.LinkedToken);
  } else if (!::DuplicateToken(process.Get(), SecurityIdentification, test.Receive())) {
    return ::GetLastError();
  }

  BYTE sid[kAdminSidSize];
  DWORD sidSize = sizeof(sid);
  if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize)) return ::GetLastError();
  BOOL member = FALSE;
  if (!::CheckTokenMembership(test.Get(), sid, &member)) return ::GetLastError();
  isAdmin = member != FALSE;
  return 0;
}

DWORD ProbeIsElevated(bool& isElevated) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &admins))
    return ::GetLastError();
  BOOL member = FALSE;
  const BOOL ok = ::CheckTokenMembership(nullptr, admins, &member);
  const DWORD error = ok ? 0 : ::GetLastError();
  ::FreeSid(admins);
  if (ok) isElevated = member != FALSE;
  return error;
}
