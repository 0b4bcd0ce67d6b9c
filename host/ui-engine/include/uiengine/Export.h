// Symbol visibility of the UI engine library's host-side API.
#pragma once

#include "service-common/ModuleExport.h"

#ifdef UIENGINE_BUILD
#define UIENGINE_API SO_EXPORT
#else
#define UIENGINE_API SO_IMPORT
#endif
