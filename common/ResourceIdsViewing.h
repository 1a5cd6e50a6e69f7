// Resource identifiers of the viewing subsystem (dialogs, controls, strings, commands).
#pragma once
