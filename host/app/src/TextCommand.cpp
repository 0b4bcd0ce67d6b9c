// vellum text: the characters of a document's pages with their quads in
// page space, as the plug-in reads them.
#include <cstdio>
#include <optional>

#include "ArgumentValues.h"
#include "CommandLine.h"
#include "Commands.h"
#include "DocumentText.h"
#include "JsonWriter.h"
#include "hostbl/HostBL.h"
#include "service-common/TextConversion.h"

namespace {

struct TextRequest {
    std::string input;
    std::optional<uint64_t> page; // counted from 0
    bool json = false;
};

TextRequest ParseRequest(const std::vector<std::string>& args) {
    const CommandLine line(args, {"--json"}, {"--page"});
    if (line.Positional().size() != 1)
        throw UsageError(line.Positional().empty() ? "no input file" : "one input file only");
    TextRequest request{ParseFileName(line.Positional().front(), "the input"), std::nullopt,
                        line.Has("--json")};
    if (const auto page = line.Value("--page")) {
        uint64_t index = 0;
        if (!ParsePageNumber(*page, &index))
            throw UsageError("--page takes a page number counted from 1, not " + Quoted(*page));
        request.page = index;
    }
    return request;
}

// A character's text for people: line feeds and other controls escaped.
std::string Shown(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) {
        if (c == L'\n')
            out += "\\n";
        else if (c < 0x20)
            out += "\\x" + std::to_string(static_cast<int>(c));
        else
            out += SLText::ToNarrow(std::wstring(1, c));
    }
    return out;
}

void PrintPage(DocumentText& text, uint64_t page) {
    const PageInfo info = text.Info(page);
    const std::vector<PageChar>& chars = text.Chars(page);
    std::printf("page %llu: %zu characters, crop box [%.2f %.2f %.2f %.2f], rotation %d\n",
                static_cast<unsigned long long>(page + 1), chars.size(), info.cropBox.x0,
                info.cropBox.y0, info.cropBox.x1, info.cropBox.y1, info.rotate);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const PDQuadF& q = chars[i].quad;
        std::printf("%6zu  %-6s (%.2f %.2f) (%.2f %.2f) (%.2f %.2f) (%.2f %.2f)\n", i,
                    ("\"" + Shown(chars[i].text) + "\"").c_str(), q.p0.x, q.p0.y, q.p1.x, q.p1.y,
                    q.p2.x, q.p2.y, q.p3.x, q.p3.y);
    }
}

void WritePage(JsonWriter& json, DocumentText& text, uint64_t page) {
    const PageInfo info = text.Info(page);
    json.BeginObject();
    json.Key("page").Integer(page + 1);
    json.Key("cropBox").BeginArray();
    for (const float v : {info.cropBox.x0, info.cropBox.y0, info.cropBox.x1, info.cropBox.y1})
        json.Number(v);
    json.EndArray();
    json.Key("rotate").Integer(static_cast<uint64_t>(info.rotate));
    json.Key("chars").BeginArray();
    for (const PageChar& c : text.Chars(page)) {
        json.BeginObject();
        json.Key("text").String(SLText::ToNarrow(c.text));
        json.Key("quad").BeginArray();
        for (const PDPointF& p : {c.quad.p0, c.quad.p1, c.quad.p2, c.quad.p3})
            json.Number(p.x).Number(p.y);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

int Run(const TextRequest& request) {
    HostBL::ObjectPtr document = HostBL::OpenDocument(request.input);
    DocumentText text(document.get());
    WarnIfRepaired("vellum text", request.input, text);
    if (request.page)
        CheckPageInRange(*request.page, text.PageCount());
    const uint64_t first = request.page.value_or(0);
    const uint64_t end = request.page ? first + 1 : text.PageCount();
    if (!request.json) {
        for (uint64_t page = first; page < end; ++page)
            PrintPage(text, page);
        return kExitDone;
    }
    JsonWriter json;
    json.BeginObject();
    json.Key("file").String(request.input);
    json.Key("pageCount").Integer(text.PageCount());
    json.Key("pages").BeginArray();
    for (uint64_t page = first; page < end; ++page)
        WritePage(json, text, page);
    json.EndArray();
    json.EndObject();
    std::fputs(json.Text().c_str(), stdout);
    return kExitDone;
}

} // namespace

int RunText(HostSession&, const std::vector<std::string>& args) {
    return RunReportingFailures("vellum text", [&] { return Run(ParseRequest(args)); });
}
