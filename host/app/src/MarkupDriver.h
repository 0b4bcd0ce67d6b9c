// Drags across a document's text in a view exactly as a user's mouse would:
// left-button presses, pointer moves and releases in device pixels, handed
// to the view's active tool (the plug-in's markup tool, or the host's text
// tool). The view scrolls to wherever the pointer has to go. Called on the
// application's UI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "DocumentText.h"
#include "PhraseSearch.h"
#include "ViewGeometry.h"
#include "fileout/OutputFile.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/SLGeometry.h"

struct PagePoint {
    uint64_t page;    // counted from 0
    SL::PointF point; // page space
};

// An annotation that a drag created, with the text under its quads.
struct CreatedAnnot {
    uint64_t page;
    FolioAnnotInfo info;
    std::vector<PDQuadF> quads;
    std::wstring text;
};

struct DragOutcome {
    bool pressedOnText = false;
    std::vector<CreatedAnnot> annots;
    uint32_t undoSteps = 0; // how many undo steps the drag added
    // The text of all created annotations, in order, white space folded.
    std::wstring CoveredText() const;
};

class MarkupDriver {
public:
    // Input goes to `view`, whose viewport is `geometry`, showing `document`.
    MarkupDriver(ServiceObject* document, DocumentText& text, ServiceObject* view,
                 const ViewGeometry& geometry);
    MarkupDriver(const MarkupDriver&) = delete;
    MarkupDriver& operator=(const MarkupDriver&) = delete;

    // Presses at `from`, moves over the pages between, and releases at
    // `to`. With a snapshot file, the view is drawn just before the release
    // and the release's page written into it as a PNG. `afterRelease` runs
    // right after the release, before the outcome is taken: what it adds
    // counts as the drag's.
    DragOutcome Drag(const PagePoint& from, const PagePoint& to, FileOut::OutputFile* snapshot,
                     const std::function<void()>& afterRelease = {});
    // A drag from just inside the match's first character to just past its
    // last one.
    DragOutcome DragOver(const PhraseMatch& match, FileOut::OutputFile* snapshot,
                         const std::function<void()>& afterRelease = {});
    // Undoes the last drag's edits.
    void UndoLastDrag();

    // The release of the host's finishing button, which ends the active tool.
    void Finish();

private:
    DragOutcome DragBetween(uint64_t fromPage, SL::PointI fromDevice, uint64_t toPage,
                            const std::function<SL::PointI()>& toDevice,
                            FileOut::OutputFile* snapshot, const std::function<void()>& afterRelease);
    SL::PointI Show(uint64_t page, SL::PointF point);
    SL::PointI InsideViewport(SL::PointI device) const;
    SL::PointI JustInside(uint64_t page, const PDQuadF& quad, const PDQuadF* previous);
    SL::PointI JustPast(uint64_t page, const PDQuadF& quad);
    void WriteSnapshot(uint64_t page, FileOut::OutputFile& out);
    std::vector<uint64_t> AnnotCounts(uint64_t firstPage, uint64_t lastPage);

    SODetails::BasicServiceObjectPtr<> document_;
    DocumentText& text_;
    SODetails::BasicServiceObjectPtr<> view_;
    SL::PointI viewport_;
};
