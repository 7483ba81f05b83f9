// Small COLLADA documents for model tests, shaped like the game's duck: an accessor of
// stride 3 over a float_array, index lists, a visual scene with one node, and room for a
// node library to instance from.
#pragma once

#include <initializer_list>
#include <string>

namespace tarn::test {

// One geometry "tri" over the positions given (x, y and z of each), drawn by the primitive
// elements given, in the node "body"; nodes replaces that node when given.
inline std::string colladaDocument(const std::string& positions, int vertexCount,
                                   const std::string& primitives,
                                   const std::string& nodeLibrary = "",
                                   const std::string& nodes = "") {
    const std::string body =
        R"(<node id="body" name="body"><instance_geometry url="#tri"/></node>)";
    return R"(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <library_geometries><geometry id="tri"><mesh>
    <source id="pos"><float_array id="pos-array" count=")" +
           std::to_string(3 * vertexCount) + R"(">)" + positions + R"(</float_array>
      <technique_common><accessor source="#pos-array" count=")" +
           std::to_string(vertexCount) + R"(" stride="3">
        <param name="X" type="float"/><param name="Y" type="float"/><param name="Z" type="float"/>
      </accessor></technique_common></source>
    <vertices id="vtx"><input semantic="POSITION" source="#pos"/></vertices>
    )" + primitives +
           R"(
  </mesh></geometry></library_geometries>
  )" + nodeLibrary +
           R"(<library_visual_scenes><visual_scene id="Scene">)" + (nodes.empty() ? body : nodes) +
           R"(</visual_scene></library_visual_scenes>
  <scene><instance_visual_scene url="#Scene"/></scene>
</COLLADA>
)";
}

// A primitive element of that kind ("triangles", "tristrips", "lines", ...) and count over
// the document's vertices, with one <p> for each list of indices.
inline std::string colladaPrimitives(const std::string& kind, int count,
                                     std::initializer_list<const char*> lists) {
    std::string element = "<" + kind + " count=\"" + std::to_string(count) +
                          R"("><input semantic="VERTEX" source="#vtx" offset="0"/>)";
    for (const char* list : lists) element += std::string("<p>") + list + "</p>";
    return element + "</" + kind + ">";
}

// One triangle at x = 0..1 in the node "body"; nodes replaces that node when given.
inline std::string colladaTriangle(const std::string& nodeLibrary = "",
                                   const std::string& nodes = "") {
    return colladaDocument("0 0 0 1 0 0 0 1 0", 3, colladaPrimitives("triangles", 1, {"0 1 2"}),
                           nodeLibrary, nodes);
}

// The corners 0, 1, 2 and 3 of the unit square at z = 0, counter-clockwise from the origin,
// drawn by the primitive elements given.
inline std::string colladaSquare(const std::string& primitives) {
    return colladaDocument("0 0 0 1 0 0 1 1 0 0 1 0", 4, primitives);
}

}  // namespace tarn::test
