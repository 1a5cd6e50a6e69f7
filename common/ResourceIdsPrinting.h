// Resource identifiers of the printing subsystem (dialogs, controls, strings, commands).
#pragma once
