// Byte surgery on intact files: each function changes only what its fault needs.
#include "fuzz/damaged_files.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tarn::fuzz {

namespace {

unsigned byteAt(const std::string& s, std::size_t at) {
    if (at >= s.size()) throw std::runtime_error("damaged_files: read past the end");
    return static_cast<unsigned char>(s[at]);
}

std::uint32_t bigEndian16(const std::string& s, std::size_t at) {
    return (byteAt(s, at) << 8) | byteAt(s, at + 1);
}

std::uint32_t bigEndian32(const std::string& s, std::size_t at) {
    return (bigEndian16(s, at) << 16) | bigEndian16(s, at + 2);
}

std::uint32_t little16(const std::string& s, std::size_t at) {
    return byteAt(s, at) | (byteAt(s, at + 1) << 8);
}

std::uint32_t little32(const std::string& s, std::size_t at) {
    return little16(s, at) | (little16(s, at + 2) << 16);
}

void putBigEndian(std::string& s, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s.at(at + i) = static_cast<char>(value >> (8 * (bytes - 1 - i)));
}

void putLittle(std::string& s, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) s.at(at + i) = static_cast<char>(value >> (8 * i));
}

}  // namespace

std::string replaceFirst(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error("damaged_files: no '" + from + "'");
    return text.replace(at, from.size(), to);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string jpegClaimingSize(std::string jpeg, std::uint16_t width, std::uint16_t height) {
    // Segments after the start marker, each 0xFF, a marker and a length that counts itself.
    std::size_t at = 2;
    for (;;) {
        const unsigned marker = byteAt(jpeg, at + 1);
        if (marker >= 0xC0 && marker <= 0xC2) {
            putBigEndian(jpeg, at + 5, height, 2);
            putBigEndian(jpeg, at + 7, width, 2);
            return jpeg;
        }
        at += 2 + bigEndian16(jpeg, at + 2);
    }
}

std::string pngClaimingSize(std::string png, std::uint32_t width, std::uint32_t height) {
    // IHDR is the first chunk: length at 8, type at 12, data at 16, CRC after 13 bytes.
    putBigEndian(png, 16, width, 4);
    putBigEndian(png, 20, height, 4);
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(&png[12]), 17);
    putBigEndian(png, 29, static_cast<std::uint32_t>(crc), 4);
    return png;
}

std::string tiffClaimingWidth(std::string tiff, std::uint32_t width) {
    const std::size_t directory = little32(tiff, 4);
    const std::uint32_t entries = little16(tiff, directory);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + i * 12;
        if (little16(tiff, entry) != 256) continue;
        putLittle(tiff, entry + 2, 4, 2);  // LONG
        putLittle(tiff, entry + 4, 1, 4);
        putLittle(tiff, entry + 8, width, 4);
        return tiff;
    }
    throw std::runtime_error("damaged_files: the TIFF has no ImageWidth");
}

std::string fontWithBrokenHinting(std::string ttf) {
    // The table directory: a count at 4, then 16-byte records of tag, sum, offset, length.
    const std::uint32_t tables = bigEndian16(ttf, 4);
    int damaged = 0;
    for (std::uint32_t i = 0; i < tables; ++i) {
        const std::size_t record = 12 + i * 16;
        const std::string tag = ttf.substr(record, 4);
        if (tag != "fpgm" && tag != "prep") continue;
        ttf.at(bigEndian32(ttf, record + 8)) = '\x2D';  // ENDF, outside any function
        ++damaged;
    }
    if (damaged == 0) throw std::runtime_error("damaged_files: the font has no hinting program");
    return ttf;
}

std::string objWithPolygon(std::size_t corners) {
    std::ostringstream obj;
    obj << "# one triangle, then a polygon of " << corners << " corners\n";
    obj << "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nvt 0 0\nf 1/1/1 2/1/1 3/1/1\n";
    for (std::size_t i = 0; i < corners; ++i) {
        const double angle = 6.283185307179586 * static_cast<double>(i) / corners;
        obj << "v " << std::cos(angle) << ' ' << std::sin(angle) << " 0\n";
    }
    obj << 'f';
    for (std::size_t i = 0; i < corners; ++i) obj << ' ' << i + 4 << "/1/1";
    obj << '\n';
    return obj.str();
}

std::string colladaWithStride(std::string dae, const std::string& stride) {
    return replaceFirst(std::move(dae), "stride=\"3\"", "stride=\"" + stride + "\"");
}

std::string colladaWithArrayCount(std::string dae, const std::string& count) {
    const std::size_t attribute = dae.find("count=\"", dae.find("<float_array"));
    if (attribute == std::string::npos)
        throw std::runtime_error("damaged_files: no float_array count");
    const std::size_t value = attribute + 7;
    return dae.replace(value, dae.find('"', value) - value, count);
}

std::string colladaWithLetterInIndices(std::string dae) {
    return replaceFirst(std::move(dae), "<p>", "<p>x");
}

namespace {

// The start tag of the scene's first node ends at `at`; its id is returned.
std::string firstNode(const std::string& dae, std::size_t& at) {
    const std::size_t node = dae.find("<node id=\"", dae.find("<library_visual_scenes>"));
    if (node == std::string::npos) throw std::runtime_error("damaged_files: no node");
    const std::size_t idStart = node + 10;
    at = dae.find('>', node) + 1;
    return dae.substr(idStart, dae.find('"', idStart) - idStart);
}

}  // namespace

std::string colladaWithSelfInstance(std::string dae) {
    std::size_t at = 0;
    const std::string id = firstNode(dae, at);
    return dae.insert(at, "<instance_node url=\"#" + id + "\"/>");
}

