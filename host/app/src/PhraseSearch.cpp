#include "PhraseSearch.h"

#include <deque>
#include <stdexcept>

#include "ProgressLine.h"

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f' || c == 0xA0 ||
           (c >= 0x2000 && c <= 0x200B) || c == 0x3000;
}

// One character's text in the form the search compares.
std::wstring Folded(const std::wstring& text) {
    std::wstring out;
    for (const wchar_t c : text) {
        switch (c) {
        case 0x2018:
        case 0x2019:
        case 0x201B:
        case 0x2032:
            out += L'\'';
            break;
        case 0x201C:
        case 0x201D:
        case 0x201F:
        case 0x2033:
            out += L'"';
            break;
        case 0x2010:
        case 0x2011:
        case 0x2012:
        case 0x2013:
        case 0x2014:
        case 0x2212:
            out += L'-';
            break;
        case 0xFB00:
            out += L"ff";
            break;
        case 0xFB01:
            out += L"fi";
            break;
        case 0xFB02:
            out += L"fl";
            break;
        case 0xFB03:
            out += L"ffi";
            break;
        case 0xFB04:
            out += L"ffl";
            break;
        default:
            out += IsSpace(c) ? L' ' : c;
        }
    }
    return out;
}

std::vector<std::wstring> Words(const std::wstring& phrase) {
    std::vector<std::wstring> words;
    std::wstring word;
    for (const wchar_t c : Folded(phrase)) {
        if (c == L' ') {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

// The document's text as one stream of folded units, each pointing back at
// its character; a page break counts as white space. Units are numbered
// from the start of the document, but only those from the first one still
// wanted on are kept, so that a long document is searched in the memory
// its pages need one after the other.
struct Unit {
    wchar_t c;
    bool startsChar;
    bool endsChar;
    CharPosition position;
};

class TextStream {
public:
    void AppendPage(uint64_t page, const std::vector<PageChar>& chars) {
        if (size() > 0)
            units_.push_back({L' ', true, true, {page, 0}});
        for (uint64_t i = 0; i < chars.size(); ++i) {
            const std::wstring folded = Folded(chars[i].text);
            for (std::size_t k = 0; k < folded.size(); ++k)
                units_.push_back({folded[k], k == 0, k + 1 == folded.size(), {page, i}});
        }
    }
    // One past the last unit appended.
    std::size_t size() const { return dropped_ + units_.size(); }
    // Unit i, which must not have been dropped.
    const Unit& operator[](std::size_t i) const { return units_[i - dropped_]; }
    // The units before `first` are no longer wanted.
    void DropBefore(std::size_t first) {
        for (; dropped_ < first && !units_.empty(); ++dropped_)
            units_.pop_front();
    }

private:
    std::deque<Unit> units_;
    std::size_t dropped_ = 0;
};

enum class Outcome { kNoMatch, kMatch, kNeedMore };

// Tries the phrase at `start`; on a match, `end` is its last unit.
Outcome MatchAt(const TextStream& stream, std::size_t start, const std::vector<std::wstring>& words,
                std::size_t& end) {
    if (!stream[start].startsChar)
        return Outcome::kNoMatch;
    std::size_t at = start;
    for (std::size_t w = 0; w < words.size(); ++w) {
        if (w > 0) {
            const std::size_t spaceStart = at;
            while (at < stream.size() && stream[at].c == L' ')
                ++at;
            if (at == stream.size())
                return Outcome::kNeedMore;
            if (at == spaceStart)
                return Outcome::kNoMatch;
        }
        for (const wchar_t c : words[w]) {
            if (at == stream.size())
                return Outcome::kNeedMore;
            if (stream[at].c != c)
                return Outcome::kNoMatch;
            ++at;
        }
    }
    end = at - 1;
    return Outcome::kMatch;
}

} // namespace

std::vector<PhraseMatch> FindPhrase(DocumentText& text, const std::wstring& phrase, bool all,
                                    ProgressLine* progress) {
    const std::vector<std::wstring> words = Words(phrase);
    if (words.empty())
        throw std::invalid_argument("the phrase is empty");
    std::vector<PhraseMatch> matches;
    TextStream stream;
    std::size_t next = 0; // the first unit not yet tried as a start
    for (uint64_t page = 0; page < text.PageCount(); ++page) {
        stream.AppendPage(page, text.Chars(page));
        const bool lastPage = page + 1 == text.PageCount();
        while (next < stream.size()) {
            std::size_t end = 0;
            const Outcome outcome = MatchAt(stream, next, words, end);
            if (outcome == Outcome::kNeedMore && !lastPage)
                break; // it may go on over the next page
            if (outcome != Outcome::kMatch) {
                ++next;
                continue;
            }
            matches.push_back({stream[next].position, stream[end].position});
            if (!all)
                return matches;
            next = end + 1;
        }
        stream.DropBefore(next);
        if (progress)
            progress->Update(page + 1);
    }
    return matches;
}

std::wstring NormalisedText(const std::wstring& text) {
    std::wstring out;
    for (const std::wstring& word : Words(text))
        out += (out.empty() ? L"" : L" ") + word;
    return out;
}
