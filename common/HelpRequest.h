// Help requests: the help file's contents, then a topic, through HTML Help bound at run time.
// Every dialog and tool window calls ShowHelpTopic with its own dialog identifier.
#pragma once

#include <windows.h>

void ShowHelpTopic(UINT topic);
void ShowHelpContents();
void ShowHelpIndex();
