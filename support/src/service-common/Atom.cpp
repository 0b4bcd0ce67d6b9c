#include "service-common/Atom.h"

#include "strpool.h"

namespace SODetails {

SLAtom AtomFromString(const char* name) {
    SLAtom atom = kUnresolvedAtom;
    SLGetAtomFromString(name, &atom);
    return atom;
}

} // namespace SODetails
