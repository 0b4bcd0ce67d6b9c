// vellum info: the loaded plug-ins with their texts and what they publish.
#include <cstdio>

#include "Commands.h"
#include "HostSession.h"
#include "service-common/TextConversion.h"
#include "ui-engine/UIHandlerOps.h"

namespace {

// The name a handler gives itself, or its interface's name.
std::string HandlerName(ServiceObject* handler) {
    const char* name = nullptr;
    if (SODetails::TryCall<UIHandlerOps::GetHandlerName>(handler, &name) == SODetails::kOk && name)
        return name;
    return handler->interfaceName;
}

} // namespace

int RunInfo(HostSession& session, const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "vellum info: unexpected argument '%s'\n", args[0].c_str());
        return kExitUsage;
    }
    Application& app = session.App();
    const PluginHost& host = app.Plugins();
    if (host.Plugins().empty()) {
        std::fprintf(stderr, "vellum: no plug-ins found in the plugins folder\n");
        return kExitFailed;
    }
    int failures = 0;
    for (const LoadedPlugin& plugin : host.Plugins()) {
        std::printf("plug-in %s\n", plugin.path.c_str());
        if (!plugin.started) {
            std::printf("  not started: %s\n", plugin.failure.c_str());
            ++failures;
            continue;
        }
        const PluginInfo* info = plugin.pluginInterface.info;
        std::printf("  name:          %s\n", SLText::ToNarrow(info->name).c_str());
        std::printf("  description:   %s\n", SLText::ToNarrow(info->description).c_str());
        std::printf("  legal notice:  %s\n", SLText::ToNarrow(info->legalNotice).c_str());
        std::printf("  service objects:\n");
        for (const PublishedObject& object :
             app.Invoke([&] { return host.PublishedObjects(plugin); }))
            std::printf("    %-44s atom %u (module table: 0x%08X)\n", object.name.c_str(),
                        object.atom, object.reflectedAtom);
    }
    std::printf("UI actions:\n");
    for (const std::string& action : app.Invoke([&] { return host.UIActions(); }))
        std::printf("  %s\n", action.c_str());
    std::printf("ribbon panels:\n");
    for (const HostUI::Placement& placement : app.RibbonPlacements())
        std::printf("  %-8s %s (%s)\n", SLText::ToNarrow(placement.group).c_str(),
                    app.Invoke([&] { return HandlerName(placement.handler.get()); }).c_str(),
                    placement.handler->interfaceName);
    return failures ? kExitFailed : kExitDone;
}
