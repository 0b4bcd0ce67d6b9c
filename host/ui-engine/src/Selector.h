// CSS selectors as the engine understands them (see ui-engine/UIElementApi.h
// for the grammar): parsed once, then matched against elements.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace UIEngine::Detail {

struct Element;

class SelectorError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class Selector {
public:
    static constexpr std::size_t kMaxLength = 1024;
    static constexpr std::size_t kMaxCompounds = 32;

    // Throws SelectorError saying what is wrong and where.
    static Selector Parse(const std::string& text);

    // Whether the element matches any selector of the list, its ancestors
    // anywhere in the tree taken into account.
    bool Matches(const Element& element) const;

private:
    struct Condition {
        enum Kind { kId, kClass, kHasAttribute, kAttributeEquals } kind;
        std::string name;
        std::string value;
    };
    struct Compound {
        std::string type; // lower case; empty for any element
        std::vector<Condition> conditions;
    };
    // compounds[i] and compounds[i + 1] are joined by combinators[i]: ' '
    // for a descendant, '>' for a child.
    struct Complex {
        std::vector<Compound> compounds;
        std::vector<char> combinators;
    };

    class Parser;
    static bool MatchesCompound(const Compound& compound, const Element& element);
    static bool MatchesFrom(const Complex& complex, std::size_t last, const Element& element);

    std::vector<Complex> alternatives_;
};

} // namespace UIEngine::Detail
