// Mouse handling of a tool that selects text by dragging: a left press on a
// character anchors the selection, moves extend it, and the release hands
// each page's selected runs to the tool (T::OnAreaSelected) inside one
// group of edits of the document.
//
// T provides its class name text (kSignatureName, "class X"), the atom of
// "BLService" (BLServiceAtom()) and
//   void OnAreaSelected(uint64_t page, const SL::RectF& rect, const std::vector<SL::Quad>& quads);
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bl/BLDocument.h"
#include "bl/BLDocumentView.h"
#include "bl/BLService.h"
#include "bl/internal/TextSelectionTracker.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/BoundingRect.h"
#include "service-common/Log.h"
#include "service-common/RectUnion.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "service-common/TextConversion.h"

template <class T> class SelectorInputHandlerBase {
public:
    bool OnLButtonDown(const SL::PointI& point, unsigned int flags);
    bool OnMouseMove(const SL::PointI& point, unsigned int flags);
    bool OnLButtonUp(const SL::PointI& point, unsigned int flags);

    // Shows the host's cursor `cursor`; nothing when the business-logic
    // service or its cursor object is not there.
    void SetCursor(uint32_t cursor);

    bool IsButtonDown() const { return buttonDown_; }
    ServiceObject* View() const { return view_; }
    BL::TextSelectionTracker* Tracker() const { return tracker_.get(); }

protected:
    SelectorInputHandlerBase() = default;
    ~SelectorInputHandlerBase() = default;

    uint32_t cursorOverText_ = BLCursorOps::kCursorOverText;
    uint32_t cursorElsewhere_ = BLCursorOps::kCursorElsewhere;
    bool buttonDown_ = false;
    ServiceObject* view_ = nullptr; // not counted: the host keeps the view
    std::unique_ptr<BL::TextSelectionTracker> tracker_;

private:
    // Hands the runs of each page from `first` to `last` to the tool.
    // Returns when a page's annotation failed (the failure is logged when it
    // is a standard exception); the remaining pages are then skipped.
    void AnnotatePages(uint64_t first, uint64_t last);
    static void LogFailure(const std::exception& e) noexcept;

    T& Tool() { return static_cast<T&>(*this); }
};

template <class T>
bool SelectorInputHandlerBase<T>::OnLButtonDown(const SL::PointI& point, unsigned int) {
    if (buttonDown_)
        return false;
    buttonDown_ = true;
    return tracker_ && tracker_->OnLButtonDown(point);
}

template <class T>
bool SelectorInputHandlerBase<T>::OnMouseMove(const SL::PointI& point, unsigned int) {
    if (!buttonDown_) {
        const bool overText = tracker_ && tracker_->HitTestChar(point, nullptr);
        SetCursor(overText ? cursorOverText_ : cursorElsewhere_);
        return true;
    }
    if (!tracker_ || !tracker_->Caret().IsSelecting())
        return false;

    BL::TextPosition target;
    if (!tracker_->HitTestChar(point, &target)) {
        // Between characters: the nearest one inside the swept area.
        uint64_t page = 0;
        SL::PointF q{0.0f, 0.0f};
        if (!tracker_->PagePoint(point, &page, &q))
            return false;
        tracker_->Caret().FindNearestChar(page, q, tracker_->SweepRect(page, q), &target);
    }
    if (target.HasPage()) {
        tracker_->Caret().SetCaret(target);
        SODetails::CallChecked<BLDocumentViewOps::Invalidate>(view_);
    }
    SetCursor(cursorOverText_);
    return true;
}

template <class T> bool SelectorInputHandlerBase<T>::OnLButtonUp(const SL::PointI&, unsigned int) {
    if (!buttonDown_)
        return false;
    buttonDown_ = false;
    if (!tracker_ || !tracker_->Caret().IsSelecting())
        return false;

    BL::SelectCaret& caret = tracker_->Caret();
    caret.SetSelecting(false);
    caret.FireSelectionState();
    SODetails::CallChecked<BLDocumentViewOps::Invalidate>(view_); // the live painting goes

    BL::TextPosition first = caret.Anchor();
    BL::TextPosition last = caret.Caret();
    if (last < first)
        std::swap(first, last);
    if (first == last)
        return true;

    SODetails::BasicServiceObjectPtr<> document;
    SODetails::CallChecked<BLDocumentViewOps::GetDocument>(view_, document.Receive());
    SODetails::CallChecked<BLDocumentOps::BeginEditGroup>(document.get());
    try {
        AnnotatePages(first.page, last.page);
    } catch (...) {
        // The selection's quads could not be read: the group is closed
        // before the failure goes on to the host.
        try {
            SODetails::CallChecked<BLDocumentOps::EndEditGroup>(document.get());
        } catch (...) {
        }
        throw;
    }
    SODetails::CallChecked<BLDocumentOps::EndEditGroup>(document.get());
    return true;
}

template <class T> void SelectorInputHandlerBase<T>::AnnotatePages(uint64_t first, uint64_t last) {
    for (uint64_t page = first; page <= last; ++page) {
        const std::vector<SL::Quad> quads = tracker_->GetSelectionQuads(page);
        SL::RectF rect{};
        if (!quads.empty()) {
            rect = SL::BoundingRect(quads.front());
            for (std::size_t i = 1; i < quads.size(); ++i)
                rect = SL::Union(rect, SL::BoundingRect(quads[i]));
        }
        try {
            Tool().OnAreaSelected(page, rect, quads);
        } catch (const std::exception& e) {
            LogFailure(e);
            return;
        } catch (...) {
            return;
        }
        if (page == last)
            break; // the last page may be the largest index there is
    }
}

template <class T> void SelectorInputHandlerBase<T>::LogFailure(const std::exception& e) noexcept {
    try {
        using Site = FailureSites::SelectorOnLButtonUp;
        static const std::string function =
            Site::kFunctionBeforeClass + std::string(T::kSignatureName) + Site::kFunctionAfterClass;
        Log(SLText::ToWide(e.what()), SODetails::kLogSeverityFailure, Site::kFile, Site::kLine,
            function.c_str());
    } catch (...) {
        // A failure record that cannot be written is dropped.
    }
}

template <class T> void SelectorInputHandlerBase<T>::SetCursor(uint32_t cursor) {
    SODetails::BasicServiceObjectPtr<> service;
    try {
        service = SP::GetServiceObject(T::BLServiceAtom(), nullptr);
    } catch (const ServiceObjectException&) {
        return; // no business-logic service: the cursor stays as it is
    }
    SODetails::BasicServiceObjectPtr<> cursorObject;
    SODetails::CallChecked<BLServiceOps::GetCursor>(service.get(), cursorObject.Receive());
    SODetails::CallChecked<BLCursorOps::SetCursor>(cursorObject.get(), cursor);
}
