#include "bl/internal/CurrentAuthor.h"

#include "bl/BLService.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"

namespace BL {

const wchar_t* GetCurrentAuthor() {
    static const SLAtom kAuthorService = SODetails::AtomFromString("BLAuthor");
    SODetails::BasicServiceObjectPtr<> author;
    try {
        author = SP::GetServiceObject(kAuthorService, "BLAuthor");
    } catch (const ServiceObjectException&) {
        return nullptr; // no author service: no author
    }
    const wchar_t* name = nullptr;
    SODetails::CallChecked<BLAuthorOps::GetAuthor>(author.get(), &name);
    return name;
}

} // namespace BL
