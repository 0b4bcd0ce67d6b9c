#include "service-common/SequenceHash.h"

#include <cstdlib>
#include <cstring>
#if defined(__GNUG__)
#include <cxxabi.h>
#endif

#include "strpool.h"

namespace SODetails {

uint32_t SequenceHash(const char* name) {
    if (!name)
        return 0;
    uint32_t hash = 0;
    CalculateSequenceHash(name, static_cast<uint32_t>(strnlen(name, 8192)), &hash);
    return hash;
}

std::string ReadableTypeName(const std::type_info& type) {
#if defined(__GNUG__)
    int status = 0;
    char* readable = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    if (status == 0 && readable) {
        std::string out = readable;
        std::free(readable);
        return out;
    }
#endif
    return type.name();
}

} // namespace SODetails
