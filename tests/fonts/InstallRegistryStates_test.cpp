// Installs and uninstalls, by hand and by group, read back from the real registry after every
// step: the HKLM Fonts values and the HKCU FontsInstalled markers of the test's fonts, and which
// of their families GDI knows. One table of cases, each a run of steps with the state it must
// leave; the cases are the ones where a registration the program did not write, or a count a
// group holds, is easy to lose. A system call that throws stands for the program killed
// between two steps; "restart" is what the next start does with the journal that leaves, and
// with journals another program wrote.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryKey.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "fonts/FontInstaller.h"
#include "fonts/InstallJournal.h"
#include "fonts/InstallJournalRecords.h"
#include "fonts/InstalledFontRecords.h"
#include "fonts/InstalledMarkers.h"
#include "fonts/RegistryValueEnumerator.h"
#include "groups/FontGroup.h"
#include "groups/GroupFontInstaller.h"
#include "groups/GroupNames.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using testing_support::Boxes;
using testing_support::Narrow;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
// Every value and marker of these tests starts so; nothing else is read or removed.
const std::wstring kPrefix = L"OrvR";

// Files that no RemoveFontResourceW unloads: the system holds them.
std::set<std::wstring>& Stuck() {
  static std::set<std::wstring> files;
  return files;
}
// Type 1 pairs "loaded": Wine's GDI cannot load them, a system that can stands in.
std::set<std::wstring>& Type1Loaded() {
  static std::set<std::wstring> files;
  return files;
}
// Values no write or delete changes (access denied), and files no load loads.
std::set<std::wstring>& Refused() {
  static std::set<std::wstring> names;
  return names;
}
std::set<std::wstring>& Unloadable() {
  static std::set<std::wstring> files;
  return files;
}
// Every file a load or unload was asked for.
std::vector<std::wstring>& FontCalls() {
  static std::vector<std::wstring> files;
  return files;
}
// The program killed: the system call that many calls from now never returns.
struct Killed {};
int g_callsToKill = 0;
void CountCall() {
  if (g_callsToKill > 0 && --g_callsToKill == 0) throw Killed{};
}
// The journal write that many writes from now fails (the disk full).
int g_journalWritesToFail = 0;
bool IsType1Pair(const wchar_t* path) { return wcschr(path, L'|') != nullptr; }
int Add(const wchar_t* path) {
  CountCall();
  FontCalls().push_back(path);
  if (Unloadable().count(path)) {
    ::SetLastError(ERROR_BAD_FORMAT);
    return 0;
  }
  if (IsType1Pair(path)) return Type1Loaded().insert(path).second ? 1 : 0;
  return ::AddFontResourceW(path);
}
BOOL Remove(const wchar_t* path) {
  CountCall();
  FontCalls().push_back(path);
  if (IsType1Pair(path)) return Type1Loaded().erase(path) > 0;
  return Stuck().count(path) ? FALSE : ::RemoveFontResourceW(path);
}
LSTATUS Set(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) {
  CountCall();
  if (Refused().count(name)) return ERROR_ACCESS_DENIED;
  return ::RegSetValueExW(key, name, 0, type, data, size);
}
LSTATUS Delete(HKEY key, const wchar_t* name) {
  CountCall();
  if (Refused().count(name)) return ERROR_ACCESS_DENIED;
  return ::RegDeleteValueW(key, name);
}
int FileOperation(SHFILEOPSTRUCTW* op) {
  op->fFlags |= FOF_NOERRORUI | FOF_SILENT;
  return ::SHFileOperationW(op);
}
LSTATUS WriteJournal(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) {
  if (g_journalWritesToFail > 0 && --g_journalWritesToFail == 0) return ERROR_DISK_FULL;
  return ::RegSetValueExW(key, name, 0, type, data, size);
}
const seams::SystemCalls kCalls{&Add, &Remove, &Set, &Delete, &FileOperation, &WriteJournal};

// Where forged journals would write outside the font keys.
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kForeignKey[] = L"SOFTWARE\\OrvRForged";
const wchar_t kForgedValue[] = L"OrvRForged";

enum class Act {
  ListInstall,     // 21002 over the fonts
  ListUninstall,   // 21003
  GroupInstall,    // 21004 over the fonts as one group
  GroupUninstall,  // 21005
  ValueGoesOutside,  // another program removes the font's value; after a restart it is not loaded
  UserValue,       // the user registered "<first font> (TrueType)" for the second font's file
  StaleMarker,     // a marker counts the font, which is not installed
  Stick,           // nothing unloads the font's file any more
  Unstick,
  FileAway,        // the font's file is moved away; after a restart it is not loaded
  FileBack,        // and back; the system loads it again
  ExpandValue,     // the font's name is registered as a REG_EXPAND_SZ naming its own file
  DwordValue,      // the font's name is registered as a REG_DWORD
  OtherType1Value, // the Type 1 font's name is registered for other files
  FileReplaced,    // the first font's file now holds the second font; after a restart that is loaded
  GroupInstallKilled,    // 21004, the program killed at the `kill`th system call
  GroupUninstallKilled,  // 21005, likewise
  GroupInstallJournalFails,    // 21004, the `kill`th write of its journal fails
  GroupUninstallJournalFails,  // 21005, likewise
  Restart,         // the next start: a journal left behind is undone, and what it found told
  Forge,           // another program writes a journal of kind `kill` (see Forge below)
  Refuse,          // the fonts' Fonts values cannot be written or deleted any more
  Allow,
  NoLoad,          // no load loads the font's file any more
  LoadAgain,
  Hold,            // another program holds the font's file open, unshared
  Release,
  LongValue,       // the font's name is registered with a value longer than any registration
};

struct Step {
  Act act;
  std::vector<std::wstring> fonts;
  bool result = true;  // what the command returns (steps that are no command: ignored)
  // After the step: "V <value>=<file name>" (other kinds: "=#<type>"), "T <Type 1 value>=<files>",
  // "M <marker>=<hex>", "L <family GDI knows>".
  std::vector<std::wstring> state;
  // The lines of the report box, "<font>: <reason id>"; empty: no box.
  std::vector<std::pair<std::wstring, UINT>> named = {};
  // The system call the program is killed at; the journal write that fails; the kind of journal
  // forged.
  int kill = 0;
};

struct Case {
  const char* what;
  std::vector<Step> steps;
};

