// Damaged copies of the game's own files, rebuilt from intact ones: the faults outside fuzz
// runs found in the loaders, for the guards' tests and the fuzz harness; and intact variants
// the guards must let through. Never checked in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarn::fuzz {

// The first frame header of a JPEG claims the size.
std::string jpegClaimingSize(std::string jpeg, std::uint16_t width, std::uint16_t height);

// The IHDR of a PNG claims the size, with a CRC to match, so only the size is wrong.
std::string pngClaimingSize(std::string png, std::uint32_t width, std::uint32_t height);

// The first directory of a little-endian TIFF gives ImageWidth as this LONG.
std::string tiffClaimingWidth(std::string tiff, std::uint32_t width);

// A TrueType font whose hinting programs (fpgm and prep) end before they begin, so every
// glyph fails with hinting on while the outlines stay good.
std::string fontWithBrokenHinting(std::string ttf);

// A small OBJ: one polygon of that many corners on a circle, with normals and texture
// coordinates, after a triangle.
std::string objWithPolygon(std::size_t corners);

// COLLADA variants of a file shaped like the game's duck: the first accessor's stride or
// the first float_array's count attribute replaced by the text given.
std::string colladaWithStride(std::string dae, const std::string& stride);
std::string colladaWithArrayCount(std::string dae, const std::string& count);
// A letter among the indices of the first <p> list.
std::string colladaWithLetterInIndices(std::string dae);
// The first node instances itself.
std::string colladaWithSelfInstance(std::string dae);
// That many nodes nested inside the first node of the scene.
std::string colladaWithNestedNodes(std::string dae, int depth);
// A library of that many nodes, each instancing the next twice: few bytes, but 2^levels
// nodes once expanded.
std::string colladaWithDoublingInstances(std::string dae, int levels);

// A WAV file whose format chunk is cut off after its tag.
std::string wavWithCutHeader(const std::string& wav);

// Intact files the game must take, though their like were once refused:
// - a header comment of more than 200 bytes before the first OBJ statement;
std::string objWithLongHeaderComment(const std::string& obj);
// - a comment of that many characters before <COLLADA>;
std::string colladaWithLongComment(std::string dae, std::size_t characters);
// - every <triangles> element rewritten as `kind` ("tristrips" or "trifans"), one list of
//   three corners for each triangle, so the same triangles are drawn;
std::string colladaAsStripsOrFans(const std::string& dae, const std::string& kind);
// - a <lines> element beside the first <triangles>, on the same vertices, whose count says
//   one line more than it lists, as some exporters write it;
std::string colladaWithLines(std::string dae);
// - a 16-bit PCM WAV with each sample on that many channels.
std::string wavWithChannels(const std::string& wav, int channels);

// Replaces the first `from` with `to`; throws when the file has no `from`, so a pattern
// never silently stops being damaged when the generator changes.
std::string replaceFirst(std::string text, const std::string& from, const std::string& to);

// Writes the bytes as the whole file.
void writeFile(const std::string& path, const std::string& bytes);

}  // namespace tarn::fuzz
