#include "pdf_writer.h"

#include <cstdio>
#include <filesystem>

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace samplegen {
namespace {

// Runs library calls under the library's own error handling and turns a
// library error into PdfError. The callable must only call library functions
// and assign to variables captured by reference: the library unwinds with
// longjmp, which skips C++ destructors and must not cross a C++ exception.
template <class Fn> void guarded(fz_context* ctx, const char* what, Fn&& fn) {
    volatile bool failed = false;
    fz_try(ctx) {
        fn();
    }
    fz_catch(ctx) {
        failed = true;
    }
    if (failed)
        throw PdfError(std::string(what) + ": " + fz_caught_message(ctx));
}

// Owns one reference to a library object; released with its drop function.
template <class T, void (*Drop)(fz_context*, T*)> class Held {
public:
    explicit Held(fz_context* ctx) : ctx_(ctx) {}
    ~Held() {
        if (ptr)
            Drop(ctx_, ptr);
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    T* release() {
        T* p = ptr;
        ptr = nullptr;
        return p;
    }
    T* ptr = nullptr;

private:
    fz_context* ctx_;
};

using HeldObj = Held<pdf_obj, pdf_drop_obj>;
using HeldBuffer = Held<fz_buffer, fz_drop_buffer>;
using HeldFont = Held<fz_font, fz_drop_font>;

// Numbers in content streams: at most two decimals, no trailing zeros, and
// independent of the process locale.
std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
    std::string s = text;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    if (s == "-0")
        s = "0";
    return s;
}

std::string hexUnit(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

// UTF-16BE hex digits of one code point, as a ToUnicode map writes them.
std::string utf16Hex(char32_t c) {
    if (c < 0x10000)
        return hexUnit(static_cast<unsigned>(c));
    const unsigned v = static_cast<unsigned>(c) - 0x10000;
    return hexUnit(0xD800 + (v >> 10)) + hexUnit(0xDC00 + (v & 0x3FF));
}

fz_rect toRect(const Box& b) {
    return fz_make_rect(b.x0, b.y0, b.x1, b.y1);
}

} // namespace

// ---------------------------------------------------------------------------
// Font

Font::Font(fz_context* ctx, pdf_document* doc, std::string resourceName, const std::string& path)
    : ctx_(ctx), resourceName_(std::move(resourceName)), path_(path) {
    std::string name = std::filesystem::path(path).stem().string();
    HeldFont font(ctx);
    HeldObj ref(ctx);
    guarded(ctx, ("cannot load font " + path).c_str(), [&] {
        font.ptr = fz_new_font_from_file(ctx, name.c_str(), path.c_str(), 0, 0);
        ref.ptr = pdf_add_cid_font(ctx, doc, font.ptr);
    });
    font_ = font.release();
    ref_ = ref.release();
}

Font::~Font() {
    pdf_drop_obj(ctx_, ref_);
    fz_drop_font(ctx_, font_);
}

const Font::GlyphInfo& Font::lookup(char32_t c) const {
    auto it = glyphs_.find(c);
    if (it != glyphs_.end())
        return it->second;
    int glyph = 0;
    float advance = 0;
    guarded(ctx_, "cannot measure a glyph", [&] {
        glyph = fz_encode_character(ctx_, font_, static_cast<int>(c));
        if (glyph > 0)
            advance = fz_advance_glyph(ctx_, font_, glyph, 0);
    });
    if (glyph <= 0) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        throw PdfError(path_ + " has no glyph for " + code);
    }
    return glyphs_.emplace(c, GlyphInfo{glyph, advance}).first->second;
}

float Font::advance(char32_t c) const {
    return lookup(c).advance;
}

float Font::width(std::u32string_view text, float size) const {
    float total = 0;
    for (char32_t c : text)
        total += lookup(c).advance;
    return total * size;
}

std::string Font::encode(std::u32string_view text) {
    std::string hex;
    hex.reserve(text.size() * 4 + 2);
    hex += '<';
    for (char32_t c : text) {
        const int glyph = lookup(c).glyph;
        auto [it, inserted] = shown_.emplace(glyph, c);
        if (!inserted && it->second != c)
            throw PdfError(path_ + ": glyph " + std::to_string(glyph) +
                           " stands for two characters; text extraction would be ambiguous");
        hex += hexUnit(static_cast<unsigned>(glyph));
    }
    hex += '>';
    return hex;
}

void Font::writeToUnicode(pdf_document* doc) {
    std::string cmap = "/CIDInit /ProcSet findresource begin\n"
                       "12 dict begin\n"
                       "begincmap\n"
                       "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                       "/CMapName /Adobe-Identity-UCS def\n"
                       "/CMapType 2 def\n"
                       "1 begincodespacerange\n"
                       "<0000> <FFFF>\n"
                       "endcodespacerange\n";
    // A bfchar section holds at most 100 entries.
    auto it = shown_.begin();
    while (it != shown_.end()) {
        size_t count = 0;
        std::string section;
        for (; it != shown_.end() && count < 100; ++it, ++count)
            section += "<" + hexUnit(static_cast<unsigned>(it->first)) + "> <" +
                       utf16Hex(it->second) + ">\n";
        cmap += std::to_string(count) + " beginbfchar\n" + section + "endbfchar\n";
    }
    cmap += "endcmap\n"
            "CMapName currentdict /CMap defineresource pop\n"
            "end\n"
            "end\n";

    HeldBuffer buffer(ctx_);
    guarded(ctx_, "cannot write a ToUnicode map", [&] {
        buffer.ptr = fz_new_buffer_from_copied_data(
            ctx_, reinterpret_cast<const unsigned char*>(cmap.data()), cmap.size());
        pdf_dict_put_drop(ctx_, ref_, PDF_NAME(ToUnicode),
                          pdf_add_stream(ctx_, doc, buffer.ptr, nullptr, 0));
    });
}

// ---------------------------------------------------------------------------
// PageContent

void PageContent::showText(Font& font, float size, float x, float baseline,
                           std::u32string_view text) {
    fonts_.emplace(font.resourceName(), &font);
    ops_ += "BT /" + font.resourceName() + " " + number(size) + " Tf 1 0 0 1 " + number(x) + " " +
            number(baseline) + " Tm " + font.encode(text) + " Tj ET\n";
}

// ---------------------------------------------------------------------------
// PdfWriter

PdfWriter::PdfWriter() {
    ctx_ = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!ctx_)
        throw PdfError("cannot create a library context");
    try {
        guarded(ctx_, "cannot create a document", [&] { doc_ = pdf_create_document(ctx_); });
    } catch (...) {
        fz_drop_context(ctx_);
        throw;
    }
}