// The test fonts: full name, family and file name; "OrvRtc" is a collection of two faces,
// "OrvRvfVar" a variable font of named instances, ".pfm" files Type 1 fonts.
struct TestFont {
  std::wstring name, family, file;
};
const TestFont kFonts[] = {
    {L"OrvRha Sans", L"OrvRha Sans", L"ha.ttf"}, {L"OrvRun Sans", L"OrvRun Sans", L"un.ttf"},
    {L"OrvRco Sans", L"OrvRco Sans", L"co.ttf"}, {L"OrvRus Sans", L"OrvRus Sans", L"us.ttf"},
    {L"OrvRgd Sans", L"OrvRgd Sans", L"gd.ttf"}, {L"OrvRtc Sans", L"OrvRtc Sans", L"tc.ttc"},
    {L"OrvRtc Sans Bold", L"OrvRtc Sans", L"tc.ttc"}, {L"OrvRdl Sans", L"OrvRdl Sans", L"dl.ttf"},
    {L"OrvRhh Sans", L"OrvRhh Sans", L"hh.ttf"}, {L"OrvRst Sans", L"OrvRst Sans", L"st.ttf"},
    {L"OrvRvfVar Instance Light", L"OrvRvfVar", L"vf.ttf"}, {L"OrvRvfVar Instance Bold", L"OrvRvfVar", L"vf.ttf"},
    {L"OrvRxa Sans", L"OrvRxa Sans", L"xa.ttf"}, {L"OrvRxd Sans", L"OrvRxd Sans", L"xd.ttf"},
    {L"OrvRrp Sans", L"OrvRrp Sans", L"rp.ttf"}, {L"OrvRnw Sans", L"OrvRnw Sans", L"nw.ttf"},
    {L"OrvRtx Regular", L"", L"tx.pfm"}, {L"OrvRty Regular", L"", L"ty.pfm"}, {L"OrvRtz Regular", L"", L"tz.pfm"},
};
const std::wstring kCollectionValue = L"OrvRtc Sans & OrvRtc Sans Bold (TrueType)";

