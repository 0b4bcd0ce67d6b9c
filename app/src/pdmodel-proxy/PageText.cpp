#include "pdmodel-proxy/PageText.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "service-common/FolioGeometry.h"
#include "service-common/PdfException.h"

namespace PDModel {

namespace {

[[noreturn]] void Fail(uint32_t code, const wchar_t* message) {
    throw PDF::Exception(code, message);
}

void Check(PDResult result, const wchar_t* message) {
    if (result != kPDOk)
        Fail(static_cast<uint32_t>(result), message);
}

} // namespace

PageText::PageText(const PageText& other) : WrapperBase(other.handle_) {
    if (handle_)
        Detail::PDPageTextTraits::Acquire(handle_);
}

PageText& PageText::operator=(const PageText& other) {
    if (other.handle_ != handle_) {
        PDPageText handle = other.handle_; // `other` keeps it alive meanwhile
        Reset();
        if (handle)
            Detail::PDPageTextTraits::Acquire(handle);
        handle_ = handle;
    }
    return *this;
}

PageText PageText::Share(PDPageText handle) {
    if (handle)
        Detail::PDPageTextTraits::Acquire(handle);
    return PageText(handle);
}

uint64_t PageText::GetNumChars() const {
    uint64_t count = 0;
    Check(PDPageTextGetNumChars(handle_, &count), L"Failed to get a number of chars");
    return count;
}

std::wstring PageText::GetCharUnicode(uint64_t index) const {
    uint64_t length = 0;
    PDPageTextGetCharUnicode(handle_, index, nullptr, 0, &length);
    std::vector<wchar_t> buffer(length + 1, L'\0');
    uint64_t copied = 0;
    Check(PDPageTextGetCharUnicode(handle_, index, buffer.data(), length, &copied),
          L"Failed to get a char unicode");
    return std::wstring(buffer.data(), std::min(copied, length));
}

SL::Quad PageText::GetCharQuad(uint64_t index) const {
    PDQuadF quad{};
    Check(PDPageTextGetCharQuad(handle_, index, &quad), L"Failed to get a char quad");
    return SL::FromFolio(quad);
}

PageText::Iterator PageText::begin() const {
    return Iterator(*this, 0);
}

PageText::Iterator PageText::end() const {
    if (!handle_)
        Fail(kPDErrBadArgument, L"Invalid parent");
    return Iterator(*this, GetNumChars());
}

PageText::Iterator PageText::At(uint64_t index) const {
    return Iterator(*this, index);
}

PageText::Range PageText::GetRange(uint64_t from, uint64_t to) const {
    return Range(At(from), At(to));
}

PageText::Iterator::Iterator(const PageText& parent, uint64_t index)
    : parent_(parent), index_(index), count_(0) {
    if (!parent_)
        Fail(kPDErrBadArgument, L"Invalid parent");
    count_ = parent_.GetNumChars();
    if (index_ > count_)
        Fail(kPDErrOutOfRange, L"Char index is out of range");
}

SL::Quad PageText::Iterator::operator*() const {
    const PageText hold(parent_); // held for the duration of the call
    return hold.GetCharQuad(index_);
}

PageText::Iterator& PageText::Iterator::operator++() {
    if (index_ >= count_)
        Fail(kPDErrBadArgument, L"Iterator is not incrementable");
    ++index_;
    return *this;
}

PageText::Range::Range(Iterator a, Iterator b) : first_(std::move(a)), last_(std::move(b)) {
    if (first_.Parent().get() != last_.Parent().get())
        Fail(kPDErrBadArgument, L"Iterators are not compatible");
    if (last_.Index() < first_.Index())
        std::swap(first_, last_);
}

} // namespace PDModel
