// What the fuzz harness runs: for each format the game reads, its seeds among the staged
// Resources, seeded random damage to them, and the known crash patterns rebuilt.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn::fuzz {

struct Format {
    std::string name;                // "jpeg"
    std::string loader;              // the fuzz_probe loader: texture, heightmap, model, ...
    std::vector<std::string> seeds;  // paths below Resources/
    bool text = false;               // also damaged as text: numbers and punctuation
};

// Every format the game reads, with the loader start-up uses for it.
const std::vector<Format>& formats();

// What the game should make of a known pattern.
enum class Expect {
    refused,     // a guard names the file and says why; the library never sees it
    anything,    // passes the guards (the library may still fail); it only must not crash
    loaded,      // the game takes it
    likeIntact,  // the game takes it and draws the triangles it draws of the intact first seed
};

struct DamagedFile {
    std::string name;       // what was done, for the report ("truncated at 1234")
    std::string extension;  // the seed's, since the libraries choose readers by name
    std::string bytes;
    Expect expect = Expect::anything;
};

// Damaged copy number `index` of one of the format's seeds (already read, in seed order):
// truncations, overwritten, flipped, repeated or deleted bytes, edge values in headers,
// and for text formats edge numbers and stray punctuation. The same arguments always give
// the same bytes.
DamagedFile damagedCopy(const Format& format, const std::vector<std::string>& seedBytes,
                        std::uint64_t seed, std::uint64_t index);

// The faults found in the loaders before the guards, rebuilt from the format's seeds, files
// at the guards' limits that must still load in time, and intact files once refused.
std::vector<DamagedFile> knownPatterns(const Format& format,
                                       const std::vector<std::string>& seedBytes);

// The seeds of a format read from a Resources folder; throws when one is missing.
std::vector<std::string> readSeeds(const Format& format, const std::string& resources);

}  // namespace tarn::fuzz
