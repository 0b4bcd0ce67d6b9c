// One page of a sample document as both sides see it: the host's document
// and a view that shows the page, MuPDF's own copy of the file, and the
// places on the page where the benchmarks press and point.
#pragma once

#include <memory>
#include <string>

#include "BenchSupport.h"
#include "MupdfPeer.h"

namespace bench {

struct PageSubject {
    std::string label; // "<document>-p<1-based page>"
    std::string path;
    int page = 0;
    fz_rect bounds{};     // MuPDF page space
    fz_matrix userToPage; // PDF user space onto MuPDF page space
    PagePlaces places;    // PDF user space
    ObjectPtr document;   // the host's document
    ObjectPtr view;       // shows the page whole at zoom 1
    std::unique_ptr<MupdfDocument> mupdf;

    // The view's device point of a place on the page.
    SL::PointI Device(const fz_point& user) const;
    // The point MuPDF is given for a device point: the page point the view
    // reports for it, in MuPDF's page space. Both sides see the same point.
    fz_point MupdfPoint(const SL::PointI& device) const;
    // The page point the view reports for a device point.
    SL::PointF PagePoint(const SL::PointI& device) const;
};

// Opens `file` of the samples on both sides. `page` < 0 picks the densest
// page among the first `densestOf` pages. Throws std::runtime_error.
std::unique_ptr<PageSubject> OpenSubject(const std::string& name, const std::string& file, int page,
                                         int densestOf = 0);

} // namespace bench
