// Resource identifiers of the lists subsystem (dialogs, controls, strings, commands).
#pragma once
