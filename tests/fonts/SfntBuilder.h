// The font file builder moved to the shared test support.
#pragma once
#include "tests/support/SfntBuilder.h"
