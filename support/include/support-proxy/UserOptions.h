// The user options tree of the process: the generated root UsrOpt_Options,
// its groups and values, and the one instance that every module of the
// process shares through the host's singleton storage.
//
// Callers reach a value as a member of its group:
//   GetOptions().General.LastColorHighlight.Get()
#pragma once

#include <cstdint>

#include "support-proxy/OptionsMacros.h"
#include "support-proxy/UserOptionsSchema.h"

USROPT_ROOT(UsrOpt_Options, "Options", Options)

namespace usropts {
// The id of the tree's block in the singleton storage: "Opti" in memory order.
constexpr uint32_t kOptionsStaticDataId = 0x6974704F;
} // namespace usropts

// Every module that shares the tree must agree on its layout.
#if defined(_WIN32)
static_assert(sizeof(UsrOpt_Options) == 41288, "the options tree is 41288 bytes");
#endif

// The process's tree, created on first use: bound to the options store node
// (see CreateOptionsStoreNode) but not loaded, so every value holds its
// default until some module loads the tree or sets the value. Throws
// std::runtime_error when the singleton storage is gone or refuses the id,
// and the store node's ServiceObjectException when it cannot be made.
UsrOpt_Options& GetOptions();

// The singleton storage's constructor and destructor of the tree's block.
void CreateOptionsRoot(void* storage);
void DestroyOptionsRoot(void* storage);
