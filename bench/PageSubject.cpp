#include "PageSubject.h"

#include <cmath>
#include <stdexcept>

#include "bl/internal/SelectCaret.h"
#include "hostbl/HostBL.h"

namespace bench {

SL::PointI PageSubject::Device(const fz_point& user) const {
    return ToDevice(view.get(), uint64_t(page), SL::PointF{user.x, user.y});
}

SL::PointF PageSubject::PagePoint(const SL::PointI& device) const {
    return ToPage(view.get(), uint64_t(page), device);
}

fz_point PageSubject::MupdfPoint(const SL::PointI& device) const {
    const SL::PointF user = PagePoint(device);
    return fz_transform_point(fz_make_point(user.x, user.y), userToPage);
}

std::unique_ptr<PageSubject> OpenSubject(const std::string& name, const std::string& file, int page,
                                         int densestOf) {
    auto subject = std::make_unique<PageSubject>();
    subject->path = SamplePath(file);
    subject->mupdf = std::make_unique<MupdfDocument>(subject->path);
    MupdfDocument& mupdf = *subject->mupdf;
    if (page < 0)
        page = DensestPage(mupdf, 0, densestOf - 1);
    if (page < 0 || page >= mupdf.PageCount())
        throw std::runtime_error(subject->path + ": no such page (" + mupdf.Error() + ")");
    subject->page = page;
    subject->label = name + "-p" + std::to_string(page + 1);
    if (!mupdf.PageGeometry(page, &subject->bounds, &subject->userToPage) ||
        !FindPlaces(mupdf, page, &subject->places))
        throw std::runtime_error(subject->path + ": cannot lay out page " +
                                 std::to_string(page + 1) + ": " + mupdf.Error());

    subject->document = HostBL::OpenDocument(subject->path);
    // MuPDF has read the page already; folio reads it once too, so that
    // both start with the page's fonts in their stores.
    BL::SelectCaret(subject->document.get()).GetPageText(uint64_t(page));
    const fz_irect shown = fz_round_rect(subject->bounds);
    subject->view = ViewOfPage(subject->document.get(), uint64_t(page), shown.x1 - shown.x0,
                               shown.y1 - shown.y0);
    return subject;
}

} // namespace bench
