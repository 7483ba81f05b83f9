// A small COLLADA document for model tests, shaped like the game's duck: an accessor of
// stride 3 over a float_array, an index list, a visual scene with one node, and room for a
// node library to instance from.
#pragma once

#include <string>

namespace tarn::test {

// One triangle at x = 0..1 in the node "body"; nodes replaces that node when given.
inline std::string colladaTriangle(const std::string& nodeLibrary = "",
                                   const std::string& nodes = "") {
    const std::string body =
        R"(<node id="body" name="body"><instance_geometry url="#tri"/></node>)";
    return R"(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <library_geometries><geometry id="tri"><mesh>
    <source id="pos"><float_array id="pos-array" count="9">0 0 0 1 0 0 0 1 0</float_array>
      <technique_common><accessor source="#pos-array" count="3" stride="3">
        <param name="X" type="float"/><param name="Y" type="float"/><param name="Z" type="float"/>
      </accessor></technique_common></source>
    <vertices id="vtx"><input semantic="POSITION" source="#pos"/></vertices>
    <triangles count="1"><input semantic="VERTEX" source="#vtx" offset="0"/><p>0 1 2</p></triangles>
  </mesh></geometry></library_geometries>
  )" + nodeLibrary + R"(<library_visual_scenes><visual_scene id="Scene">)" +
           (nodes.empty() ? body : nodes) + R"(</visual_scene></library_visual_scenes>
  <scene><instance_visual_scene url="#Scene"/></scene>
</COLLADA>
)";
}

}  // namespace tarn::test
