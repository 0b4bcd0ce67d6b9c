// The tool object and its factory as the host sees them: results, failure
// records, the finishing button, and the factory's registration.
#include <gtest/gtest.h>

#include <vector>

#include "ToolTestSupport.h"
#include "bl/BLService.h"
#include "hostbl/HostBL.h"
#include "service-common/PluginRecords.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "svcbroker.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"
#include "vellum-marker/ModuleRegistry.h"

namespace {

using SODetails::TryCall;
using tooltest::ObjectPtr;
using Impl = BLAddTextMarkupAnnotationInputHandlerImpl;
namespace Ops = BLInputHandlerOps;

ErrorInfo LastError(ServiceObject* object) {
    ErrorInfo info{};
    object->common.GetErrorInfo(object, &info, nullptr);
    return info;
}

TEST(ToolObjectTest, NullPointersGiveBadArgumentAndEveryToolIsNew) {
    const ObjectPtr factory = Impl::Factory::Make();
    ServiceObject* tools[2] = {nullptr, nullptr};
    SLAtom names[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(*TryCall<BLInputHandlerFactoryOps::CreateInputHandler>(factory.get(), &tools[i]),
                  0u);
        EXPECT_EQ(tools[i]->common.GetRefCount(tools[i]), 1u);
        EXPECT_EQ(*TryCall<Ops::GetToolName>(tools[i], &names[i]), SODetails::kOk);
    }
    EXPECT_NE(tools[0], tools[1]);
    EXPECT_EQ(names[0], SODetails::AtomFromString("AddTextMarkupAnnot"));
    EXPECT_EQ(names[1], names[0]);

    ServiceObject* t = tools[0];
    const MarkupToolParams params{kPDAtomHighlight, 0xFF00FF00u};
    const BLInputEvent event{BLInputEventTypes::kMouseMove, 0, {0, 0}};
    bool flag = false;
    EXPECT_EQ(*TryCall<Ops::Initialize>(t, nullptr, &params), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::GetToolName>(t, nullptr), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::IsFinished>(t, nullptr), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::Removed>(t, nullptr), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::HandleEvent>(t, nullptr, &flag), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::HandleEvent>(t, &event, nullptr), SODetails::kBadArgument);
    EXPECT_EQ(*TryCall<Ops::FocusAnnot>(t, nullptr),
              SODetails::kDeclined); // declined: not recorded
    ErrorInfo info = LastError(t);
    EXPECT_EQ(std::wstring(info.message), L"BLInputHandler::HandleEvent() failed, code: 3");
    EXPECT_STREQ(info.function,
                 "SOImpl::CppBLInputHandlerBase<class BLAddTextMarkupAnnotationInputHandlerImpl,"
                 "class SODetails::ServiceObjectTraits>::HandleEventImpl::staticF");
    EXPECT_STREQ(info.file, "app\\include\\bl\\inputhandler");

    EXPECT_EQ(*TryCall<BLInputHandlerFactoryOps::CreateInputHandler>(factory.get(), nullptr),
              SODetails::kBadArgument);
    EXPECT_STREQ(LastError(factory.get()).file, "app\\include\\bl\\inputhandlerfactory");
    for (ServiceObject* tool : tools)
        tool->common.Release(tool);
}

TEST(ToolObjectTest, InitializeWithoutParamsAndTheFinishingButton) {
    tooltest::UseHostServices();
    const testsupport::Document pd = tooltest::NewTextDocument(1);
    const ObjectPtr document = HostBL::WrapDocument(pd.get());
    const ObjectPtr view = tooltest::NewView(document.get());
    const SL::PointI onText = tooltest::Device(view.get(), 0, tooltest::CharCentre(1));
    const ObjectPtr tool = tooltest::NewTool(nullptr);
    Impl& impl = Impl::Object::ImplOf(tool.get());

    // The view is kept, but without a tracker no press or release is handled.
    EXPECT_EQ(*TryCall<Ops::Initialize>(tool.get(), view.get(), nullptr), SODetails::kNotAvailable);
    EXPECT_EQ(impl.View(), view.get());
    EXPECT_FALSE(tooltest::Send(tool.get(), BLInputEventTypes::kButtonDown, 0, onText));
    EXPECT_FALSE(tooltest::Send(tool.get(), BLInputEventTypes::kButtonUp, 0, onText));

    const MarkupToolParams params{kPDAtomStrikeOut, 0x80102030u};
    EXPECT_EQ(*TryCall<Ops::Initialize>(tool.get(), view.get(), &params), SODetails::kOk);
    const BL::TextSelectionTracker* tracker = impl.Tracker();
    bool finished = true;
    for (uint32_t type : {2u, 3u, 7u}) // other buttons and events do not finish
        EXPECT_FALSE(tooltest::Send(tool.get(), type, type == 3 ? 2 : 1, onText));
    EXPECT_EQ(*TryCall<Ops::IsFinished>(tool.get(), &finished), SODetails::kOk);
    EXPECT_FALSE(finished);
    EXPECT_FALSE(tooltest::Send(tool.get(), BLInputEventTypes::kButtonUp, 1, onText));
    EXPECT_EQ(*TryCall<Ops::IsFinished>(tool.get(), &finished), SODetails::kOk);
    EXPECT_TRUE(finished);

    // Only Initialize clears it; without params the rest stays as it was.
    EXPECT_EQ(*TryCall<Ops::Initialize>(tool.get(), view.get(), nullptr), SODetails::kNotAvailable);
    EXPECT_FALSE(impl.IsFinishedNow());
    EXPECT_EQ(impl.Tracker(), tracker);
    EXPECT_EQ(impl.Subtype(), uint32_t(kPDAtomStrikeOut));
    EXPECT_EQ(impl.Color(), 0x80102030u);
    EXPECT_EQ(*TryCall<Ops::Terminate>(tool.get()), SODetails::kOk);
    EXPECT_EQ(impl.Tracker(), nullptr);
}

// A business-logic service whose input-handler registry records its calls.
std::vector<std::pair<SLAtom, ServiceObject*>> gRegistered;

template <std::size_t Count, void (*Fill)(SODetails::Operation*)> struct Fake {
    static constexpr const char* kName = "Fake";
    static constexpr std::size_t kOperationCount = Count;
    static void FillOperations(SODetails::Operation* ops) { Fill(ops); }
    using Object = SODetails::ServiceObjectCppTheConcrete<Fake, Fake>;
};
void FillRegistry(SODetails::Operation* ops) {
    SODetails::SetOperation<BLInputHandlerRegistryOps::Register>(
        ops, [](ServiceObject*, SLAtom atom, ServiceObject* factory) {
            gRegistered.emplace_back(atom, factory);
            return 0u;
        });
}
void FillService(SODetails::Operation* ops) {
    SODetails::SetOperation<BLServiceOps::GetInputHandlerRegistry>(
        ops, [](ServiceObject*, ServiceObject** out) {
            *out = Fake<1, &FillRegistry>::Object::New();
            return 0u;
        });
}

TEST(ToolObjectTest, TheFactoryIsRegisteredWithTheBusinessLogicServiceOnce) {
    ServiceProviderRegHostService(
        "BLService",
        [](void*, ServiceObject** out) {
            *out = Fake<BLServiceOps::kOperationCount, &FillService>::Object::New();
            return 0u;
        },
        nullptr, "single");
    const PluginHostInfo host{sizeof(PluginHostInfo), 0, kPluginInterfaceVersion, 0, 0};
    PluginEntryInfo entry{};
    ASSERT_EQ(PluginMain(&host, &entry), SODetails::kOk);
    PluginInterface plugin{};
    plugin.size = sizeof(PluginInterface);
    PluginInitParams params{};
    params.size = sizeof(PluginInitParams);
    params.pluginInterface = &plugin;
    entry.initialize(&params);
    ASSERT_NE(plugin.registerObjects, nullptr);
    EXPECT_EQ(plugin.registerObjects(), SODetails::kOk);
    EXPECT_EQ(plugin.unregisterObjects(), SODetails::kOk);
    EXPECT_EQ(plugin.registerObjects(), SODetails::kOk);
    plugin.unregisterObjects();
    plugin.destroyInstance();
    tooltest::UseHostServices(true);

    InputHandlerRegistration* node = InputHandlerRegistration::Head();
    ASSERT_EQ(gRegistered.size(), 1u);
    EXPECT_EQ(gRegistered[0].first, SODetails::AtomFromString("AddTextMarkupAnnot"));
    EXPECT_EQ(gRegistered[0].second, node->factory.get());
    EXPECT_STREQ(node->name, "AddTextMarkupAnnot");
    EXPECT_STREQ(node->factory->interfaceName, "BLInputHandlerFactory");
}

} // namespace
