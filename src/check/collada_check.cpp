// The COLLADA check: every count, stride, index and node reference Assimp would trust.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <pugixml.hpp>
#include <vector>

#include "check/model_check.h"

namespace tarn::check {

namespace {

// Counts beyond this are as bad as infinite, and products of two stay exact.
constexpr std::uint64_t saturation = std::uint64_t{1} << 40;
// Each index list holds one value per input offset; the game's duck uses three offsets.
constexpr std::uint64_t maxInputOffset = 64;

using Problem = std::string;

std::uint64_t capped(std::uint64_t value) { return std::min(value, saturation); }

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A count or index as Assimp reads it: digits only. Anything else ("-1", "3x") reads as
// something else there, such as 4294967295.
bool readDigits(const char* text, std::uint64_t& value) {
    if (!*text) return false;
    value = 0;
    for (const char* c = text; *c; ++c) {
        if (!std::isdigit(static_cast<unsigned char>(*c))) return false;
        value = capped(value * 10 + static_cast<std::uint64_t>(*c - '0'));
    }
    return true;
}

// An attribute that must hold digits when present; `fallback` when absent.
Problem readCount(const pugi::xml_node& node, const char* name, std::uint64_t fallback,
                  std::uint64_t& value) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        value = fallback;
        return {};
    }
    if (readDigits(attribute.value(), value)) return {};
    return "<" + std::string(node.name()) + "> has " + name + "=\"" + attribute.value() +
           "\", not a count";
}

std::uint64_t countWords(const char* text) {
    std::uint64_t words = 0;
    bool inWord = false;
    for (const char* c = text; *c; ++c) {
        if (!isSpace(*c) && !inWord) ++words;
        inWord = !isSpace(*c);
    }
    return words;
}

// Index lists (<p>, <vcount>, <v>, <h>, <ph>) are read with a number parser that stops,
// without moving on, at any other byte: one letter makes Assimp append zeros forever.
Problem readIndexList(const pugi::xml_node& list, std::uint64_t& words) {
    const char* text = list.text().get();
    for (const char* c = text; *c; ++c) {
        if (!isSpace(*c) && !std::isdigit(static_cast<unsigned char>(*c))) {
            return "a <" + std::string(list.name()) + "> list holds '" + std::string(1, *c) +
                   "', not only digits";
        }
    }
    words = countWords(text);
    return {};
}

struct DataArray {
    std::uint64_t count = 0;
    bool numeric = true;  // Name_array and IDREF_array hold words, not the numbers meshes read
};

bool isIndexList(const char* name) {
    return !std::strcmp(name, "p") || !std::strcmp(name, "vcount") || !std::strcmp(name, "v") ||
           !std::strcmp(name, "h") || !std::strcmp(name, "ph");
}

