// Atoms: u32 numbers that strpool gives to names, the same in every module.
#pragma once

#include <cstdint>

using SLAtom = uint32_t;

namespace SODetails {

constexpr SLAtom kUnresolvedAtom = 0xFFFFFFFFu;

// The atom of `name`, as strpool gives it (the result is not examined).
SLAtom AtomFromString(const char* name);

// A module-level atom static: starts unresolved, set when the module loads.
class AtomStatic {
public:
    explicit AtomStatic(const char* name) : name_(name), atom_(AtomFromString(name)) {}
    SLAtom get() const { return atom_; }
    operator SLAtom() const { return atom_; }
    const char* name() const { return name_; }

private:
    const char* name_;
    SLAtom atom_ = kUnresolvedAtom;
};

} // namespace SODetails