std::vector<Case> Cases() {
  const std::wstring ha = L"OrvRha Sans", un = L"OrvRun Sans", co = L"OrvRco Sans", us = L"OrvRus Sans",
                     gd = L"OrvRgd Sans", tc = L"OrvRtc Sans", tcb = L"OrvRtc Sans Bold", dl = L"OrvRdl Sans",
                     hh = L"OrvRhh Sans", st = L"OrvRst Sans";
  const std::wstring vHa = L"V OrvRha Sans (TrueType)=ha.ttf", vUn = L"V OrvRun Sans (TrueType)=un.ttf";
  const std::wstring vTc = L"V " + kCollectionValue + L"=tc.ttc";
  std::vector<Case> cases;
  cases.push_back({"hand install, then a group with a font nothing unloads: two group uninstalls",
                   {{Act::ListInstall, {ha}, true, {vHa, L"L " + ha}},
                    {Act::GroupInstall, {ha, un}, true,
                     {vHa, vUn, L"M 2|" + ha + L"=10001", L"M 2|" + un + L"=1", L"L " + ha, L"L " + un}},
                    {Act::Stick, {un}, true, {vHa, vUn, L"M 2|" + ha + L"=10001", L"M 2|" + un + L"=1", L"L " + ha, L"L " + un}},
                    {Act::GroupUninstall, {ha, un}, false,
                     {vHa, vUn, L"M 2|" + un + L"=1", L"L " + ha, L"L " + un},
                     {{un, IDS_REASON_NOT_UNLOADED}}},
                    {Act::GroupUninstall, {ha, un}, false,
                     {vHa, vUn, L"M 2|" + un + L"=1", L"L " + ha, L"L " + un},
                     {{un, IDS_REASON_NOT_UNLOADED}}},
                    {Act::Unstick, {un}, true, {vHa, vUn, L"M 2|" + un + L"=1", L"L " + ha, L"L " + un}},
                    {Act::GroupUninstall, {ha, un}, true, {vHa, L"L " + ha},
                     {{ha, IDS_REASON_NOT_BY_GROUP}}},
                    {Act::ListUninstall, {ha}, true, {}}}});
  cases.push_back({"a group font whose value name the user registered for another file",
                   {{Act::UserValue, {co, us}, true, {L"V OrvRco Sans (TrueType)=us.ttf"}},
                    {Act::GroupInstall, {co, gd}, true,
                     {L"V OrvRco Sans (TrueType)=us.ttf", L"V OrvRgd Sans (TrueType)=gd.ttf", L"M 2|" + gd + L"=1",
                      L"L " + gd},
                     {{co, IDS_REASON_NAME_TAKEN}}},
                    {Act::GroupUninstall, {co, gd}, true, {L"V OrvRco Sans (TrueType)=us.ttf"}}}});
  for (bool firstGoesFirst : {true, false}) {
    const std::wstring first = firstGoesFirst ? tc : tcb, second = firstGoesFirst ? tcb : tc;
    cases.push_back({firstGoesFirst ? "faces 1 and 2 of a collection in two groups, the first uninstalled first"
                                    : "faces 1 and 2 of a collection in two groups, the second uninstalled first",
                     {{Act::GroupInstall, {tc}, true, {vTc, L"M 2|" + tc + L"=1", L"L " + tc}},
                      {Act::GroupInstall, {tcb}, true, {vTc, L"M 2|" + tc + L"=1", L"M 2|" + tcb + L"=1", L"L " + tc}},
                      {Act::GroupUninstall, {first}, true, {vTc, L"M 2|" + second + L"=1", L"L " + tc},
                       {{first, IDS_REASON_FILE_SHARED}}},
                      {Act::GroupUninstall, {second}, true, {}}}});
  }
  cases.push_back({"a group font whose value went outside the program, installed by hand later",
                   {{Act::GroupInstall, {dl, hh}, true,
                     {L"V OrvRdl Sans (TrueType)=dl.ttf", L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + dl + L"=1",
                      L"M 2|" + hh + L"=1", L"L " + dl, L"L " + hh}},
                    {Act::ValueGoesOutside, {dl}, true,
                     {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + dl + L"=1", L"M 2|" + hh + L"=1", L"L " + hh}},
                    {Act::GroupUninstall, {dl, hh}, true, {}, {{dl, IDS_REASON_MARKER_DROPPED}}},
                    {Act::ListInstall, {dl}, true, {L"V OrvRdl Sans (TrueType)=dl.ttf", L"L " + dl}},
                    {Act::ListUninstall, {dl}, true, {}}}});
  cases.push_back({"a group font whose file went away, and came back",
                   {{Act::GroupInstall, {hh}, true, {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + hh + L"=1", L"L " + hh}},
                    {Act::FileAway, {hh}, true, {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + hh + L"=1"}},
                    {Act::GroupUninstall, {hh}, false, {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + hh + L"=1"},
                     {{hh, IDS_REASON_FILE_MISSING}}},
                    {Act::FileBack, {hh}, true, {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + hh + L"=1", L"L " + hh}},
                    {Act::GroupUninstall, {hh}, true, {}}}});
  cases.push_back({"a stale marker, then a hand install and a list uninstall",
                   {{Act::StaleMarker, {st}, true, {L"M 2|" + st + L"=1"}},
                    {Act::ListInstall, {st}, true, {L"V OrvRst Sans (TrueType)=st.ttf", L"L " + st}},
                    {Act::ListUninstall, {st}, true, {}}}});
  // Two named instances of one variable font in two groups, installed and uninstalled in either
  // order: one file, registered once, while either group holds it.
  const std::wstring light = L"OrvRvfVar Instance Light", bold = L"OrvRvfVar Instance Bold";
  for (int order = 0; order < 4; ++order) {
    const std::wstring first = order & 1 ? bold : light, second = order & 1 ? light : bold;
    const std::wstring out = order & 2 ? second : first, last = order & 2 ? first : second;
    const std::wstring value = L"V " + first + L" (TrueType)=vf.ttf", family = L"L OrvRvfVar";
    static const char* const kWhat[] = {"variable font instances in two groups: light, bold; light out first",
                                        "variable font instances in two groups: bold, light; bold out first",
                                        "variable font instances in two groups: light, bold; bold out first",
                                        "variable font instances in two groups: bold, light; light out first"};
    cases.push_back({kWhat[order],
                     {{Act::GroupInstall, {first}, true, {value, L"M 2|" + first + L"=1", family}},
                      {Act::GroupInstall, {second}, true, {value, L"M 2|" + first + L"=1", L"M 2|" + second + L"=1", family}},
                      {Act::GroupUninstall, {out}, true, {value, L"M 2|" + last + L"=1", family}, {{out, IDS_REASON_FILE_SHARED}}},
                      {Act::GroupUninstall, {last}, true, {}}}});
  }
  cases.push_back({"both instances in one group, and one of them in another",
                   {{Act::GroupInstall, {light, bold}, true,
                     {L"V " + light + L" (TrueType)=vf.ttf", L"M 2|" + light + L"=1", L"M 2|" + bold + L"=1", L"L OrvRvfVar"}},
                    {Act::GroupInstall, {bold}, true,
                     {L"V " + light + L" (TrueType)=vf.ttf", L"M 2|" + light + L"=1", L"M 2|" + bold + L"=2", L"L OrvRvfVar"}},
                    {Act::GroupUninstall, {light, bold}, true,
                     {L"V " + light + L" (TrueType)=vf.ttf", L"M 2|" + bold + L"=1", L"L OrvRvfVar"},
                     {{bold, IDS_REASON_OTHER_GROUP}}},
                    {Act::ListUninstall, {bold}, false,
                     {L"V " + light + L" (TrueType)=vf.ttf", L"M 2|" + bold + L"=1", L"L OrvRvfVar"},
                     {{L"", IDS_NOTHING_TO_UNINSTALL}}},
                    {Act::GroupUninstall, {bold}, true, {}}}});
  // Values of the fonts' names that are not plain strings naming their files, or that name
  // other files: never written over, never removed, the fonts named as skipped.
  const std::wstring xa = L"OrvRxa Sans", xd = L"OrvRxd Sans", tx = L"OrvRtx Regular", ty = L"OrvRty Regular",
                     tz = L"OrvRtz Regular";
  const std::vector<std::wstring> foreign{L"V OrvRxa Sans (TrueType)=#2", L"V OrvRxd Sans (TrueType)=#4",
                                          L"T OrvRtx Regular=#2", L"T OrvRty Regular=#4", L"T OrvRtz Regular=other.pfm|other.pfb"};
  std::vector<std::wstring> withGd = foreign;
  for (const wchar_t* line : {L"V OrvRgd Sans (TrueType)=gd.ttf", L"M 2|OrvRgd Sans=1", L"L OrvRgd Sans"}) withGd.push_back(line);
  cases.push_back({"names registered as REG_EXPAND_SZ, REG_DWORD or for other files, TrueType and Type 1",
                   {{Act::ExpandValue, {xa}, true, {foreign[0]}},
                    {Act::DwordValue, {xd}, true, {foreign[0], foreign[1]}},
                    {Act::ExpandValue, {tx}, true, {foreign[0], foreign[1], foreign[2]}},
                    {Act::DwordValue, {ty}, true, {foreign[0], foreign[1], foreign[2], foreign[3]}},
                    {Act::OtherType1Value, {tz}, true, foreign},
                    {Act::GroupInstall, {xa, xd, tx, ty, tz, gd}, true, withGd,
                     {{xa, IDS_REASON_VALUE_FOREIGN}, {xd, IDS_REASON_VALUE_FOREIGN}, {tx, IDS_REASON_VALUE_FOREIGN},
                      {ty, IDS_REASON_VALUE_FOREIGN}, {tz, IDS_REASON_NAME_TAKEN}}},
                    {Act::GroupUninstall, {xa, xd, tx, ty, tz, gd}, true, foreign},
                    {Act::ListInstall, {xa, tx, tz}, false, foreign,
                     {{xa, IDS_REASON_VALUE_FOREIGN}, {tx, IDS_REASON_VALUE_FOREIGN}, {tz, IDS_REASON_NAME_TAKEN}}}}});
  const std::wstring rp = L"OrvRrp Sans", nw = L"OrvRnw Sans";
  cases.push_back({"a group font whose file now holds another font",
                   {{Act::GroupInstall, {rp}, true, {L"V OrvRrp Sans (TrueType)=rp.ttf", L"M 2|" + rp + L"=1", L"L " + rp}},
                    {Act::FileReplaced, {rp, nw}, true, {L"V OrvRrp Sans (TrueType)=rp.ttf", L"M 2|" + rp + L"=1", L"L " + nw}},
                    {Act::GroupUninstall, {rp}, true, {L"V OrvRrp Sans (TrueType)=rp.ttf", L"L " + nw},
                     {{rp, IDS_REASON_FILE_REPLACED}}},
                    {Act::ListUninstall, {nw}, true, {}}}});
  // Killed between any two system calls of a group install, and of its uninstall: the next
  // start puts the registry back as it was before the command, the group commands then work as
  // ever, and the font the user had registered is never touched.
  const std::vector<std::wstring> group{ha, un, co, us};
  const std::vector<std::wstring> user{vHa, L"L " + ha};
  const std::vector<std::wstring> all{vHa, vUn, L"V OrvRco Sans (TrueType)=co.ttf", L"V OrvRus Sans (TrueType)=us.ttf",
                                      L"M 2|" + ha + L"=10001", L"M 2|" + un + L"=1", L"M 2|" + co + L"=1",
                                      L"M 2|" + us + L"=1", L"L " + ha, L"L " + un, L"L " + co, L"L " + us};
  const std::vector<std::wstring>& after = user;
  for (int kill = 1; kill <= 6; ++kill) {
    static const char* const kInstall[] = {"", "group install killed at call 1", "group install killed at call 2",
                                           "group install killed at call 3", "group install killed at call 4",
                                           "group install killed at call 5", "group install killed at call 6"};
    static const char* const kUninstall[] = {"", "group uninstall killed at call 1", "group uninstall killed at call 2",
                                             "group uninstall killed at call 3", "group uninstall killed at call 4",
                                             "group uninstall killed at call 5", "group uninstall killed at call 6"};
    // The journal names no group file: the fonts go back, the mark is left, and the box says so.
    cases.push_back({kInstall[kill],
                     {{Act::ListInstall, {ha}, true, user},
                      {Act::GroupInstallKilled, group, true, {}, {}, kill},
                      {Act::Restart, {ha}, true, user, {{L"", IDS_JOURNAL_MARK_KEPT}}},
                      {Act::GroupInstall, group, true, all},
                      {Act::GroupUninstall, group, true, after, {{ha, IDS_REASON_INSTALLED_BEFORE}}}}});
    cases.push_back({kUninstall[kill],
                     {{Act::ListInstall, {ha}, true, user},
                      {Act::GroupInstall, group, true, all},
                      {Act::GroupUninstallKilled, group, true, {}, {}, kill},
                      {Act::Restart, {ha}, true, all, {{L"", IDS_JOURNAL_MARK_KEPT}}},
                      {Act::GroupUninstall, group, true, after, {{ha, IDS_REASON_INSTALLED_BEFORE}}}}});
  }
  // Undo steps that fail keep their records (one "J" line per record left) and are named; the
  // next start puts back the rest.
  cases.push_back({"group install killed, its undo cannot remove a value, then can",
                   {{Act::ListInstall, {ha}, true, user},
                    {Act::GroupInstallKilled, group, true, {}, {}, 6},
                    {Act::Refuse, {un}, true, {vHa, vUn, L"L " + ha}},
                    {Act::Restart, {ha}, true, {vHa, vUn, L"L " + ha, L"J 1"},
                     {{L"OrvRun Sans (TrueType)", IDS_UNDO_VALUE_NOT_WRITTEN}, {L"", IDS_GROUP_COMMAND_NOT_UNDONE}}},
                    {Act::Allow, {un}, true, {vHa, vUn, L"L " + ha, L"J 1"}},
                    {Act::Restart, {ha}, true, user, {{L"", IDS_JOURNAL_MARK_KEPT}}}}});
  cases.push_back({"group uninstall killed, its undo cannot load a font back, then can",
                   {{Act::ListInstall, {ha}, true, user},
                    {Act::GroupInstall, group, true, all},
                    {Act::GroupUninstallKilled, group, true, {}, {}, 5},
                    {Act::NoLoad, {un}, true, {}},
                    {Act::Restart, {ha}, true, [&] {
                       std::vector<std::wstring> left;
                       for (const std::wstring& line : all)
                         if (line != L"L " + un) left.push_back(line);
                       left.push_back(L"J 1");
                       return left;
                     }(),
                     {{L"", IDS_UNDO_NOT_LOADED}, {L"", IDS_GROUP_COMMAND_NOT_UNDONE}}},
                    {Act::LoadAgain, {un}, true, {}},
                    {Act::Restart, {ha}, true, all, {{L"", IDS_JOURNAL_MARK_KEPT}}},
                    {Act::GroupUninstall, group, true, after, {{ha, IDS_REASON_INSTALLED_BEFORE}}}}});
  // A journal that cannot be written stops the command before the change it could not write
  // down; what the command did is undone, and nothing of the journal stays.
  for (int write : {1, 5, 7, 12}) {
    static const char* const kWhat[] = {"journal write 1 fails", "journal write 5 fails", "journal write 7 fails",
                                        "journal write 12 fails"};
    const char* what = kWhat[write == 1 ? 0 : write == 5 ? 1 : write == 7 ? 2 : 3];
    cases.push_back({what,
                     {{Act::ListInstall, {ha}, true, user},
                      {Act::GroupInstallJournalFails, group, false, user, {{L"", IDS_COMMAND_STOPPED}}, write},
                      {Act::GroupInstall, group, true, all},
                      {Act::GroupUninstallJournalFails, group, false, all, {{L"", IDS_COMMAND_STOPPED}}, write},
                      {Act::GroupUninstall, group, true, after, {{ha, IDS_REASON_INSTALLED_BEFORE}}}}});
  }
  // A value that cannot be read is never taken as absent: the font stays out, named.
  cases.push_back({"a registration too long to read",
                   {{Act::LongValue, {gd}, true, {L"V OrvRgd Sans (TrueType)=#3"}},
                    {Act::GroupInstall, {gd, hh}, true,
                     {L"V OrvRgd Sans (TrueType)=#3", L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + hh + L"=1",
                      L"L " + hh},
                     {{gd, IDS_REASON_VALUE_UNREADABLE}}},
                    {Act::GroupUninstall, {gd, hh}, true, {L"V OrvRgd Sans (TrueType)=#3"}}}});
  // A file another program holds is named so, not as unreadable.
  cases.push_back({"a font file another program holds open",
                   {{Act::Hold, {st}, true, {}},
                    {Act::ListInstall, {st}, false, {}, {{st, IDS_REASON_FILE_HELD}}},
                    {Act::Release, {st}, true, {}},
                    {Act::ListInstall, {st}, true, {L"V OrvRst Sans (TrueType)=st.ttf", L"L " + st}},
                    {Act::ListUninstall, {st}, true, {}}}});
  // The first font of a shared file fails: the file's other fonts are named with it.
  cases.push_back({"a collection file that cannot be loaded, both faces in one group",
                   {{Act::NoLoad, {tc}, true, {}},
                    {Act::GroupInstall, {tc, tcb}, false, {}, {{tc, IDS_REASON_NOT_LOADED}, {tcb, IDS_REASON_FILE_FAILED}}},
                    {Act::LoadAgain, {tc}, true, {}}}});
  // Journals another program wrote, found at start: nothing outside the font keys changes, no
  // registration the user made goes, and one box tells what was left out.
  const std::vector<std::pair<const char*, std::vector<std::pair<std::wstring, UINT>>>> forged{
      {"forged: a value under the Run key", {{L"", IDS_JOURNAL_MARK_KEPT}, {L"", IDS_JOURNAL_IGNORED}}},
      {"forged: a value under HKLM\\SOFTWARE", {{L"", IDS_JOURNAL_MARK_KEPT}, {L"", IDS_JOURNAL_IGNORED}}},
      {"forged: a registration of a ..\\ path", {{L"", IDS_JOURNAL_MARK_KEPT}, {L"", IDS_JOURNAL_IGNORED}}},
      {"forged: a registration of another type", {{L"", IDS_JOURNAL_MARK_KEPT}, {L"", IDS_JOURNAL_IGNORED}}},
      {"forged: a Command of another type", {{L"", IDS_GROUP_JOURNAL_FOREIGN}}},
      {"forged: loads and unloads of files that are no fonts", {{L"", IDS_JOURNAL_MARK_KEPT}, {L"", IDS_JOURNAL_IGNORED}}},
      {"forged: the root group file", {{L"", IDS_JOURNAL_MARK_KEPT}}},
      {"forged: a group file outside the groups folder", {{L"", IDS_JOURNAL_MARK_KEPT}}},
      {"forged: a group name 8,000 characters long", {{L"", IDS_JOURNAL_MARK_KEPT}}},
  };
  for (size_t kind = 0; kind < forged.size(); ++kind)
    cases.push_back({forged[kind].first,
                     {{Act::ListInstall, {ha}, true, user},
                      {Act::Forge, {ha}, true, user, {}, static_cast<int>(kind) + 1},
                      {Act::Restart, {ha}, true, user, forged[kind].second}}});
  // What the undo does carry out: a group of the groups folder gets its mark back.
  cases.push_back({"a journal of a group file of the groups folder",
                   {{Act::Forge, {ha}, true, {}, {}, 10},
                    {Act::Restart, {ha}, true, {L"G orvelgrp00001.xml"}, {{L"", IDS_GROUP_COMMAND_UNDONE}}}}});
  return cases;
}

