#include "HtmlParser.h"

#include <gumbo.h>

#include <functional>
#include <stdexcept>

#include "AsciiText.h"
#include "service-common/TextConversion.h"

namespace UIEngine::Detail {

namespace {

// White space runs become one blank; none at either end.
std::string FoldSpace(const std::string& text) {
    std::string folded;
    bool pendingSpace = false;
    for (char c : text) {
        if (IsAsciiSpace(c)) {
            pendingSpace = !folded.empty();
            continue;
        }
        if (pendingSpace)
            folded += ' ';
        pendingSpace = false;
        folded += c;
    }
    return folded;
}

std::vector<std::string> SplitClasses(const std::string& text) {
    std::vector<std::string> classes;
    std::string current;
    for (char c : text + ' ') {
        if (!IsAsciiSpace(c)) {
            current += c;
        } else if (!current.empty()) {
            classes.push_back(current);
            current.clear();
        }
    }
    return classes;
}

std::string TagName(const GumboElement& element) {
    if (element.tag != GUMBO_TAG_UNKNOWN)
        return gumbo_normalized_tagname(element.tag);
    GumboStringPiece original = element.original_tag;
    gumbo_tag_from_original_text(&original);
    return AsciiLower(std::string(original.data, original.length));
}

class TreeBuilder {
public:
    explicit TreeBuilder(TreeState& tree) : tree_(tree) {}

    void Add(const GumboNode& node, Element* parent, uint32_t depth) {
        if (depth > kMaxDepth)
            throw std::runtime_error("the document nests elements more than " +
                                     std::to_string(kMaxDepth) + " deep");
        const GumboElement& source = node.v.element;
        auto owned = std::make_unique<Element>();
        Element* element = owned.get();
        element->tree = &tree_;
        element->parent = parent;
        element->index = static_cast<uint32_t>(tree_.elements.size());
        element->tag = TagName(source);
        tree_.elements.push_back(std::move(owned));
        if (parent)
            parent->children.push_back(element);
        ReadAttributes(source, *element);
        if (node.type == GUMBO_NODE_TEMPLATE)
            return;  // a browser keeps a template's content out of the document

        std::string ownText;
        for (unsigned i = 0; i < source.children.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(source.children.data[i]);
            switch (child->type) {
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE:
                Add(*child, element, depth + 1);
                break;
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                ownText += child->v.text.text;
                break;
            default:
                break;
            }
        }
        element->text = SLText::ToWide(FoldSpace(ownText));
    }

private:
    static void ReadAttributes(const GumboElement& source, Element& element) {
        for (unsigned i = 0; i < source.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(source.attributes.data[i]);
            std::string name = AsciiLower(attribute->name);
            std::string value = attribute->value;
            if (name == "checked")
                element.state |= UIElementState::kChecked;
            else if (name == "disabled")
                element.state |= UIElementState::kDisabled;
            else
                element.attributes.emplace_back(name, value);
            if (name == "id")
                element.id = value;
            else if (name == "class")
                element.classes = SplitClasses(value);
        }
    }

    TreeState& tree_;
};

} // namespace

std::unique_ptr<TreeState> ParseHtml(const std::string& html) {
    auto tree = std::make_unique<TreeState>();
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 100; // the errors are not read; only keep few
    GumboOutput* output = gumbo_parse_with_options(&options, html.data(), html.size());
    std::unique_ptr<GumboOutput, std::function<void(GumboOutput*)>> release(
        output, [&options](GumboOutput* o) { gumbo_destroy_output(&options, o); });
    TreeBuilder(*tree).Add(*output->root, nullptr, 1);
    return tree;
}

} // namespace UIEngine::Detail
