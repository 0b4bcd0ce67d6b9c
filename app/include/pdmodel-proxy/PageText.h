// A page's text as the document-model library gives it: its characters in
// reading order, each with its Unicode text and its outline quad.
//
// Every failure throws PDF::Exception with the library's own result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "pdmodel-proxy/WrapperBase.h"
#include "service-common/SLGeometry.h"

namespace PDModel {

class PageText : public Detail::WrapperBase<PDPageText, Detail::PDPageTextTraits> {
public:
    class Iterator;
    class Range;

    PageText() = default;
    // Takes over a handle that carries a reference for the caller.
    explicit PageText(PDPageText handle) : WrapperBase(handle) {}
    // A copy holds a reference of its own.
    PageText(const PageText& other);
    PageText& operator=(const PageText& other);
    PageText(PageText&&) noexcept = default;
    PageText& operator=(PageText&&) noexcept = default;

    // A new holder of `handle` with a reference of its own.
    static PageText Share(PDPageText handle);

    uint64_t GetNumChars() const;
    // One or more UTF-16 units.
    std::wstring GetCharUnicode(uint64_t index) const;
    SL::Quad GetCharQuad(uint64_t index) const;

    Iterator begin() const;
    Iterator end() const;
    // The position `index`; `index` may be the character count (the end).
    Iterator At(uint64_t index) const;
    // The characters between two positions, in either order.
    Range GetRange(uint64_t from, uint64_t to) const;
};

// A position in one page text. Holds its own reference to the page text, so
// it stays valid when every other holder lets go.
class PageText::Iterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = SL::Quad;
    using difference_type = std::ptrdiff_t;
    using pointer = const SL::Quad*;
    using reference = SL::Quad;

    // Throws "Invalid parent" for a null page text and "Char index is out of
    // range" for an index beyond the character count.
    Iterator(const PageText& parent, uint64_t index);

    // The quad of the character at this position.
    SL::Quad operator*() const;
    // Throws "Iterator is not incrementable" at the end.
    Iterator& operator++();

    // Same page text and same index.
    bool operator==(const Iterator& other) const {
        return parent_.get() == other.parent_.get() && index_ == other.index_;
    }
    bool operator!=(const Iterator& other) const { return !(*this == other); }

    uint64_t Index() const { return index_; }
    const PageText& Parent() const { return parent_; }

private:
    PageText parent_;
    uint64_t index_;
    uint64_t count_;
};

// Two positions of the same page text, the smaller first. Throws "Iterators
// are not compatible" for positions of different page texts.
class PageText::Range {
public:
    Range(Iterator a, Iterator b);

    const Iterator& begin() const { return first_; }
    const Iterator& end() const { return last_; }
    bool empty() const { return first_ == last_; }
    uint64_t size() const { return last_.Index() - first_.Index(); }

private:
    Iterator first_;
    Iterator last_;
};

} // namespace PDModel
