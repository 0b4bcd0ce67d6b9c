// Everything this module registers while it loads.
//
// The registries are lists that take each new node at the front, and the
// host sees their order: ReflectServiceObjectInfo lists the service objects
// in list order, "UIReviewMarkupGroupHandler" first, so the font group
// handler must be registered before the markup group handler. The language
// leaves the order of initialisers in different files open (in practice it
// is the link order), while within one file they run in the order they are
// written; so every registration is made here, in the order the contract
// gives.
#include "AddTextMarkupAnnotationInputHandler.h"
#include "FontGroupTextMarkupControlHandler.h"
#include "MarkupGroupHandler.h"
#include "ModuleRegistry.h"
#include "UiAction_AddTextMarkupAnnotation.h"

namespace {

using Tool = BLAddTextMarkupAnnotationInputHandlerImpl;

InputHandlerRegistration gTool(Tool::kToolName, Tool::Factory::Make());
ServiceObjectRegistration gFontGroup("UIReviewFontGroupTextMarkupControlHandler",
                                     &FontGroupTextMarkupControlHandler::Create);
ServiceObjectRegistration gMarkupGroup("UIReviewMarkupGroupHandler", &MarkupGroupHandler::Create);
// The plug-in's own statics (its display strings) come between these in the
// contract's order; they register nothing, so that order is kept.
UIActionRegistration gAddMarkupAction(UiAction_AddTextMarkupAnnotation::kActionName,
                                      &UiAction_AddTextMarkupAnnotation::Create);

} // namespace