std::string colladaWithNestedNodes(std::string dae, int depth) {
    std::string nested;
    for (int i = 0; i < depth; ++i) nested += "<node id=\"deep" + std::to_string(i) + "\">";
    for (int i = 0; i < depth; ++i) nested += "</node>";
    std::size_t at = 0;
    firstNode(dae, at);
    return dae.insert(at, nested);
}

std::string colladaWithDoublingInstances(std::string dae, int levels) {
    std::string library = "<library_nodes>";
    for (int i = 0; i < levels; ++i) {
        const std::string next = "<instance_node url=\"#twice" + std::to_string(i + 1) + "\"/>";
        library += "<node id=\"twice" + std::to_string(i) + "\">";
        if (i + 1 < levels) library += next + next;
        library += "</node>";
    }
    library += "</library_nodes>";
    dae = replaceFirst(std::move(dae), "<library_visual_scenes>",
                       library + "<library_visual_scenes>");
    std::size_t at = 0;
    firstNode(dae, at);
    return dae.insert(at, "<instance_node url=\"#twice0\"/>");
}

std::string wavWithCutHeader(const std::string& wav) { return wav.substr(0, 16); }

std::string objWithLongHeaderComment(const std::string& obj) {
    std::string header;
    while (header.size() <= 200) header += "# exported for Tarnhollow; units are metres, y is up\n";
    return header + obj;
}

std::string colladaWithLongComment(std::string dae, std::size_t characters) {
    return replaceFirst(std::move(dae), "<COLLADA",
                        "<!--" + std::string(characters, '~') + "-->\n<COLLADA");
}

std::string colladaAsStripsOrFans(const std::string& dae, const std::string& kind) {
    std::string out;
    std::size_t done = 0;
    for (std::size_t at = dae.find("<triangles"); at != std::string::npos;
         at = dae.find("<triangles", done)) {
        const std::size_t inputs = dae.find('>', at) + 1;
        const std::size_t list = dae.find("<p>", inputs);
        const std::size_t listEnd = dae.find("</p>", list);
        const std::size_t end = dae.find("</triangles>", listEnd);
        if (inputs == 0 || list == std::string::npos || listEnd == std::string::npos ||
            end == std::string::npos) {
            throw std::runtime_error("damaged_files: a <triangles> without one <p>");
        }
        // One index per input offset for each corner.
        std::size_t offsets = 1;
        const std::string inputText = dae.substr(inputs, list - inputs);
        for (std::size_t o = inputText.find("offset=\""); o != std::string::npos;
             o = inputText.find("offset=\"", o + 1)) {
            offsets = std::max<std::size_t>(offsets, std::stoul(inputText.substr(o + 8)) + 1);
        }
        std::istringstream words(dae.substr(list + 3, listEnd - list - 3));
        std::string lists, word;
        for (std::size_t n = 0; words >> word; ++n) {
            if (n % (3 * offsets) == 0) lists += n ? "</p><p>" : "<p>";
            lists += word + ' ';
        }
        out += dae.substr(done, at - done) + "<" + kind + dae.substr(at + 10, list - at - 10) +
               lists + "</p></" + kind + ">";
        done = end + 12;
    }
    if (done == 0) throw std::runtime_error("damaged_files: no <triangles>");
    return out + dae.substr(done);
}

std::string colladaWithLines(std::string dae) {
    const std::size_t vertex = dae.find("semantic=\"VERTEX\"", dae.find("<triangles"));
    const std::size_t source = dae.find("source=\"", vertex);
    if (vertex == std::string::npos || source == std::string::npos)
        throw std::runtime_error("damaged_files: no VERTEX input");
    const std::string url = dae.substr(source + 8, dae.find('"', source + 8) - source - 8);
    return replaceFirst(std::move(dae), "</triangles>",
                        "</triangles><lines count=\"3\"><input semantic=\"VERTEX\" source=\"" +
                            url + "\" offset=\"0\"/><p>0 1 1 2</p></lines>");
}

std::string wavWithChannels(const std::string& wav, int channels) {
    // RIFF header of 12 bytes, then chunks of a tag, a length and the data, padded to even.
    std::size_t at = 12, format = 0, data = 0;
    while (at + 8 <= wav.size() && (!format || !data)) {
        const std::string tag = wav.substr(at, 4);
        if (tag == "fmt ") format = at;
        if (tag == "data") data = at;
        at += 8 + ((little32(wav, at + 4) + 1) & ~1u);
    }
    if (!format || !data || little16(wav, format + 8) != 1 || little16(wav, format + 10) != 1 ||
        little16(wav, format + 22) != 16) {
        throw std::runtime_error("damaged_files: not a 16-bit mono PCM WAV");
    }
    const std::size_t frames =
        std::min<std::size_t>(little32(wav, data + 4), wav.size() - data - 8) / 2;
    std::string samples;
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) samples += wav.substr(data + 8 + 2 * i, 2);

    std::string out =
        "RIFF....WAVEfmt " + std::string(4 + 16, '\0') + "data" + std::string(4, '\0');
    const auto sampleRate = little32(wav, format + 12);
    const auto blockAlign = static_cast<std::uint32_t>(2 * channels);
    putLittle(out, 4, static_cast<std::uint32_t>(36 + samples.size()), 4);
    putLittle(out, 16, 16, 4);
    putLittle(out, 20, 1, 2);  // PCM
    putLittle(out, 22, static_cast<std::uint32_t>(channels), 2);
    putLittle(out, 24, sampleRate, 4);
    putLittle(out, 28, sampleRate * blockAlign, 4);
    putLittle(out, 32, blockAlign, 2);
    putLittle(out, 34, 16, 2);
    putLittle(out, 40, static_cast<std::uint32_t>(samples.size()), 4);
    return out + samples;
}

}  // namespace tarn::fuzz