PdfWriter::~PdfWriter() {
    fonts_.clear();
    pdf_drop_document(ctx_, doc_);
    fz_drop_context(ctx_);
}

Font& PdfWriter::addFont(const std::string& resourceName, const std::string& path) {
    fonts_.push_back(std::unique_ptr<Font>(new Font(ctx_, doc_, resourceName, path)));
    return *fonts_.back();
}

void PdfWriter::addPage(const PageSetup& setup, const PageContent& content) {
    const std::string& ops = content.operators();
    std::vector<std::pair<std::string, pdf_obj*>> fonts;
    for (const auto& [name, font] : content.fonts())
        fonts.emplace_back(name, font->ref_);
    const fz_rect media = toRect(setup.mediaBox);
    const bool cropped = setup.cropBox.has_value();
    const fz_rect crop = cropped ? toRect(*setup.cropBox) : media;

    HeldObj resources(ctx_);
    HeldObj page(ctx_);
    HeldBuffer contents(ctx_);
    guarded(ctx_, "cannot add a page", [&] {
        resources.ptr = pdf_new_dict(ctx_, doc_, 1);
        pdf_obj* fontDict =
            pdf_dict_put_dict(ctx_, resources.ptr, PDF_NAME(Font), static_cast<int>(fonts.size()));
        for (const auto& entry : fonts)
            pdf_dict_puts(ctx_, fontDict, entry.first.c_str(), entry.second);
        contents.ptr = fz_new_buffer_from_copied_data(
            ctx_, reinterpret_cast<const unsigned char*>(ops.data()), ops.size());
        page.ptr = pdf_add_page(ctx_, doc_, media, setup.rotate, resources.ptr, contents.ptr);
        if (cropped)
            pdf_dict_put_rect(ctx_, page.ptr, PDF_NAME(CropBox), crop);
        pdf_insert_page(ctx_, doc_, -1, page.ptr);
    });
    ++pages_;
}

void PdfWriter::save(const std::string& path) {
    for (auto& font : fonts_)
        font->writeToUnicode(doc_);

    pdf_write_options options = pdf_default_write_options;
    options.do_compress = 1;
    options.do_compress_fonts = 1;
    options.do_garbage = 3; // drops the library's own replaced ToUnicode maps
    options.dont_regenerate_id = 1;

    // Written next to the target and renamed, so an interrupted run never
    // leaves a truncated file that looks up to date.
    const std::string partial = path + ".partial";
    guarded(ctx_, ("cannot write " + path).c_str(),
            [&] { pdf_save_document(ctx_, doc_, partial.c_str(), &options); });
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error)
        throw PdfError("cannot rename " + partial + " to " + path + ": " + error.message());
}

} // namespace samplegen