bool StartsWithPrefix(std::wstring_view name, const std::wstring& prefix) {
  return name.substr(0, prefix.size()) == prefix;
}

}  // namespace

class InstallRegistryStates : public testing::Test {
protected:
  void SetUp() override {
    testing_support::ResetRecords();
    seams::SetSystemCalls(&kCalls);
    saved_ = {g_AppState.SystemFontsFolder, g_AppState.UserFontsFolder};
    savedElevated_ = g_AppState.IsElevated;
    savedRelease_ = g_AppState.WindowsRelease;
    savedFlags_ = g_Preferences.FontInstallFlags;
    g_AppState.SystemFontsFolder = testing_support::LongPath(systemFonts_.Path());
    g_AppState.UserFontsFolder = testing_support::LongPath(userFonts_.Path());
    g_AppState.IsElevated = true;
    g_AppState.WindowsRelease = 1903;
    g_Preferences.FontInstallFlags = 0;  // no count question
    groupsFolder_ = groups_.Path();
    FontGroup::SetGroupsFolderSource(&groupsFolder_);
    Clean();
  }
  void TearDown() override {
    Stuck().clear();
    g_callsToKill = 0;
    Clean();
    FontGroup::SetGroupsFolderSource(nullptr);
    SetInstalledFontRecords({});
    seams::SetSystemCalls(nullptr);
    g_AppState.SystemFontsFolder = saved_.first;
    g_AppState.UserFontsFolder = saved_.second;
    g_AppState.IsElevated = savedElevated_;
    g_AppState.WindowsRelease = savedRelease_;
    g_Preferences.FontInstallFlags = savedFlags_;
  }

