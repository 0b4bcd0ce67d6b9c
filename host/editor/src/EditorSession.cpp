#include "EditorSession.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "EditorRefusal.h"
#include "JsonWriter.h"
#include "bl/BLDocumentView.h"
#include "bl/BLInputHandler.h"
#include "fileout/EditLock.h"
#include "fileout/OutputTarget.h"
#include "hostbl/HostBL.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"
#include "uiengine/ElementTree.h"
#include "uiengine/Elements.h"
#include "uiengine/UserGestures.h"

namespace {

namespace Input = BLInputEventTypes;

// The pointer is kept this far inside the viewport's top and bottom edges:
// the view scrolls when it would leave them.
constexpr int32_t kEdgeMargin = 8;

std::string ColorText(uint32_t argb) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", argb);
    return text;
}

// Pixels with two decimals are more than the page can show.
double Rounded(float v) {
    return std::round(double(v) * 100) / 100;
}

void WriteFills(JsonWriter& json, const std::vector<HostBL::PaintedFill>& fills) {
    json.BeginArray();
    for (const HostBL::PaintedFill& fill : fills) {
        json.BeginObject().Key("color").String(ColorText(fill.argb)).Key("polygons").BeginArray();
        for (const auto& polygon : fill.polygons) {
            json.BeginArray();
            for (const SL::PointF& p : polygon)
                json.Number(Rounded(p.x)).Number(Rounded(p.y));
            json.EndArray();
        }
        json.EndArray().EndObject();
    }
    json.EndArray();
}

// What a handler or the tool recorded when it failed, for the page to show.
std::string FailureText(const ServiceObjectException& e) {
    return SLText::ToNarrow(e.Message());
}

} // namespace

EditorSession::EditorSession(Application& app, const Files& files)
    : app_(app), files_(files), inPlace_(FileOut::SameFile(files.input, files.output)) {
    shown_ = app_.Open(files_.input, files_.readOnly);
    app_.Invoke([&] {
        pageCount_ = HostBL::PageCount(shown_.document.get());
        repaired_ = HostBL::WasRepaired(shown_.document.get());
        // The listener runs on the UI thread, where the elements change; it
        // only moves the revision that the page's long poll waits for.
        listener_ = app_.Ribbon().AddListener([this](const UIEngine::ElementChange&) { Bump(); });
    });
}

EditorSession::~EditorSession() {
    StopWaiting();
    try {
        app_.Invoke([&] { app_.Ribbon().RemoveListener(listener_); });
        app_.Close(shown_);
    } catch (const std::exception&) {
        // The application has stopped; the view went with it.
    }
}

void EditorSession::Bump() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++revision_;
    }
    changed_.notify_all();
}

void EditorSession::StopWaiting() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

std::string EditorSession::State(uint64_t after, std::chrono::milliseconds wait) {
    uint64_t revision;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, wait, [&] { return stopped_ || revision_ > after; });
        revision = revision_;
    }
    return app_.Invoke([&] { return StateJson(revision); });
}

