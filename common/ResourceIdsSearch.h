// Resource identifiers of the search subsystem (dialogs, controls, strings, commands).
#pragma once
