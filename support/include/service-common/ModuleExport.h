// Symbol visibility for functions that cross module boundaries.
#pragma once

#if defined(_WIN32)
#define SO_EXPORT __declspec(dllexport)
#define SO_IMPORT __declspec(dllimport)
#else
#define SO_EXPORT __attribute__((visibility("default")))
#define SO_IMPORT
#endif