std::string EditorSession::StateJson(uint64_t revision) {
    ServiceObject* document = shown_.document.get();
    ServiceObject* view = shown_.blView.get();
    JsonWriter json;
    json.BeginObject().Key("revision").Integer(revision);

    json.Key("document").BeginObject();
    json.Key("name").String(std::filesystem::path(files_.input).filename().string());
    json.Key("saveTo").String(std::filesystem::path(files_.output).filename().string());
    json.Key("inPlace").Bool(inPlace_);
    json.Key("zoom").Number(HostBL::Zoom(view));
    json.Key("version").Integer(version_);
    json.Key("undo").Integer(HostBL::UndoSteps(document));
    json.Key("redo").Integer(HostBL::RedoSteps(document));
    json.Key("unsaved").Bool(changes_ != savedChanges_);
    json.Key("readOnly").Bool(HostBL::ViewState(view) & BLViewState::kReadOnly);
    json.Key("tool").String(HostBL::ActiveToolName(view));
    // A page that loads anew numbers its pointer events on from here.
    json.Key("pointerSequence").Integer(lastSequence_);
    json.Key("pages").BeginArray();
    for (uint64_t page = 0; page < pageCount_; ++page) {
        const SL::RectI rect = HostBL::PageDeviceRect(view, page);
        json.BeginArray().Integer(rect.x1 - rect.x0).Integer(rect.y1 - rect.y0).EndArray();
    }
    json.EndArray().EndObject();

    // Every element in document order: its state bits and, for elements
    // without element children, its text. Then the popup requests.
    const std::vector<HELEMENT> elements = app_.Ribbon().Elements();
    std::set<HELEMENT> parents;
    for (HELEMENT element : elements)
        parents.insert(UIEngine::Parent(element));
    json.Key("elements").BeginArray();
    std::vector<std::pair<uint32_t, UIEngine::ColorPopupRecord>> popups;
    std::map<std::string, uint32_t> firstById;
    for (uint32_t index = 0; index < elements.size(); ++index) {
        const UIEngine::ElementInfo info = UIEngine::Describe(elements[index]);
        json.BeginArray().Integer(info.state);
        if (parents.count(elements[index]))
            json.Null();
        else
            json.String(SLText::ToNarrow(info.text));
        json.EndArray();
        if (info.popupRequest)
            popups.emplace_back(index, *info.popupRequest);
        if (!info.id.empty())
            firstById.emplace(info.id, index);
    }
    // Where each id first appears, for scripts that look elements up.
    json.EndArray().Key("ids").BeginObject();
    for (const auto& [id, index] : firstById)
        json.Key(id).Integer(index);
    json.EndObject().Key("popups").BeginArray();
    for (const auto& [index, request] : popups) {
        json.BeginObject().Key("element").Integer(index);
        json.Key("color").String(SLText::ToNarrow(request.colorText));
        json.Key("allowCustom").Bool(request.allowCustom != 0);
        json.Key("markCurrent").Bool(request.markCurrent != 0);
        json.Key("opacity");
        if (request.opacity)
            json.Number(*request.opacity);
        else
            json.Null();
        json.Key("received").Integer(request.received).EndObject();
    }
    json.EndArray().EndObject();
    return json.Text();
}

void EditorSession::NoteDocumentChanges(uint32_t undoBefore, uint32_t redoBefore) {
    ServiceObject* document = shown_.document.get();
    if (HostBL::UndoSteps(document) != undoBefore || HostBL::RedoSteps(document) != redoBefore) {
        ++version_;
        ++changes_;
    }
    Bump();
}

std::string EditorSession::Perform(Gesture gesture, uint32_t element, uint32_t color) {
    return app_.Invoke([&] {
        const std::vector<HELEMENT> elements = app_.Ribbon().Elements();
        if (element >= elements.size())
            throw EditorRefusal(HttpStatus::kNotFound, "the ribbon has no such element");
        HELEMENT target = elements[element];
        if (gesture != Gesture::kClick && !UIEngine::PopupOf(target))
            throw EditorRefusal(HttpStatus::kBadRequest, "the element has no popup");
        const uint32_t undo = HostBL::UndoSteps(shown_.document.get());
        const uint32_t redo = HostBL::RedoSteps(shown_.document.get());
        UIEngine::GestureResult result;
        std::string failure;
        try {
            switch (gesture) {
            case Gesture::kClick:
                result = UIEngine::Click(target);
                break;
            case Gesture::kOpenPopup:
                result = UIEngine::OpenPopup(target);
                break;
            case Gesture::kChooseColor:
                wchar_t text[16];
                std::swprintf(text, sizeof text / sizeof text[0], L"%08x", color);
                result = UIEngine::ChooseColor(UIEngine::PopupOf(target), text);
                break;
            }
        } catch (const ServiceObjectException& e) {
            // What the handler did before it failed stands (a started tool).
            result.delivered = true;
            failure = FailureText(e);
        }
        NoteDocumentChanges(undo, redo);
        JsonWriter json;
        json.BeginObject().Key("delivered").Bool(result.delivered);
        json.Key("handled").Bool(result.handled);
        json.Key("refusal").StringOrNull(result.refusal);
        json.Key("failure").StringOrNull(failure);
        json.EndObject();
        return json.Text();
    });
}

void EditorSession::CheckPage(uint64_t page) const {
    if (page >= pageCount_)
        throw EditorRefusal(HttpStatus::kNotFound, "the document has no such page");
}

