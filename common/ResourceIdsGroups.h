// Resource identifiers of the groups subsystem (dialogs, controls, strings, commands).
#pragma once