  // Removes the test's values, markers and journal, and unloads its files.
  void Clean() {
    for (const auto& [root, key, prefix] : {std::tuple{HKEY_LOCAL_MACHINE, kFontsKey, kPrefix},
                                            std::tuple{HKEY_LOCAL_MACHINE, kType1FontsKey, kPrefix},
                                            std::tuple{HKEY_CURRENT_USER, kFontsInstalledKey, L"2|" + kPrefix},
                                            std::tuple{HKEY_CURRENT_USER, kFontsInstalledKey, L"1|" + kPrefix}}) {
      std::vector<std::wstring> names;
      {
        RegistryValueEnumerator values(root, key, KEY_WOW64_64KEY);
        while (values.IsOpen() && values.Next())
          if (StartsWithPrefix(values.Name(), prefix)) names.emplace_back(values.Name());
      }
      const orv::ScopedKey open = OpenRegKey(root, key, KEY_SET_VALUE | KEY_WOW64_64KEY);
      for (const std::wstring& name : names) ::RegDeleteValueW(open.Get(), name.c_str());
    }
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kGroupCommandJournalKey);
    for (const auto& [name, path] : files_)
      while (::RemoveFontResourceW(path.c_str())) {
      }
    Type1Loaded().clear();
    Refused().clear();
    Unloadable().clear();
    FontCalls().clear();
    held_.Reset();
    g_journalWritesToFail = 0;
    if (const orv::ScopedKey run = OpenRegKey(HKEY_CURRENT_USER, kRunKey, KEY_SET_VALUE)) ::RegDeleteValueW(run.Get(), kForgedValue);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kForeignKey);
    // The root group and one group below it, neither installed.
    FontGroup root;
    root.FileName = kRootGroupFile;
    root.Name = L"Root";
    root.AddNode(L"One", L"orvelgrp00001.xml", false, false);
    FontGroup one;
    one.FileName = L"orvelgrp00001.xml";
    one.Name = L"One";
    one.Parent = kRootGroupFile;
    ASSERT_TRUE(root.Save() && one.Save());
  }

  void MakeFonts() {
    const auto tagged = [](const std::wstring& source, const std::wstring& target, const std::string& from,
                           const std::string& to) {
      Bytes bytes = ReadFile(source);
      for (const auto& [a, b] : {std::pair{from, to}, std::pair{Utf16(from), Utf16(to)}})
        for (size_t at = bytes.find(a); at != std::string::npos; at = bytes.find(a, at + 1)) bytes.replace(at, b.size(), b);
      WriteFile(target, bytes);
    };
    for (const TestFont& font : kFonts) {
      const std::wstring path = source_.File(font.file);
      files_[font.name] = path;
      if (::PathFileExistsW(path.c_str())) continue;
      if (font.file == L"tc.ttc") {
        WriteFile(path, BuildCollection({ReadFile(kDejaVu + L"DejaVuSans.ttf"), ReadFile(kDejaVu + L"DejaVuSans-Bold.ttf")}));
        ASSERT_TRUE(WriteTaggedDejaVu(path, path, "OrvRtc"));
      } else if (font.file == L"vf.ttf") {
        tagged(testing_support::SourceDir() + L"\\tests\\fonts\\data\\OrvelVarPlain.ttf", path, "Orvel ", "OrvRvf");
      } else if (font.file.ends_with(L".pfm")) {
        const std::string ps = Narrow(font.name.substr(0, 6)) + "-Regular";
        WriteFile(path, MinimalPfm());
        WriteFile(path.substr(0, path.size() - 4) + L".pfb", BuildPfb(Type1ClearText("/FontName /" + ps + " def")));
      } else {
        ASSERT_TRUE(WriteTaggedDejaVu(kDejaVu + L"DejaVuSans.ttf", path, Narrow(font.name.substr(0, 6))));
      }
    }
  }

  static std::string Utf16(const std::string& text) {
    std::string out;
    for (char c : text) out += std::string(1, '\0') + c;
    return out;
  }

  // What the installed list's fill would publish: a record for every face of a file a test
  // value names.
  void Publish() {
    records_.clear();
    std::set<std::wstring> registered;
    for (const std::wstring& line : State())
      if (line[0] == L'V') registered.insert(line.substr(line.find(L'=') + 1));
    for (const TestFont& font : kFonts) {
      if (!registered.count(font.file)) continue;
      FontItemList read;
      read.AddGroupFont(font.name, files_[font.name]);
      FontItem& record = records_.emplace_back(read.Entries().front().record);
      EnsureFontItemLoaded(read, record);
      record.flags = (record.flags & ~font_flags::kInstalledFile) | font_flags::kInstalled;
      record.fullPath = files_[font.name];
    }
    std::vector<const FontItem*> published;
    for (const FontItem& record : records_) published.push_back(&record);
    SetInstalledFontRecords(published);
  }

  // The registry and GDI as the table writes them, sorted.
  std::vector<std::wstring> State() {
    std::vector<std::wstring> lines;
    for (const auto& [key, tag] : {std::pair{kFontsKey, L"V "}, std::pair{kType1FontsKey, L"T "}}) {
      RegistryValueEnumerator values(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY);
      while (values.IsOpen() && values.Next()) {
        if (!StartsWithPrefix(values.Name(), kPrefix)) continue;
        std::wstring line = tag + std::wstring(values.Name()) + L"=";
        std::wstring files;
        if (values.Type() == REG_SZ) {
          line += ::PathFindFileNameW(std::wstring(values.Text()).c_str());
        } else if (values.Type() == REG_MULTI_SZ && values.GetMultiString(files, L'|') && files.starts_with(L"T|")) {
          const size_t bar = files.find(L'|', 2);
          line += std::wstring(::PathFindFileNameW(files.substr(2, bar - 2).c_str())) + L"|" +
                  ::PathFindFileNameW(files.substr(bar + 1).c_str());
        } else {
          line += L"#" + std::to_wstring(values.Type());
        }
        lines.push_back(line);
      }
    }
    {
      RegistryValueEnumerator markers(HKEY_CURRENT_USER, kFontsInstalledKey, 0);
      while (markers.IsOpen() && markers.Next()) {
        DWORD value = 0;
        const bool ours = StartsWithPrefix(markers.Name(), L"2|" + kPrefix) || StartsWithPrefix(markers.Name(), L"1|" + kPrefix);
        if (!ours || !markers.GetDword(value)) continue;
        wchar_t hex[16];
        swprintf(hex, 16, L"%lx", static_cast<unsigned long>(value));
        lines.push_back(L"M " + std::wstring(markers.Name()) + L"=" + hex);
      }
    }
    std::set<std::wstring> families;
    for (const TestFont& font : kFonts)
      if (!font.family.empty()) families.insert(font.family);
    for (const std::wstring& family : families)
      if (testing_support::GdiKnows(family)) lines.push_back(L"L " + family);
    // The records a journal keeps, the groups marked installed, what lies outside the font keys.
    if (const orv::ScopedKey journal = OpenRegKey(HKEY_CURRENT_USER, kGroupCommandJournalKey, KEY_READ)) {
      int records = 0;
      RegistryValueEnumerator values(HKEY_CURRENT_USER, kGroupCommandJournalKey, 0);
      while (values.Next())
        if (values.Name().size() == 9 && values.Name()[0] == L'R') ++records;
      lines.push_back(L"J " + std::to_wstring(records));
    }
    for (const std::wstring& file : {std::wstring(kRootGroupFile), std::wstring(L"orvelgrp00001.xml")}) {
      FontGroup group;
      if (group.Load(file) && group.Installed) lines.push_back(L"G " + file);
    }
    RegValueState outside;
    if (RegValueState::Read(HKEY_CURRENT_USER, kRunKey, kForgedValue, outside) != ERROR_SUCCESS || outside.exists)
      lines.push_back(L"X Run");
    if (OpenRegKey(HKEY_LOCAL_MACHINE, kForeignKey, KEY_READ)) lines.push_back(L"X SOFTWARE");
    // Loads and unloads of files that are none of the test's fonts.
    for (const std::wstring& call : FontCalls()) {
      const bool ours = std::any_of(std::begin(kFonts), std::end(kFonts), [&](const TestFont& font) {
        return call.find(font.file.substr(0, font.file.size() - 4)) != std::wstring::npos;
      });
      if (!ours) lines.push_back(L"F " + call);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  // A journal of the kind the table names, as another program of the user could write it.
  void Forge(int kind) {
    using namespace journal_detail;
    const std::wstring ha = L"OrvRha Sans (TrueType)";
    RegValueState userValue;
    ASSERT_EQ(RegValueState::Read(HKEY_LOCAL_MACHINE, kFontsKey, ha, userValue), ERROR_SUCCESS);
    std::vector<std::vector<BYTE>> records;
    DWORD command = kInstallGroup, wasInstalled = 0;
    std::wstring group, name = L"Forged";
    bool commandAsText = false;
    switch (kind) {
      case 1:
        records.push_back(EncodeValueChange({HKEY_CURRENT_USER, kRunKey, kForgedValue, RegistryKey::StringState(L"C:\\evil.exe"), {}}));
        break;
      case 2:
        records.push_back(EncodeValueChange({HKEY_LOCAL_MACHINE, kForeignKey, kForgedValue, RegistryKey::StringState(L"x.ttf"), {}}));
        break;
      case 3:
        records.push_back(EncodeValueChange(
            {HKEY_LOCAL_MACHINE, kFontsKey, L"OrvRfg Sans (TrueType)", RegistryKey::StringState(L"..\\..\\OrvRevil.ttf"), {}}));
        break;
      case 4: {
        const std::wstring path = L"C:\\OrvRft.ttf";
        records.push_back(EncodeValueChange({HKEY_LOCAL_MACHINE, kFontsKey, L"OrvRft Sans (TrueType)",
                                             RegValueState::Bytes(REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                                                  (path.size() + 1) * 2),
                                             {}}));
        break;
      }
      case 5:
        // A record that would remove the user's registration, under a header that is not whole.
        commandAsText = true;
        records.push_back(EncodeValueChange({HKEY_LOCAL_MACHINE, kFontsKey, ha, {}, userValue}));
        break;
      case 6: {
        const std::wstring& file = files_[L"OrvRha Sans"];
        const std::wstring folder = file.substr(0, file.rfind(L'\\'));
        records.push_back(EncodeFontChange({folder + L"\\sub\\..\\ha.ttf", true}));
        records.push_back(EncodeFontChange({L"C:\\windows\\system32\\user32.dll", false}));
        break;
      }
      case 7:
        command = kUninstallGroup, wasInstalled = 1, group = kRootGroupFile;
        break;
      case 8:
        command = kUninstallGroup, wasInstalled = 1, group = L"..\\orvelgrp00001.xml";
        break;
      case 9:
        name.assign(8000, L'W');
        break;
      case 10:
        command = kUninstallGroup, wasInstalled = 1, group = L"orvelgrp00001.xml";
        break;
    }
    HKEY raw = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kGroupCommandJournalKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw,
                                nullptr),
              ERROR_SUCCESS);
    const orv::ScopedKey key(raw);
    (void)WriteRegString(key.Get(), kGroupValue, group);
    (void)WriteRegString(key.Get(), kGroupNameValue, name);
    (void)WriteRegDword(key.Get(), kWasInstalledValue, wasInstalled);
    if (commandAsText) (void)WriteRegString(key.Get(), kCommandValue, std::to_wstring(command));
    else (void)WriteRegDword(key.Get(), kCommandValue, command);
    for (size_t i = 0; i < records.size(); ++i) {
      wchar_t record[16];
      swprintf(record, 16, L"R%08u", static_cast<unsigned>(i));
      (void)WriteRegBinary(key.Get(), record, records[i].data(), static_cast<DWORD>(records[i].size()));
    }
  }

  // A group command as the groups tree runs it: inside a journal, finished after the command.
  bool RunGroup(UINT command, FontItemList& items, int kill, int journalWriteFails = 0) {
    g_journalWritesToFail = journalWriteFails;
    InstallJournal journal(command, std::wstring(), std::wstring(), command == kUninstallGroup);
    g_callsToKill = kill;
    bool result = false;
    try {
      FontInstaller installer(&items, nullptr, false, &journal);
      result = command == kInstallGroup ? installer.InstallSelected(command) : installer.UninstallSelected(command);
    } catch (const Killed&) {
      g_callsToKill = 0;
      return false;  // the journal stays, as the killed program leaves it
    }
    g_callsToKill = 0;
    g_journalWritesToFail = 0;
    journal.Finish();
    return result;
  }

  void SetValue(HKEY root, const wchar_t* key, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    HKEY raw = nullptr;
    ::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &raw, nullptr);
    const orv::ScopedKey open(raw);
    ::RegSetValueExW(open.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  }
  // The value name a font of the table is registered under, and its key.
  std::pair<const wchar_t*, std::wstring> ValueOf(const std::wstring& font) {
    if (files_[font].ends_with(L".pfm")) return {kType1FontsKey, font};
    return {kFontsKey, font + L" (TrueType)"};
  }

  bool Run(const Step& step) {
    FontItemList items;
    for (const std::wstring& font : step.fonts) items.AddGroupFont(font, files_[font]);
    const std::wstring& first = files_[step.fonts.front()];
    switch (step.act) {
      case Act::ListInstall:
        return FontInstaller(&items, nullptr, false).InstallSelected(kInstallFromList);
      case Act::ListUninstall:
        return FontInstaller(&items, nullptr, false).UninstallSelected(kUninstallFromList);
      case Act::GroupInstall:
        return RunGroup(kInstallGroup, items, 0);
      case Act::GroupUninstall:
        return RunGroup(kUninstallGroup, items, 0);
      case Act::ValueGoesOutside: {
        const orv::ScopedKey key = OpenRegKey(HKEY_LOCAL_MACHINE, kFontsKey, KEY_SET_VALUE | KEY_WOW64_64KEY);
        ::RegDeleteValueW(key.Get(), (step.fonts.front() + L" (TrueType)").c_str());
        while (::RemoveFontResourceW(first.c_str())) {
        }
        return true;
      }
      case Act::UserValue: {
        const orv::ScopedKey key = OpenRegKey(HKEY_LOCAL_MACHINE, kFontsKey, KEY_SET_VALUE | KEY_WOW64_64KEY);
        return RegistryKey(key.Get()).SetString((step.fonts.front() + L" (TrueType)").c_str(), files_[step.fonts[1]]) ==
               ERROR_SUCCESS;
      }
      case Act::StaleMarker: {
        HKEY raw = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kFontsInstalledKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr);
        const orv::ScopedKey key(raw);
        return WriteRegDword(key.Get(), (L"2|" + step.fonts.front()).c_str(), 1);
      }
      case Act::Stick:
        Stuck().insert(first);
        return true;
      case Act::Unstick:
        Stuck().erase(first);
        return true;
      case Act::FileAway:
        while (::RemoveFontResourceW(first.c_str())) {
        }
        return ::MoveFileW(first.c_str(), (first + L".away").c_str()) != FALSE;
      case Act::FileBack:
        return ::MoveFileW((first + L".away").c_str(), first.c_str()) && ::AddFontResourceW(first.c_str()) > 0;
      case Act::ExpandValue: {
        const auto [key, name] = ValueOf(step.fonts.front());
        SetValue(HKEY_LOCAL_MACHINE, key, name, REG_EXPAND_SZ, first.c_str(), static_cast<DWORD>((first.size() + 1) * 2));
        return true;
      }
      case Act::DwordValue: {
        const auto [key, name] = ValueOf(step.fonts.front());
        const DWORD one = 1;
        SetValue(HKEY_LOCAL_MACHINE, key, name, REG_DWORD, &one, sizeof(one));
        return true;
      }
      case Act::OtherType1Value: {
        const std::wstring data(L"T\0C:\\other.pfm\0C:\\other.pfb\0\0", 31);
        SetValue(HKEY_LOCAL_MACHINE, kType1FontsKey, step.fonts.front(), REG_MULTI_SZ, data.data(),
                 static_cast<DWORD>(data.size() * 2));
        return true;
      }
      case Act::FileReplaced:
        while (::RemoveFontResourceW(first.c_str())) {
        }
        return ::CopyFileW(files_[step.fonts[1]].c_str(), first.c_str(), FALSE) && ::AddFontResourceW(first.c_str()) > 0;
      case Act::GroupInstallKilled:
        return RunGroup(kInstallGroup, items, step.kill);
      case Act::GroupUninstallKilled:
        return RunGroup(kUninstallGroup, items, step.kill);
      case Act::GroupInstallJournalFails:
        return RunGroup(kInstallGroup, items, 0, step.kill);
      case Act::GroupUninstallJournalFails:
        return RunGroup(kUninstallGroup, items, 0, step.kill);
      case Act::Restart:
        // As the program starts: the undo, then its box.
        if (const std::optional<RecoveredGroupCommand> undone = RecoverCutShortGroupCommand()) {
          ReportUndoneGroupCommand(nullptr, *undone);
          return true;
        }
        return false;
      case Act::Forge:
        Forge(step.kill);
        return true;
      case Act::Refuse:
        for (const std::wstring& font : step.fonts) Refused().insert(font + L" (TrueType)");
        return true;
      case Act::Allow:
        Refused().clear();
        return true;
      case Act::NoLoad:
        Unloadable().insert(first);
        return true;
      case Act::LoadAgain:
        Unloadable().clear();
        return true;
      case Act::Hold:
        held_.Reset(::CreateFileW(first.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        return static_cast<bool>(held_);
      case Act::Release:
        held_.Reset();
        return true;
      case Act::LongValue: {
        const auto [key, name] = ValueOf(step.fonts.front());
        const std::vector<BYTE> bytes(RegValueState::kMaxBytes + 2, 0x41);
        SetValue(HKEY_LOCAL_MACHINE, key, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
        return true;
      }
    }
    return false;
  }

  testing_support::ScratchDir systemFonts_, userFonts_, source_, groups_;
  std::wstring groupsFolder_;
  orv::ScopedHandle held_;
  std::map<std::wstring, std::wstring> files_;
  std::vector<FontItem> records_;
  std::pair<std::wstring, std::wstring> saved_;
  bool savedElevated_ = false;
  int32_t savedRelease_ = 0;
  uint32_t savedFlags_ = 0;
};

TEST_F(InstallRegistryStates, EveryStepLeavesTheRegistryAsTheTableSays) {
  MakeFonts();
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    Clean();
    Publish();
    int n = 0;
    for (const Step& step : c.steps) {
      SCOPED_TRACE("step " + std::to_string(++n));
      testing_support::ResetRecords();
      const bool result = Run(step);
      const bool command = step.act <= Act::GroupUninstall || step.act == Act::GroupInstallJournalFails ||
                           step.act == Act::GroupUninstallJournalFails || step.act == Act::Restart;
      if (command) {
        EXPECT_EQ(result, step.result);
      }
      // Killed, the program leaves whatever it had done: what counts is what comes after. The
      // other steps that are no command only set the scene.
      const bool scene = step.act == Act::GroupInstallKilled || step.act == Act::GroupUninstallKilled ||
                         (step.act >= Act::Forge && step.act <= Act::Release);
      if (scene) {
        EXPECT_TRUE(Boxes().empty());
        Publish();
        continue;
      }
      std::vector<std::wstring> expected = step.state;
      std::sort(expected.begin(), expected.end());
      const std::vector<std::wstring> state = State();
      EXPECT_EQ(state, expected) << "got:\n" << [&] {
        std::string text;
        for (const std::wstring& line : state) text += "  " + Narrow(line) + "\n";
        return text;
      }();
      if (step.named.empty()) {
        EXPECT_TRUE(Boxes().empty()) << (Boxes().empty() ? "" : Narrow(Boxes()[0].text));
      } else {
        ASSERT_EQ(Boxes().size(), 1u);
        for (const auto& [font, reason] : step.named)
          EXPECT_NE(Boxes()[0].text.find(font.empty() ? LoadResString(reason) : font + L": " + LoadResString(reason)),
                    std::wstring::npos)
              << Narrow(Boxes()[0].text);
        // No text from outside makes the box wider than a screen: no run without a break is long.
        size_t run = 0, longest = 0;
        for (wchar_t ch : Boxes()[0].text) longest = std::max(longest, run = iswspace(ch) ? 0 : run + 1);
        EXPECT_LE(longest, 100u) << Narrow(Boxes()[0].text.substr(0, 300));
      }
      Publish();  // the font change: the installed list is filled again
    }
  }
}

