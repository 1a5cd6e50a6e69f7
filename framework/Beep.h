// The beep of a refused key or command (MessageBeep), which a test can take in its place so
// that it hears what the program would have sounded. The program never sets the sink. Part of
// the program's seams (common/Seams.h), kept here because the window layer beeps too.
#pragma once

#include <windows.h>

namespace seams {

using BeepSink = void (*)(UINT type);
void SetBeepSink(BeepSink sink);
void Beep(UINT type = 0);

}  // namespace seams
