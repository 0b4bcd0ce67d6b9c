// The flat element API. Each entry reports a failure of its own for the
// calling thread, as a service-object operation does; a UI handler's failure
// passed on by SendEvent was reported by the handler itself.
#include "uiengine/ElementApi.h"

#include "ElementOps.h"
#include "service-common/OperationReport.h"

namespace UIEngine {

namespace {

// An entry as its failure records name it: by its declaration in the
// header that describes the table (the lines follow that header).
struct Entry {
    const wchar_t* name;
    const char* signature;
    uint32_t line;
};
constexpr const char* kFile = "app\\include\\ui-engine\\uielementapi";

constexpr Entry kSelectElements{
    L"SelectElements",
    "uint32_t UIElementApi::SelectElements(HELEMENT,const char *,UIElementVisitor,void *)", 58};
constexpr Entry kMatchesSelector{
    L"MatchesSelector", "uint32_t UIElementApi::MatchesSelector(HELEMENT,const char *,uint32_t *)",
    62};
constexpr Entry kFindNearestAncestor{
    L"FindNearestAncestor",
    "uint32_t UIElementApi::FindNearestAncestor(HELEMENT,const char *,uint32_t,HELEMENT *)", 67};
constexpr Entry kGetParent{L"GetParent", "uint32_t UIElementApi::GetParent(HELEMENT,HELEMENT *)",
                           71};
constexpr Entry kGetState{L"GetState", "uint32_t UIElementApi::GetState(HELEMENT,uint32_t *)", 74};
constexpr Entry kSetState{
    L"SetState", "uint32_t UIElementApi::SetState(HELEMENT,uint32_t,uint32_t,uint32_t)", 79};
constexpr Entry kSendEvent{
    L"SendEvent",
    "uint32_t UIElementApi::SendEvent(HELEMENT,uint32_t,HELEMENT,uintptr_t,uint32_t *)", 90};
constexpr Entry kGetText{L"GetText",
                         "uint32_t UIElementApi::GetText(HELEMENT,UITextReceiver,void *)", 96};
constexpr Entry kSetText{L"SetText", "uint32_t UIElementApi::SetText(HELEMENT,const wchar_t *)",
                         99};

uint32_t Reported(uint32_t code, const Entry& entry) {
    return SODetails::Reported(code, L"UIElementApi", entry.name, entry.signature, kFile,
                               entry.line);
}

uint32_t SelectElements(HELEMENT from, const char* selector, UIElementVisitor visit,
                        void* context) {
    std::vector<HELEMENT> found;
    uint32_t code =
        visit ? Detail::SelectElements(from, selector, &found, nullptr) : SODetails::kBadArgument;
    if (code == SODetails::kOk)
        for (HELEMENT element : found)
            if (visit(context, element) != 0)
                break;
    return Reported(code, kSelectElements);
}

uint32_t MatchesSelector(HELEMENT element, const char* selector, uint32_t* matches) {
    bool result = false;
    uint32_t code = matches ? Detail::MatchesSelector(element, selector, &result, nullptr)
                            : SODetails::kBadArgument;
    if (code == SODetails::kOk)
        *matches = result ? 1 : 0;
    return Reported(code, kMatchesSelector);
}

uint32_t FindNearestAncestor(HELEMENT element, const char* selector, uint32_t depth,
                             HELEMENT* found) {
    return Reported(Detail::FindNearestAncestor(element, selector, depth, found, nullptr),
                    kFindNearestAncestor);
}

uint32_t GetParent(HELEMENT element, HELEMENT* parent) {
    return Reported(Detail::GetParent(element, parent), kGetParent);
}

uint32_t GetState(HELEMENT element, uint32_t* state) {
    return Reported(Detail::GetState(element, state), kGetState);
}

uint32_t SetState(HELEMENT element, uint32_t setBits, uint32_t clearBits, uint32_t updateNow) {
    return Reported(Detail::SetState(element, setBits, clearBits, updateNow != 0), kSetState);
}

uint32_t SendEvent(HELEMENT target, uint32_t code, HELEMENT source, uintptr_t data,
                   uint32_t* handled) {
    if (handled)
        *handled = 0;
    Detail::EventRoute route;
    uint32_t result = Detail::PrepareEvent(target, code, source, data, &route);
    if (result != SODetails::kOk)
        return Reported(result, kSendEvent);
    Detail::DeliveryResult delivery = Detail::DeliverEvent(route);
    if (handled)
        *handled = delivery.handled ? 1 : 0;
    return delivery.code;
}

uint32_t GetText(HELEMENT element, UITextReceiver receive, void* context) {
    std::wstring text;
    uint32_t code = receive ? Detail::GetText(element, &text) : SODetails::kBadArgument;
    if (code == SODetails::kOk)
        receive(context, text.c_str(), static_cast<uint32_t>(text.size()));
    return Reported(code, kGetText);
}

uint32_t SetText(HELEMENT element, const wchar_t* text) {
    return Reported(Detail::SetText(element, text), kSetText);
}

const UIElementApi kElementApi = {
    sizeof(UIElementApi), 1,          &SelectElements, &MatchesSelector,
    &FindNearestAncestor, &GetParent, &GetState,       &SetState,
    &SendEvent,           &GetText,   &SetText,
};

} // namespace

const UIElementApi* ElementApi() {
    return &kElementApi;
}

} // namespace UIEngine
