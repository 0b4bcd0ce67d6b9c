// Images as PNG (8-bit RGBA, no interlace), in memory or written as a file.
#include <zlib.h>

#include <stdexcept>
#include <string>

#include "hostbl/HostBL.h"

namespace {

void PutU32(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value >> 24));
    out.push_back(static_cast<char>(value >> 16));
    out.push_back(static_cast<char>(value >> 8));
    out.push_back(static_cast<char>(value));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutU32(out, static_cast<uint32_t>(data.size()));
    std::string body(type, 4);
    body += data;
    out += body;
    PutU32(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                            static_cast<uInt>(body.size()))));
}

} // namespace

namespace HostBL {

std::string EncodePNG(const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4)
        throw std::invalid_argument("EncodePNG: the image has no pixels or the wrong size");

    // Each row is preceded by its filter type, 0 (none).
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    std::string raw;
    raw.reserve((stride + 1) * image.height);
    for (int32_t y = 0; y < image.height; ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(&image.rgba[y * stride]), stride);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  Z_BEST_SPEED) != Z_OK)
        throw std::runtime_error("the image cannot be compressed");
    packed.resize(packedSize);

    std::string header;
    PutU32(header, static_cast<uint32_t>(image.width));
    PutU32(header, static_cast<uint32_t>(image.height));
    header +=
        std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, no filter, no interlace

    std::string file("\x89PNG\r\n\x1a\n", 8);
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", std::string());
    return file;
}

void WritePNG(const Image& image, FileOut::OutputFile& out) {
    std::string file;
    try {
        file = EncodePNG(image);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error("cannot write '" + out.Target() + "': " + e.what());
    }
    out.Write(file.data(), file.size());
}

void SavePNG(const Image& image, const std::string& path) {
    FileOut::OutputFile out(path);
    WritePNG(image, out);
    out.Commit();
}

} // namespace HostBL
