#pragma once

// A thin layer over the PDF-writing side of the rendering library: a document
// that receives pages, TrueType fonts embedded as composite fonts, and page
// content streams made of positioned lines of text.

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

struct fz_context;
struct fz_font;
struct pdf_document;
struct pdf_obj;

namespace samplegen {

class PdfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A rectangle in PDF user space: points, y growing upwards.
struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float width() const { return x1 - x0; }
    float height() const { return y1 - y0; }
};

// A4 and US Letter, in points.
inline constexpr Box kA4{0, 0, 595, 842};
inline constexpr Box kLetter{0, 0, 612, 792};

// A TrueType font embedded whole as a Type 0 font with the Identity-H encoding,
// so the character codes in the content streams are glyph ids. The ToUnicode
// map is written from the glyphs that were actually shown, which makes text
// extraction return exactly the code points that were laid out, including those
// outside the Basic Multilingual Plane (written as surrogate pairs).
class Font {
public:
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const std::string& resourceName() const { return resourceName_; }

    // Advance width of one character in a 1-point font. Throws PdfError when
    // the font has no glyph for it: a sample must never show a missing glyph.
    float advance(char32_t c) const;
    // Width of a run of text at the given size, in points (no kerning).
    float width(std::u32string_view text, float size) const;

    // The hexadecimal string operand that shows this text, and a record of
    // the glyph-to-text mapping for the ToUnicode map.
    std::string encode(std::u32string_view text);

private:
    friend class PdfWriter;
    Font(fz_context* ctx, pdf_document* doc, std::string resourceName, const std::string& path);
    struct GlyphInfo {
        int glyph;
        float advance;
    };
    const GlyphInfo& lookup(char32_t c) const;
    // Replaces the font's ToUnicode stream with one built from the shown glyphs.
    void writeToUnicode(pdf_document* doc);

    fz_context* ctx_;
    fz_font* font_ = nullptr;
    pdf_obj* ref_ = nullptr;
    std::string resourceName_;
    std::string path_;
    mutable std::unordered_map<char32_t, GlyphInfo> glyphs_;
    std::map<int, char32_t> shown_;
};

// The drawing operations of one page.
class PageContent {
public:
    // Shows one line of text with its baseline starting at (x, baseline).
    void showText(Font& font, float size, float x, float baseline, std::u32string_view text);

    const std::string& operators() const { return ops_; }
    // Fonts used, by resource name: the order of the page's resources must
    // not depend on where the fonts live in memory.
    const std::map<std::string, Font*>& fonts() const { return fonts_; }

private:
    std::string ops_;
    std::map<std::string, Font*> fonts_;
};

struct PageSetup {
    Box mediaBox = kA4;
    std::optional<Box> cropBox;
    int rotate = 0;
};

// Owns a library context and one new document.
class PdfWriter {
public:
    PdfWriter();
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // Loads a font file and adds it to the document under the given resource name.
    Font& addFont(const std::string& resourceName, const std::string& path);

    // Appends a page.
    void addPage(const PageSetup& setup, const PageContent& content);

    int pageCount() const { return pages_; }

    // Writes the document. The output depends only on what was added: no
    // dates, no generated file identifier.
    void save(const std::string& path);

private:
    fz_context* ctx_ = nullptr;
    pdf_document* doc_ = nullptr;
    std::vector<std::unique_ptr<Font>> fonts_;
    int pages_ = 0;
};

} // namespace samplegen
