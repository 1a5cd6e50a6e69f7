// Resource identifiers shared by the resource library's scripts and the program's code.
// Each subsystem keeps its identifiers in its own header, included here; windres reads the
// same headers, so they hold #define lines only.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#include "common/ResourceIdsApp.h"
#include "common/ResourceIdsFonts.h"
#include "common/ResourceIdsLists.h"
#include "common/ResourceIdsGroups.h"
#include "common/ResourceIdsViewing.h"
#include "common/ResourceIdsSamples.h"
#include "common/ResourceIdsProperties.h"
#include "common/ResourceIdsOptions.h"
#include "common/ResourceIdsSearch.h"
#include "common/ResourceIdsPrinting.h"
#include "common/ResourceIdsCensus.h"
#include "common/ResourceIdsBackup.h"
#include "common/ResourceIdsClassify.h"
#include "common/ResourceIdsGroupChecks.h"
