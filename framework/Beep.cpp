#include "framework/Beep.h"

namespace seams {

namespace {
BeepSink g_beepSink = nullptr;
}  // namespace

void SetBeepSink(BeepSink sink) { g_beepSink = sink; }

void Beep(UINT type) {
  if (g_beepSink) {
    g_beepSink(type);
    return;
  }
  ::MessageBeep(type);
}

}  // namespace seams
