// Resource identifiers of the fonts subsystem (dialogs, controls, strings, commands).
#pragma once