namespace {
size_t g_boxesAtAnnounce = 0;
int g_announced = 0;
LRESULT CALLBACK RecordingMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == ID_FONT_CHANGE) {
    ++g_announced;
    g_boxesAtAnnounce = Boxes().size();
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

// The report of what failed comes before the font change is announced, so that the refresh the
// announcement starts never runs inside the box's modal loop; and the box stands in front of the
// top-level window of the window the command came from (a tree or list inside the main window).
TEST_F(InstallRegistryStates, FailuresAreToldBeforeTheFontChangeInFrontOfTheMainWindow) {
  MakeFonts();
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &RecordingMainProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"OrvRecordingMain";
  ::RegisterClassW(&windowClass);
  HWND main = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  ASSERT_NE(main, nullptr);
  HWND tree = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 50, 50, main, nullptr, nullptr, nullptr);
  const HWND saved = g_AppState.MainWindow;
  g_AppState.MainWindow = main;
  Publish();
  ASSERT_TRUE(Run({Act::UserValue, {L"OrvRco Sans", L"OrvRus Sans"}}));
  Publish();
  for (UINT command : {kInstallGroup, kUninstallGroup}) {
    SCOPED_TRACE(command);
    testing_support::ResetRecords();
    g_announced = 0;
    if (command == kUninstallGroup) Stuck().insert(files_[L"OrvRgd Sans"]);
    FontItemList items;
    for (const wchar_t* font : {L"OrvRco Sans", L"OrvRgd Sans"}) items.AddGroupFont(font, files_[font]);
    FontInstaller installer(&items, tree, false);
    command == kInstallGroup ? installer.InstallSelected(command) : installer.UninstallSelected(command);
    EXPECT_EQ(g_announced, 1);
    EXPECT_EQ(g_boxesAtAnnounce, 1u) << "the box was shown before the announcement";
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].owner, main);
    Publish();
  }
  g_AppState.MainWindow = saved;
  ::DestroyWindow(main);
}