bool endsWith(const std::string& text, const char* suffix) {
    const std::size_t length = std::strlen(suffix);
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

bool insideMesh(pugi::xml_node node) {
    for (; node; node = node.parent()) {
        if (!std::strcmp(node.name(), "mesh")) return true;
    }
    return false;
}

// One walk over the document gathers what the checks need and enforces the depth limit,
// so nothing after it recurses over a deep tree.
class Gatherer : public pugi::xml_tree_walker {
public:
    explicit Gatherer(int maxDepth) : maxDepth_(maxDepth) {}

    bool for_each(pugi::xml_node& node) override {
        if (node.type() != pugi::node_element) return true;
        if (depth() + 1 > maxDepth_) {
            problem = "elements nest deeper than " + std::to_string(maxDepth_);
            return false;
        }
        const std::string name = node.name();
        if (endsWith(name, "_array")) {
            arrays.push_back(node);
        } else if (name == "accessor") {
            accessors.push_back(node);
        } else if (name == "node") {
            nodes.push_back(node);
        } else if (insideMesh(node) &&
                   (name == "triangles" || name == "polylist" || name == "polygons" ||
                    name == "lines" || name == "linestrips" || name == "tristrips" ||
                    name == "trifans")) {
            primitives.push_back(node);
        } else if (isIndexList(name.c_str())) {
            indexLists.push_back(node);
        }
        return true;
    }

    Problem problem;
    std::vector<pugi::xml_node> arrays, accessors, nodes, primitives, indexLists;

private:
    int maxDepth_;
};

class ColladaCheck {
public:
    ColladaCheck(const Gatherer& found, const ModelLimits& limits)
        : found_(found), limits_(limits) {}

    Problem run() {
        for (auto step :
             {&ColladaCheck::arrays, &ColladaCheck::accessors, &ColladaCheck::indexLists,
              &ColladaCheck::primitives, &ColladaCheck::nodeTree}) {
            if (Problem problem = (this->*step)(); !problem.empty()) return problem;
        }
        return {};
    }

private:
    // Assimp reserves `count` values before it reads any, and reads exactly that many.
    Problem arrays() {
        for (const pugi::xml_node& array : found_.arrays) {
            DataArray data;
            const std::string name = array.name();
            if (!array.attribute("count")) return "<" + name + "> has no count";
            if (Problem p = readCount(array, "count", 0, data.count); !p.empty()) return p;
            const std::uint64_t words = countWords(array.text().get());
            if (data.count > words) {
                return "<" + name + "> claims " + std::to_string(data.count) +
                       " values but holds " + std::to_string(words);
            }
            data.numeric = name != "Name_array" && name != "IDREF_array" && name != "SIDREF_array";
            const std::string id = array.attribute("id").value();
            if (!id.empty() && !arraysById_.emplace(id, data).second)
                return "two arrays share the id \"" + id + "\"";
        }
        return {};
    }

    // Assimp reads value offset + index * stride + param without looking at the array's
    // length, so every index an accessor allows must land inside it.
    Problem accessors() {
        for (const pugi::xml_node& accessor : found_.accessors) {
            std::uint64_t count = 0, stride = 1, offset = 0;
            for (Problem p :
                 {readCount(accessor, "count", 0, count), readCount(accessor, "stride", 1, stride),
                  readCount(accessor, "offset", 0, offset)}) {
                if (!p.empty()) return p;
            }
            const std::string source = accessor.attribute("source").value();
            const auto array = arraysById_.find(source.empty() ? source : source.substr(1));
            if (source.empty() || source[0] != '#' || array == arraysById_.end()) {
                return "an accessor reads \"" + source + "\", which is no array here";
            }
            if (count == 0) continue;
            if (!array->second.numeric && insideMesh(accessor)) {
                return "a mesh accessor reads the words of \"" + source + "\" as numbers";
            }
            const auto paramNodes = accessor.children("param");
            const auto params =
                static_cast<std::uint64_t>(std::distance(paramNodes.begin(), paramNodes.end()));
            const std::uint64_t last = capped(offset + capped(capped(count - 1) * stride) +
                                              std::max<std::uint64_t>(params, 1));
            if (last > array->second.count) {
                return "an accessor of " + std::to_string(count) + " items with stride " +
                       std::to_string(stride) + " reads past the " +
                       std::to_string(array->second.count) + " values of \"" + source + "\"";
            }
        }
        return {};
    }

    Problem indexLists() {
        for (const pugi::xml_node& list : found_.indexLists) {
            std::uint64_t words = 0;
            if (Problem p = readIndexList(list, words); !p.empty()) return p;
        }
        return {};
    }

    // Assimp reserves room for the indices a primitive element claims, then reads each of
    // its lists on its own (none at all when the count is 0). Polygons, fans and strips are
    // triangulated; lines become faces the model leaves out, but cost the same memory.
    Problem primitives() {
        std::uint64_t corners = 0;
        for (const pugi::xml_node& element : found_.primitives) {
            const std::string name = element.name();
            std::uint64_t count = 0;
            if (Problem p = readCount(element, "count", 0, count); !p.empty()) return p;
            std::uint64_t offsets = 1;
            bool hasVertices = false;
            for (const pugi::xml_node& input : element.children("input")) {
                std::uint64_t offset = 0;
                if (Problem p = readCount(input, "offset", 0, offset); !p.empty()) return p;
                if (offset > maxInputOffset) {
                    return "an input has offset " + std::to_string(offset) + ", more than " +
                           std::to_string(maxInputOffset);
                }
                offsets = std::max(offsets, offset + 1);
                hasVertices |= !std::strcmp(input.attribute("semantic").value(), "VERTEX");
            }
            // Without one, Assimp takes each corner's position from the index before the list.
            if (!hasVertices && count > 0 && element.child("p"))
                return "<" + name + "> has no VERTEX input";

            std::uint64_t indices = 0;
            std::uint64_t built = 0;  // the corners of the faces Assimp makes
            for (const pugi::xml_node& list : element.children("p")) {
                std::uint64_t words = 0;
                readIndexList(list, words);
                indices += words;
                const std::uint64_t listed = count == 0 ? 0 : words / offsets;
                if (name == "polygons" || name == "trifans") {
                    if (listed > limits_.cornersPerFace)
                        return "a polygon has " +
                               tooMany(listed, "corners", limits_.cornersPerFace);
                    built += listed;
                } else if (name == "tristrips" || name == "linestrips") {
                    // A strip's faces are its corners less those that start it, which Assimp
                    // counts without looking whether the list has them.
                    const std::uint64_t starting = name == "tristrips" ? 2 : 1;
                    if (listed < starting) {
                        return "a <" + name + "> list has " + std::to_string(listed) +
                               " corners, too few to start a strip";
                    }
                    built = capped(built + (listed - starting) * (starting + 1));
                } else {
                    built += listed;
                }
            }
            std::uint64_t claimed = 0;  // the corners Assimp reserves for, in each list
            if (name == "triangles") {
                claimed = capped(count * 3);
            } else if (name == "lines") {
                claimed = capped(count * 2);
            } else if (name == "polylist") {
                if (Problem p = polygonCorners(element, count, claimed); !p.empty()) return p;
            }
            // Assimp refuses a claim the lists do not hold, but only after reserving for it.
            // A wrong <lines> count, which some exporters write, it takes and reads the lines
            // listed, so that claim need only keep the reservation small.
            const std::uint64_t reserved = capped(claimed * offsets);
            if (reserved > indices && (name != "lines" || reserved > limits_.faceCorners)) {
                return "<" + name + "> claims " + std::to_string(claimed) + " corners of " +
                       std::to_string(offsets) + " indices but lists " + std::to_string(indices);
            }
            corners = capped(corners + std::max(claimed, built));
            if (corners > limits_.faceCorners)
                return tooMany(corners, "face corners", limits_.faceCorners);
        }
        return {};
    }

    // The corners of a polylist's polygons: the first `count` numbers of its <vcount>.
    Problem polygonCorners(const pugi::xml_node& polylist, std::uint64_t count,
                           std::uint64_t& corners) {
        const char* text = polylist.child("vcount").text().get();
        if (countWords(text) < count) return "<polylist> has fewer sizes than polygons";
        for (std::uint64_t i = 0; i < count; ++i) {
            while (isSpace(*text)) ++text;
            std::uint64_t size = 0;
            for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
                size = capped(size * 10 + static_cast<std::uint64_t>(*text - '0'));
            if (size > limits_.cornersPerFace)
                return "a polygon has " + tooMany(size, "corners", limits_.cornersPerFace);
            corners = capped(corners + size);
        }
        return {};
    }

    // Assimp builds the node tree recursively, following instance_node to nodes found by
    // id or by name, so the tree it builds must be finite, shallow and not too large.
    Problem nodeTree() {
        const std::vector<pugi::xml_node>& nodes = found_.nodes;
        std::map<std::string, std::vector<std::size_t>> byId, byName;
        std::map<pugi::xml_node, std::size_t> indexOf;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            indexOf[nodes[i]] = i;
            if (const std::string id = nodes[i].attribute("id").value(); !id.empty())
                byId[id].push_back(i);
            if (const std::string name = nodes[i].attribute("name").value(); !name.empty())
                byName[name].push_back(i);
        }
        std::vector<std::vector<std::size_t>> edges(nodes.size());
        std::vector<std::uint64_t> weight(nodes.size(), 1);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            for (const pugi::xml_node& child : nodes[i].children()) {
                const std::string name = child.name();
                if (name == "node") {
                    edges[i].push_back(indexOf[child]);
                } else if (name == "instance_geometry" || name == "instance_controller") {
                    ++weight[i];
                } else if (name == "instance_node") {
                    const std::string url = child.attribute("url").value();
                    if (url.size() < 2 || url[0] != '#') continue;
                    const std::string target = url.substr(1);
                    // Matches by id first; by name only where no id matches, as Assimp does.
                    const auto found = byId.find(target);
                    const auto& targets = found != byId.end() ? found->second : byName[target];
                    edges[i].insert(edges[i].end(), targets.begin(), targets.end());
                }
            }
        }
        return expandedTreeProblem(edges, weight);
    }

    // Depth and size of every node's subtree once instances are expanded, by a depth-first
    // walk on an explicit stack; a node met again while still open is a cycle.
    Problem expandedTreeProblem(const std::vector<std::vector<std::size_t>>& edges,
                                const std::vector<std::uint64_t>& weight) {
        enum class State { unvisited, open, done };
        std::vector<State> state(edges.size(), State::unvisited);
        std::vector<std::uint64_t> depth(edges.size(), 1), size(edges.size(), 0);
        std::vector<std::pair<std::size_t, std::size_t>> stack;  // node, next edge
        const auto maxDepth = static_cast<std::uint64_t>(limits_.elementDepth);
        for (std::size_t root = 0; root < edges.size(); ++root) {
            if (state[root] != State::unvisited) continue;
            stack.emplace_back(root, 0);
            state[root] = State::open;
            while (!stack.empty()) {
                auto& [node, next] = stack.back();
                if (next < edges[node].size()) {
                    const std::size_t child = edges[node][next++];
                    if (state[child] == State::open)
                        return "a node instances itself, directly or not";
                    if (state[child] == State::unvisited) {
                        state[child] = State::open;
                        stack.emplace_back(child, 0);
                    }
                    continue;
                }
                size[node] = weight[node];
                for (const std::size_t child : edges[node]) {
                    depth[node] = std::max(depth[node], depth[child] + 1);
                    size[node] = capped(size[node] + size[child]);
                }
                if (depth[node] > maxDepth) {
                    return "nodes nest deeper than " + std::to_string(maxDepth) + " once instanced";
                }
                if (size[node] > limits_.expandedNodes) {
                    return "more than " + std::to_string(limits_.expandedNodes) +
                           " nodes and meshes once instanced";
                }
                state[node] = State::done;
                stack.pop_back();
            }
        }
        return {};
    }

    const Gatherer& found_;
    const ModelLimits& limits_;
    std::map<std::string, DataArray> arraysById_;
};

}  // namespace

std::string colladaProblem(const std::string& bytes, const ModelLimits& limits) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_full);
    if (!parsed) {
        return "it is not well-formed XML (" + std::string(parsed.description()) + " at byte " +
               std::to_string(parsed.offset) + ")";
    }
    if (std::strcmp(document.document_element().name(), "COLLADA") != 0) {
        return "its root element is <" + std::string(document.document_element().name()) +
               ">, not <COLLADA>";
    }
    Gatherer found(limits.elementDepth);
    document.traverse(found);
    if (!found.problem.empty()) return found.problem;
    return ColladaCheck(found, limits).run();
}

}  // namespace tarn::check
