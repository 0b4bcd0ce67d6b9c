// Stand-ins for the host's document, page, view and selection objects, over
// a document of the document-model library. Each is a real service object
// of this framework (reference counts, weak references, error info), with
// the operations the plug-in's text layer calls, and records what it saw.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "bl/BLDocument.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/SLGeometry.h"

namespace fakes {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// Calls of any fake document's unsubscribe entry, live or not.
extern int unsubscribeCalls;

// Empties the slot at byte position `position` of an object's table.
void ClearOperation(ServiceObject* object, std::size_t position);

struct Document {
    PDDocument pd = nullptr; // not owned
    // What the subscribe entry answers; 0 refuses.
    uint64_t nextHandle = 7;
    // The live subscriptions of OnPageContentChanged by handle.
    struct Context {
        BLDocumentEvents::OnPageContentChanged::Invoke invoke;
        BLDocumentEvents::OnPageContentChanged::Destroy destroy;
        void* context;
    };
    std::map<uint64_t, Context> subscribers;
    std::vector<uint64_t> unsubscribed;
    int pagesHandedOut = 0;
    int pageAccessesEnded = 0;
    // Annotation operations: the atom and the arguments.
    std::vector<std::pair<SLAtom, AnnotOperationArgs>> annotOperations;

    ~Document();
    // Raises OnPageContentChanged for `page`.
    void ContentChanged(uint64_t page);

    static ObjectPtr Make(PDDocument pd);
    static Document& Of(ServiceObject* object);
};

struct View {
    ObjectPtr document;
    ObjectPtr selection;
    // Device points map onto page 0 at a tenth of their size; points with a
    // negative x are on no page.
    static ObjectPtr Make(ObjectPtr document, ObjectPtr selection = nullptr);
    static View& Of(ServiceObject* object);
};

struct Selection {
    SLAtom type = 0;
    std::map<uint64_t, std::vector<SL::Quad>> quads;
    int quadCountsAsked = 0;
    static ObjectPtr Make(SLAtom type, std::map<uint64_t, std::vector<SL::Quad>> quads);
    static Selection& Of(ServiceObject* object);
};

} // namespace fakes
