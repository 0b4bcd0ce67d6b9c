#include "Selector.h"

#include "AsciiText.h"
#include "Element.h"

namespace UIEngine::Detail {

namespace {

bool IsNameStart(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == '-' || u >= 0x80;
}
bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

} // namespace

class Selector::Parser {
public:
    explicit Parser(const std::string& text) : text_(text) {}

    std::vector<Complex> ParseList() {
        std::vector<Complex> list;
        SkipSpace();
        for (;;) {
            list.push_back(ParseComplex());
            SkipSpace();
            if (AtEnd())
                return list;
            if (Peek() != ',')
                Fail(Unexpected());
            ++pos_;
            SkipSpace();
        }
    }

private:
    Complex ParseComplex() {
        Complex complex;
        complex.compounds.push_back(ParseCompound());
        for (;;) {
            bool spaced = SkipSpace();
            if (AtEnd() || Peek() == ',')
                return complex;
            char combinator = ' ';
            if (Peek() == '>') {
                combinator = '>';
                ++pos_;
                SkipSpace();
            } else if (!spaced) {
                Fail(Unexpected());
            }
            if (complex.compounds.size() == kMaxCompounds)
                Fail("more than " + std::to_string(kMaxCompounds) + " compound selectors");
            complex.combinators.push_back(combinator);
            complex.compounds.push_back(ParseCompound());
        }
    }

    Compound ParseCompound() {
        Compound compound;
        std::size_t start = pos_;
        if (!AtEnd() && Peek() == '*')
            ++pos_;
        else if (!AtEnd() && IsNameStart(Peek()))
            compound.type = AsciiLower(ParseName("an element name"));
        while (!AtEnd()) {
            char c = Peek();
            if (c == '#' || c == '.') {
                ++pos_;
                auto kind = c == '#' ? Condition::kId : Condition::kClass;
                compound.conditions.push_back(
                    {kind, ParseName(c == '#' ? "an id" : "a class name"), {}});
            } else if (c == '[') {
                ++pos_;
                compound.conditions.push_back(ParseAttribute());
            } else {
                break;
            }
        }
        if (pos_ == start)
            Fail(AtEnd() ? "a selector is missing at the end" : Unexpected());
        return compound;
    }

    Condition ParseAttribute() {
        SkipSpace();
        Condition condition{
            Condition::kHasAttribute, AsciiLower(ParseName("an attribute name")), {}};
        SkipSpace();
        if (!AtEnd() && Peek() == '=') {
            ++pos_;
            SkipSpace();
            condition.kind = Condition::kAttributeEquals;
            condition.value = !AtEnd() && Peek() == '"' ? ParseQuoted() : ParseName("a value");
            SkipSpace();
        }
        if (AtEnd() || Peek() != ']')
            Fail(AtEnd() ? "']' is missing" : Unexpected());
        ++pos_;
        return condition;
    }

    std::string ParseQuoted() {
        std::size_t start = ++pos_;
        while (!AtEnd() && Peek() != '"') {
            if (Peek() == '\\')
                Fail("escapes are not supported");
            ++pos_;
        }
        if (AtEnd())
            Fail("the closing '\"' is missing");
        return text_.substr(start, pos_++ - start);
    }

    std::string ParseName(const char* what) {
        std::size_t start = pos_;
        if (AtEnd() || !IsNameStart(Peek()))
            Fail(std::string(what) + " is expected");
        while (!AtEnd() && IsNameChar(Peek()))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    bool SkipSpace() {
        std::size_t start = pos_;
        while (!AtEnd() && IsAsciiSpace(Peek()))
            ++pos_;
        return pos_ != start;
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return text_[pos_]; }
    std::string Unexpected() const {
        return std::string("'") + Peek() + "' is not expected (not supported)";
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw SelectorError("bad selector \"" + text_ + "\": " + what + " at offset " +
                            std::to_string(pos_));
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

Selector Selector::Parse(const std::string& text) {
    if (text.size() > kMaxLength)
        throw SelectorError("bad selector: longer than " + std::to_string(kMaxLength) +
                            " characters");
    if (text.find('\0') != std::string::npos)
        throw SelectorError("bad selector: it contains a zero character");
    Selector selector;
    selector.alternatives_ = Parser(text).ParseList();
    return selector;
}

bool Selector::Matches(const Element& element) const {
    for (const Complex& complex : alternatives_)
        if (MatchesFrom(complex, complex.compounds.size() - 1, element))
            return true;
    return false;
}

bool Selector::MatchesCompound(const Compound& compound, const Element& element) {
    if (!compound.type.empty() && compound.type != element.tag)
        return false;
    for (const Condition& c : compound.conditions) {
        switch (c.kind) {
        case Condition::kId:
            if (element.id != c.name)
                return false;
            break;
        case Condition::kClass:
            if (!element.HasClass(c.name))
                return false;
            break;
        case Condition::kHasAttribute:
        case Condition::kAttributeEquals: {
            const std::string* value = element.FindAttribute(c.name);
            if (!value || (c.kind == Condition::kAttributeEquals && *value != c.value))
                return false;
            break;
        }
        }
    }
    return true;
}

// Matches compounds[0..last] with compounds[last] on `element`, walking up
// the ancestors for the combinators to its left.
bool Selector::MatchesFrom(const Complex& complex, std::size_t last, const Element& element) {
    if (!MatchesCompound(complex.compounds[last], element))
        return false;
    if (last == 0)
        return true;
    if (complex.combinators[last - 1] == '>')
        return element.parent && MatchesFrom(complex, last - 1, *element.parent);
    for (const Element* up = element.parent; up; up = up->parent)
        if (MatchesFrom(complex, last - 1, *up))
            return true;
    return false;
}

} // namespace UIEngine::Detail