std::string EditorSession::HandlePointer(const Pointer& pointer) {
    return app_.Invoke([&] {
        CheckPage(pointer.page);
        if (pointer.firstShown > pointer.lastShown || pointer.lastShown >= pageCount_ ||
            pointer.lastShown - pointer.firstShown >= kMaxShownPages)
            throw EditorRefusal(HttpStatus::kBadRequest, "the shown pages are not a range of pages");
        if (pointer.sequence <= lastSequence_)
            throw EditorRefusal(HttpStatus::kConflict, "a pointer event out of order");
        lastSequence_ = pointer.sequence;

        ServiceObject* view = shown_.blView.get();
        ServiceObject* document = shown_.document.get();
        // The view scrolls so that the pointer stays inside its viewport;
        // the point is then given in the viewport's device pixels.
        SL::RectI rect = HostBL::PageDeviceRect(view, pointer.page);
        const int64_t y = int64_t{rect.y0} + pointer.y;
        if (y < kEdgeMargin || y >= shown_.geometry.height - kEdgeMargin) {
            const int64_t wanted = HostBL::ScrollPosition(view) + y - shown_.geometry.height / 2;
            HostBL::ScrollTo(view, static_cast<int32_t>(std::clamp<int64_t>(wanted, 0, INT32_MAX)));
            rect = HostBL::PageDeviceRect(view, pointer.page);
        }
        const SL::PointI device{rect.x0 + pointer.x, rect.y0 + pointer.y};

        const uint32_t undo = HostBL::UndoSteps(document), redo = HostBL::RedoSteps(document);
        const std::string toolBefore = HostBL::ActiveToolName(view);
        bool handled = false;
        std::string failure;
        try {
            handled = HostBL::DispatchInput(view, pointer.type, pointer.button, device);
        } catch (const ServiceObjectException& e) {
            failure = FailureText(e);
        }
        const uint64_t versionBefore = version_;
        if (toolBefore != HostBL::ActiveToolName(view) || pointer.type != Input::kMouseMove)
            NoteDocumentChanges(undo, redo);

        JsonWriter json;
        json.BeginObject().Key("handled").Bool(handled);
        json.Key("failure").StringOrNull(failure);
        json.Key("version").Integer(version_);
        json.Key("changed").Bool(version_ != versionBefore);
        json.Key("overlay").BeginArray();
        for (uint64_t page = pointer.firstShown; page <= pointer.lastShown; ++page) {
            json.BeginObject().Key("page").Integer(page + 1).Key("fills");
            WriteFills(json, HostBL::RecordPageDrawing(view, page));
            json.EndObject();
        }
        json.EndArray().EndObject();
        return json.Text();
    });
}

std::string EditorSession::DocumentReply(bool done) {
    JsonWriter json;
    json.BeginObject().Key("done").Bool(done).Key("version").Integer(version_).EndObject();
    return json.Text();
}

std::string EditorSession::Step(bool (*step)(ServiceObject*)) {
    return app_.Invoke([&] {
        ServiceObject* document = shown_.document.get();
        const uint32_t undo = HostBL::UndoSteps(document), redo = HostBL::RedoSteps(document);
        const bool done = step(document);
        NoteDocumentChanges(undo, redo);
        return DocumentReply(done);
    });
}

std::string EditorSession::Undo() {
    return Step(&HostBL::Undo);
}

std::string EditorSession::Redo() {
    return Step(&HostBL::Redo);
}

std::string EditorSession::SetZoom(float zoom) {
    if (!(zoom >= kMinZoom && zoom <= kMaxZoom))
        throw EditorRefusal(HttpStatus::kBadRequest, "the zoom must lie between 0.5 and 4");
    return app_.Invoke([&] {
        HostBL::SetZoom(shown_.blView.get(), zoom);
        ++version_;
        Bump();
        return DocumentReply(true);
    });
}

std::string EditorSession::Save(bool overwrite) {
    const bool inPlace = inPlace_;
    if (inPlace && !overwrite)
        throw EditorRefusal(HttpStatus::kConflict,
                            "saving replaces " + files_.input + ": confirm it first");
    return app_.Invoke([&] {
        if (inPlace && repaired_)
            throw EditorRefusal(HttpStatus::kConflict,
                                "the document was repaired on opening and cannot be saved over "
                                "itself: start vellum serve with -o to save it to another file");
        // An edit in place waits for a vellum that edits the same file.
        std::optional<FileOut::EditLock> lock;
        if (inPlace)
            lock.emplace(files_.output, [] {});
        HostBL::Save(shown_.document.get(), files_.output, /*incremental=*/!repaired_);
        savedChanges_ = changes_;
        Bump();
        JsonWriter json;
        json.BeginObject().Key("saved").String(files_.output).EndObject();
        return json.Text();
    });
}

std::string EditorSession::PagePNG(uint64_t page) {
    const HostBL::Image image = app_.Invoke([&] {
        CheckPage(page);
        return HostBL::RenderPage(shown_.blView.get(), page);
    });
    // Encoding needs no host object: it stays off the UI thread.
    return HostBL::EncodePNG(image);
}

bool EditorSession::Unsaved() {
    return app_.Invoke([&] { return changes_ != savedChanges_; });
}
