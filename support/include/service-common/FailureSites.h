// Where this module's failures say they come from.
//
// Every failure record (ReportError, ServiceObjectException) and every log
// entry carries a source path, a line and a function text. Other modules and
// the host's tools know a failure by these three values, so they are fixed
// identifiers of the contract: the paths name files of the host's own source
// tree, and the lines are lines of those files. They are not this tree's
// file names or line numbers, and they do not change when code here moves.
// New failure records take their values from here, never from __FILE__ or
// __LINE__.
#pragma once

#include <cstdint>

namespace FailureSites {

struct Site {
    const char* file;
    uint32_t line;
    const char* function;
};

// --- Operations of this module's service objects ----------------------------
// A static operation function records a refused or failed call with the path
// of the header that declares the interface and "the line of the operation's
// declaration": the line on which that header, in the host's source tree,
// declares the operation. The function text is built from the interface's
// template and the implementing class (SODetails::ReportOperation).

struct OperationDeclaration {
    const char* interfaceName;
    const char* operation;
    const char* file;
    uint32_t line;
};

constexpr const char* kInputHandlerFile = "app\\include\\bl\\inputhandler";
constexpr const char* kInputHandlerFactoryFile = "app\\include\\bl\\inputhandlerfactory";
constexpr const char* kUIHandlerFile = "app\\include\\ui-engine\\uihandler";

constexpr OperationDeclaration kOperationDeclarations[] = {
    {"BLInputHandler", "Initialize", kInputHandlerFile, 12},
    {"BLInputHandler", "Terminate", kInputHandlerFile, 13},
    {"BLInputHandler", "GetToolName", kInputHandlerFile, 15},
    {"BLInputHandler", "IsFinished", kInputHandlerFile, 17},
    {"BLInputHandler", "HandleEvent", kInputHandlerFile, 19},
    {"BLInputHandler", "Removed", kInputHandlerFile, 21},
    {"BLInputHandler", "FocusAnnot", kInputHandlerFile, 22},
    {"BLInputHandler", "RestoreSelection", kInputHandlerFile, 24},
    {"BLInputHandler", "OnDeathrattle", kInputHandlerFile, 25},
    {"BLInputHandlerFactory", "CreateInputHandler", kInputHandlerFactoryFile, 7},
    // The host's UI handler header declares the 23 operations one a line, in
    // table order, from line 30 on.
    {"UIHandler", "QueryServiceObject", kUIHandlerFile, 30},
    {"UIHandler", "GetHandlerName", kUIHandlerFile, 31},
    {"UIHandler", "GetElementAttachedTo", kUIHandlerFile, 32},
    {"UIHandler", "GetSubscribedEvents", kUIHandlerFile, 33},
    {"UIHandler", "HandleMouse", kUIHandlerFile, 34},
    {"UIHandler", "HandleKey", kUIHandlerFile, 35},
    {"UIHandler", "HandleFocus", kUIHandlerFile, 36},
    {"UIHandler", "HandleTimer", kUIHandlerFile, 37},
    {"UIHandler", "HandleSize", kUIHandlerFile, 38},
    {"UIHandler", "HandleScroll", kUIHandlerFile, 39},
    {"UIHandler", "HandleDraw", kUIHandlerFile, 40},
    {"UIHandler", "HandleMethodCall", kUIHandlerFile, 41},
    {"UIHandler", "HandleScriptCall", kUIHandlerFile, 42},
    {"UIHandler", "HandleEvent", kUIHandlerFile, 43},
    {"UIHandler", "HandleDataArrived", kUIHandlerFile, 44},
    {"UIHandler", "HandleGesture", kUIHandlerFile, 45},
    {"UIHandler", "HandleExchange", kUIHandlerFile, 46},
    {"UIHandler", "Attached", kUIHandlerFile, 47},
    {"UIHandler", "Detached", kUIHandlerFile, 48},
    {"UIHandler", "OnDocumentComplete", kUIHandlerFile, 49},
    {"UIHandler", "OnInplacePluginsInitialized", kUIHandlerFile, 50},
    {"UIHandler", "OnInitComplete", kUIHandlerFile, 51},
    {"UIHandler", "OnLocaleChanged", kUIHandlerFile, 52},
};

// --- The service provider's failures (SP::_CheckServiceProviderApiResult) ----
// One line per provider result, and per result whether a system error came
// with it.
struct ServiceProvider {
    static constexpr const char* kFile = "support\\include\\service-common\\serviceprovider";
    static constexpr const char* kFunction = "SP::_CheckServiceProviderApiResult";
    static constexpr uint32_t kServiceNotSupportedByModuleLine = 65;
    static constexpr uint32_t kFactoryFailedLine = 71;
    static constexpr uint32_t kNoPublicObjectsLine = 77;
    static constexpr uint32_t kServiceNotSupportedLine = 83;
    static constexpr uint32_t kModuleNotFoundLine = 96;
    static constexpr uint32_t kModuleNotFoundWithoutSystemErrorLine = 103;
    static constexpr uint32_t kFactoryFunctionNotFoundLine = 116;
    static constexpr uint32_t kFactoryFunctionNotFoundWithoutSystemErrorLine = 123;
    static constexpr uint32_t kOtherResultLine = 49;
    static constexpr uint32_t kOtherResultWithoutSystemErrorLine = 59;
};

// --- Single sites -------------------------------------------------------------

// The "Brand" service gives no legal text.
constexpr Site kBrandLegalCopyright = {"support\\src\\support-proxy\\brand", 86,
                                       "BrandProxy::Raw::GetLegalCopyright"};
// The "Brand" service gives no relative path of the user settings.
constexpr Site kBrandSettingsRelativePath = {"support\\src\\support-proxy\\brand", 61,
                                             "BrandProxy::Raw::GetDefaultSettingsRelativePath"};

// The document-model library refuses a page's rotation or crop box.
constexpr const char* kPageFile = "app\\src\\pdmodel-proxy\\page";
constexpr Site kPageGetRotate = {kPageFile, 45, "PDFL::Page::GetRotate"};
constexpr Site kPageGetCropBox = {kPageFile, 54, "PDFL::Page::GetCropBox"};

// A hit test on a page whose text cannot be loaded.
constexpr Site kHitTestChar = {"app\\include\\bl\\internal\\selectcaret", 209,
                               "BL::SelectCaret::HitTestChar"};

// The markup tool's annotation of one page of a finished drag: no document,
// no document-model handle, no annotation made.
constexpr const char* kToolFile = "app\\src\\vellum-marker\\addtextmarkupannotationinputhandler";
constexpr const char* kOnAreaSelected = "BLAddTextMarkupAnnotationInputHandlerImpl::OnAreaSelected";
constexpr Site kOnAreaSelectedNoDocument = {kToolFile, 113, kOnAreaSelected};
constexpr Site kOnAreaSelectedNoDocumentHandle = {kToolFile, 117, kOnAreaSelected};
constexpr Site kOnAreaSelectedNoAnnot = {
    kToolFile, 155,
    "void __cdecl BLAddTextMarkupAnnotationInputHandlerImpl::OnAreaSelected(unsigned "
    "__int64,const struct SL::RectF &,const class std::vector<struct SL::Quad,class "
    "std::allocator<struct SL::Quad> > &)"};

// A page of a drag whose annotation failed with a standard exception. The
// function text names the tool class between the two parts.
struct SelectorOnLButtonUp {
    static constexpr const char* kFile = "app\\include\\bl\\selectorinputhandlerbase";
    static constexpr uint32_t kLine = 102;
    static constexpr const char* kFunctionBeforeClass = "bool __cdecl SelectorInputHandlerBase<";
    static constexpr const char* kFunctionAfterClass =
        ">::OnLButtonUp(const struct SL::PointI &,unsigned int)";
};

// A UI handler asked to forward a query that its window could not answer
// and that came without an error record of the window's. The function text
// names the handler's class between the two parts.
struct UIHandlerOnQueryServiceObject {
    static constexpr const char* kFile = "app\\include\\ui\\uihandlerstdimpl";
    static constexpr uint32_t kLine = 276;
    static constexpr const char* kFunctionBeforeClass = "SOImpl::UIHandlerStdImpl<";
    static constexpr const char* kFunctionAfterClass =
        ",class UIEngineTraits>::OnQueryServiceObject";
};

// A window that could not give a UI handler one of its frame objects. The
// function text is a pattern: %1% is the interface's type name.
struct QueryServiceObjectFromUIWnd {
    static constexpr const char* kFile = "app\\include\\ui\\uiwndserviceobjectrequester";
    static constexpr uint32_t kLine = 112;
    static constexpr const char* kFunctionPattern =
        "bool __cdecl UIWndServiceObjectRequester::QueryServiceObjectFromUIWnd<struct %1%>(struct "
        "ServiceObject *,class SODetails::BasicServiceObjectPtr<struct %1%> &)";
};

} // namespace FailureSites
