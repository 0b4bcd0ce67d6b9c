// Symbol visibility of the file output library.
#pragma once

#include "service-common/ModuleExport.h"

#ifdef FILEOUT_BUILD
#define FILEOUT_API SO_EXPORT
#else
#define FILEOUT_API SO_IMPORT
#endif
