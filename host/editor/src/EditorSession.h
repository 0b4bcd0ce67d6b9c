// What the browser editor does with the application: one document shown in
// a view, the ribbon's gestures, the pointer's events on the view, undo,
// redo, zoom and save. Every call hands its work to the application's UI
// thread and waits for it, so it may come from any thread; answers are JSON
// texts for the page. A request that does not fit (an element or page that
// does not exist, a pointer event out of order) throws EditorRefusal before
// anything reaches the plug-in.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "Application.h"

class EditorSession {
public:
    struct Files {
        std::string input;
        std::string output; // the input itself for an edit in place
        bool readOnly = false;
    };
    // Opens the document and makes its view the active one. Throws
    // std::runtime_error when it cannot be opened.
    EditorSession(Application& app, const Files& files);
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // The state the page shows (document, view, ribbon elements), once its
    // revision exceeds `after` or the wait is over.
    std::string State(uint64_t after, std::chrono::milliseconds wait);
    // Ends the waits of State at once; later calls do not wait.
    void StopWaiting();

    enum class Gesture { kClick, kOpenPopup, kChooseColor };
    // A gesture on the ribbon's element with this index in document order.
    std::string Perform(Gesture gesture, uint32_t element, uint32_t color);

    struct Pointer {
        uint64_t sequence;   // grows with every event of the page
        uint32_t type;       // BLInputEventTypes
        uint32_t button;     // BLInputEventTypes
        uint64_t page;       // counted from 0
        int32_t x, y;        // pixels from the page's top-left corner
        uint64_t firstShown; // the pages the page shows, whose overlay it wants
        uint64_t lastShown;
    };
    // Hands the event to the view's active tool in device pixels of the
    // view; answers with what the draw handlers paint on the shown pages.
    std::string HandlePointer(const Pointer& pointer);

    std::string Undo();
    std::string Redo();
    std::string SetZoom(float zoom);
    // Saves to the output; over the input only with `overwrite` (the user's
    // confirmation).
    std::string Save(bool overwrite);
    // A page as the view shows it, as a PNG file's bytes.
    std::string PagePNG(uint64_t page);

    // Whether there are changes that no save has written.
    bool Unsaved();
    const Files& Paths() const { return files_; }

    static constexpr float kMinZoom = 0.5f, kMaxZoom = 4.0f;
    // The most pages one pointer event asks the overlay of.
    static constexpr uint64_t kMaxShownPages = 16;

private:
    void Bump();
    // After an action: notes changes of the document, bumps the revision.
    void NoteDocumentChanges(uint32_t undoBefore, uint32_t redoBefore);
    std::string StateJson(uint64_t revision);
    void CheckPage(uint64_t page) const;
    std::string DocumentReply(bool done);
    // Undo or redo, on the UI thread.
    std::string Step(bool (*step)(ServiceObject*));

    Application& app_;
    Files files_;
    bool inPlace_;
    Application::Shown shown_;
    uint64_t pageCount_ = 0;
    bool repaired_ = false;
    uint64_t listener_ = 0;

    // UI thread only.
    uint64_t lastSequence_ = 0;
    uint64_t version_ = 1;     // grows whenever the pages' images change
    uint64_t changes_ = 0;     // edits, undos and redos
    uint64_t savedChanges_ = 0;

    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t revision_ = 1;
    bool stopped_ = false;
};
