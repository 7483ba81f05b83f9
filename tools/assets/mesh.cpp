// Building and writing the meshes of the models.
#include "mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <glm/gtc/matrix_inverse.hpp>
#include <meshoptimizer.h>

namespace tarn::assets {

std::uint32_t Mesh::addVertex(glm::vec3 p, glm::vec3 n, glm::vec2 uv) {
    positions.push_back(p);
    normals.push_back(n);
    uvs.push_back(uv);
    return std::uint32_t(positions.size() - 1);
}

void addSweep(Mesh& mesh, const Sweep& s) {
    const int rows = s.segments + 1, cols = s.sides + 1;  // the last column repeats the first
    std::vector<glm::vec3> grid(size_t(rows) * cols), centre(rows);
    for (int i = 0; i < rows; ++i) {
        const double t = double(i) / s.segments;
        const double dt = 1e-3;
        const glm::vec3 c = s.spine(t);
        const glm::vec3 tangent =
            glm::normalize(s.spine(std::min(1.0, t + dt)) - s.spine(std::max(0.0, t - dt)));
        const glm::vec3 up = glm::normalize(glm::cross(s.sideAxis, tangent));
        const glm::vec3 side = glm::cross(tangent, up);
        centre[i] = c;
        for (int j = 0; j < cols; ++j) {
            const double a = 2.0 * M_PI * (j % s.sides) / s.sides;
            grid[size_t(i) * cols + j] = c + up * float(s.radiusUp(t) * std::cos(a)) +
                                         side * float(s.radiusSide(t) * std::sin(a));
        }
    }
    const auto P = [&](int i, int j) { return grid[size_t(i) * cols + ((j + s.sides) % s.sides)]; };
    const std::uint32_t base = std::uint32_t(mesh.positions.size());
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            const glm::vec3 p = P(i, j);
            const glm::vec3 along = P(std::min(i + 1, s.segments), j) - P(std::max(i - 1, 0), j);
            const glm::vec3 around = P(i, j + 1) - P(i, j - 1);
            glm::vec3 n = glm::cross(along, around);
            if (glm::length(n) < 1e-7f || glm::length(around) < 1e-6f) {
                // A closed end: the normal points along the spine, out of the tube.
                const glm::vec3 out = i == 0 ? centre[0] - centre[1] : centre[i] - centre[i - 1];
                n = out;
            } else if (glm::dot(n, p - centre[i]) < 0) {
                n = -n;
            }
            const double t = double(i) / s.segments;
            const double a = 2.0 * M_PI * j / s.sides;
            mesh.addVertex(p, glm::normalize(n),
                           s.uv ? s.uv(t, a) : glm::vec2(float(t), float(j) / s.sides));
        }
    }
    for (int i = 0; i < s.segments; ++i) {
        for (int j = 0; j < s.sides; ++j) {
            const std::uint32_t a = base + i * cols + j, b = a + 1, c = a + cols, d = c + 1;
            mesh.indices.insert(mesh.indices.end(), {a, c, b, b, c, d});
        }
    }
}

std::vector<std::uint32_t> simplifiedIndices(const Mesh& mesh, float maxError) {
    if (mesh.indices.empty()) return {};
    const float* positions = &mesh.positions[0].x;
    const float scale = meshopt_simplifyScale(positions, mesh.positions.size(), sizeof(glm::vec3));
    std::vector<std::uint32_t> kept(mesh.indices.size());
    kept.resize(meshopt_simplify(kept.data(), mesh.indices.data(), mesh.indices.size(), positions,
                                 mesh.positions.size(), sizeof(glm::vec3), 0, maxError / scale,
                                 meshopt_SimplifyLockBorder, nullptr));
    return kept;
}

void simplify(Mesh& mesh, float maxError) {
    if (mesh.indices.empty()) return;
    Mesh out;
    out.name = mesh.name;
    std::vector<std::uint32_t> renumbered(mesh.positions.size(), UINT32_MAX);
    for (std::uint32_t v : simplifiedIndices(mesh, maxError)) {
        if (renumbered[v] == UINT32_MAX)
            renumbered[v] = out.addVertex(mesh.positions[v], mesh.normals[v], mesh.uvs[v]);
        out.indices.push_back(renumbered[v]);
    }
    mesh = std::move(out);
}

void addPlate(Mesh& mesh, std::vector<glm::vec2> outline, glm::vec2 centre, float thickness,
              const std::function<glm::vec2(glm::vec2)>& uv) {
    double area = 0;
    for (size_t k = 0; k < outline.size(); ++k) {
        const glm::vec2 a = outline[k], b = outline[(k + 1) % outline.size()];
        area += double(a.x) * b.y - double(b.x) * a.y;
    }
    if (area < 0) std::reverse(outline.begin(), outline.end());
    const float half = thickness * 0.5f;
    for (int face = 0; face < 2; ++face) {
        const float z = face == 0 ? half : -half;
        const glm::vec3 n(0, 0, face == 0 ? 1 : -1);
        const std::uint32_t c = mesh.addVertex({centre, z}, n, uv(centre));
        const std::uint32_t first = std::uint32_t(mesh.positions.size());
        for (const glm::vec2& p : outline) mesh.addVertex({p, z}, n, uv(p));
        const std::uint32_t count = std::uint32_t(outline.size());
        for (std::uint32_t k = 0; k < count; ++k) {
            mesh.indices.insert(mesh.indices.end(), {c, first + k, first + (k + 1) % count});
        }
    }
    // Rim: one quad per outline edge, facing outwards.
    for (size_t k = 0; k < outline.size(); ++k) {
        const glm::vec2 a = outline[k], b = outline[(k + 1) % outline.size()];
        const glm::vec2 e = b - a;
        const glm::vec3 n = glm::normalize(glm::vec3(e.y, -e.x, 0));
        const std::uint32_t i0 = mesh.addVertex({a, half}, n, uv(a)),
                            i1 = mesh.addVertex({b, half}, n, uv(b));
        const std::uint32_t i2 = mesh.addVertex({b, -half}, n, uv(b)),
                            i3 = mesh.addVertex({a, -half}, n, uv(a));
        mesh.indices.insert(mesh.indices.end(), {i0, i3, i2, i0, i2, i1});
    }
}

void transformMesh(Mesh& mesh, const glm::mat4& transform, std::uint32_t first) {
    const glm::mat3 normalMatrix = glm::inverseTranspose(glm::mat3(transform));
    for (size_t i = first; i < mesh.positions.size(); ++i) {
        mesh.positions[i] = glm::vec3(transform * glm::vec4(mesh.positions[i], 1));
        mesh.normals[i] = glm::normalize(normalMatrix * mesh.normals[i]);
    }
}

void orientTriangles(Mesh& mesh) {
    for (size_t k = 0; k + 2 < mesh.indices.size(); k += 3) {
        const std::uint32_t a = mesh.indices[k], b = mesh.indices[k + 1], c = mesh.indices[k + 2];
        const glm::vec3 face = glm::cross(mesh.positions[b] - mesh.positions[a],
                                          mesh.positions[c] - mesh.positions[a]);
        if (glm::dot(face, mesh.normals[a] + mesh.normals[b] + mesh.normals[c]) < 0) {
            std::swap(mesh.indices[k + 1], mesh.indices[k + 2]);
        }
    }
}

bool writeObj(const std::vector<Mesh>& meshes, const std::string& path, const std::string& header) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
        std::fprintf(stderr, "tarnhollow-assets: cannot write %s\n", path.c_str());
        return false;
    }
    std::fprintf(f, "# %s\n# Written by tarnhollow-assets.\n", header.c_str());
    size_t offset = 1;
    for (const Mesh& m : meshes) {
        std::fprintf(f, "o %s\n", m.name.c_str());
        for (const glm::vec3& p : m.positions) std::fprintf(f, "v %.5f %.5f %.5f\n", p.x, p.y, p.z);
        for (const glm::vec2& t : m.uvs) std::fprintf(f, "vt %.5f %.5f\n", t.x, t.y);
        for (const glm::vec3& n : m.normals) std::fprintf(f, "vn %.4f %.4f %.4f\n", n.x, n.y, n.z);
        for (size_t k = 0; k + 2 < m.indices.size(); k += 3) {
            const size_t a = m.indices[k] + offset, b = m.indices[k + 1] + offset,
                         c = m.indices[k + 2] + offset;
            std::fprintf(f, "f %zu/%zu/%zu %zu/%zu/%zu %zu/%zu/%zu\n", a, a, a, b, b, b, c, c, c);
        }
        offset += m.positions.size();
    }
    return std::fclose(f) == 0;
}

namespace {

template <typename V>
void floatArray(FILE* f, const std::string& id, const std::vector<V>& values, int components) {
    std::fprintf(
        f, "        <source id=\"%s\">\n          <float_array id=\"%s-array\" count=\"%zu\">",
        id.c_str(), id.c_str(), values.size() * components);
    for (const V& v : values) {
        for (int c = 0; c < components; ++c) std::fprintf(f, " %.5f", v[c]);
    }
    std::fprintf(f,
                 "</float_array>\n          <technique_common>\n"
                 "            <accessor source=\"#%s-array\" count=\"%zu\" stride=\"%d\">\n",
                 id.c_str(), values.size(), components);
    const char* names = components == 3 ? "XYZ" : "ST";
    for (int c = 0; c < components; ++c)
        std::fprintf(f, "              <param name=\"%c\" type=\"float\"/>\n", names[c]);
    std::fprintf(f, "            </accessor>\n          </technique_common>\n        </source>\n");
}

}  // namespace

bool writeCollada(const std::vector<Mesh>& meshes, const std::string& path,
                  const std::string& textureFile) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
        std::fprintf(stderr, "tarnhollow-assets: cannot write %s\n", path.c_str());
        return false;
    }
    // Fixed dates keep the file the same on every run.
    std::fprintf(
        f,
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
        "  <asset>\n    "
        "<contributor><authoring_tool>tarnhollow-assets</authoring_tool></contributor>\n"
        "    <created>2026-01-01T00:00:00Z</created>\n    "
        "<modified>2026-01-01T00:00:00Z</modified>\n"
        "    <unit name=\"meter\" meter=\"1\"/>\n    <up_axis>Y_UP</up_axis>\n  </asset>\n"
        "  <library_images>\n    <image id=\"skin-image\"><init_from>%s</init_from></image>\n  "
        "</library_images>\n"
        "  <library_effects>\n    <effect id=\"skin-effect\">\n      <profile_COMMON>\n"
        "        <newparam sid=\"skin-surface\"><surface "
        "type=\"2D\"><init_from>skin-image</init_from></surface></newparam>\n"
        "        <newparam "
        "sid=\"skin-sampler\"><sampler2D><source>skin-surface</source></sampler2D></newparam>\n"
        "        <technique sid=\"common\">\n          <lambert>\n"
        "            <diffuse><texture texture=\"skin-sampler\" texcoord=\"UVMap\"/></diffuse>\n"
        "          </lambert>\n        </technique>\n      </profile_COMMON>\n    </effect>\n  "
        "</library_effects>\n"
        "  <library_materials>\n    <material id=\"skin\" name=\"skin\"><instance_effect "
        "url=\"#skin-effect\"/></material>\n"
        "  </library_materials>\n  <library_geometries>\n",
        textureFile.c_str());
    for (const Mesh& m : meshes) {
        const std::string id = m.name;
        std::fprintf(f, "    <geometry id=\"%s-mesh\" name=\"%s\">\n      <mesh>\n", id.c_str(),
                     id.c_str());
        floatArray(f, id + "-positions", m.positions, 3);
        floatArray(f, id + "-normals", m.normals, 3);
        floatArray(f, id + "-uvs", m.uvs, 2);
        std::fprintf(f,
                     "        <vertices id=\"%s-vertices\"><input semantic=\"POSITION\" "
                     "source=\"#%s-positions\"/></vertices>\n"
                     "        <triangles material=\"skin\" count=\"%zu\">\n"
                     "          <input semantic=\"VERTEX\" source=\"#%s-vertices\" offset=\"0\"/>\n"
                     "          <input semantic=\"NORMAL\" source=\"#%s-normals\" offset=\"0\"/>\n"
                     "          <input semantic=\"TEXCOORD\" source=\"#%s-uvs\" offset=\"0\" "
                     "set=\"0\"/>\n          <p>",
                     id.c_str(), id.c_str(), m.indices.size() / 3, id.c_str(), id.c_str(),
                     id.c_str());
        for (std::uint32_t i : m.indices) std::fprintf(f, " %u", i);
        std::fprintf(f, "</p>\n        </triangles>\n      </mesh>\n    </geometry>\n");
    }
    std::fprintf(
        f, "  </library_geometries>\n  <library_visual_scenes>\n    <visual_scene id=\"scene\">\n");
    for (const Mesh& m : meshes) {
        std::fprintf(
            f,
            "      <node id=\"%s\" name=\"%s\">\n        <instance_geometry url=\"#%s-mesh\">\n"
            "          <bind_material><technique_common>\n"
            "            <instance_material symbol=\"skin\" target=\"#skin\">"
            "<bind_vertex_input semantic=\"UVMap\" input_semantic=\"TEXCOORD\" "
            "input_set=\"0\"/></instance_material>\n"
            "          </technique_common></bind_material>\n        </instance_geometry>\n      "
            "</node>\n",
            m.name.c_str(), m.name.c_str(), m.name.c_str());
    }
    std::fprintf(f,
                 "    </visual_scene>\n  </library_visual_scenes>\n"
                 "  <scene><instance_visual_scene url=\"#scene\"/></scene>\n</COLLADA>\n");
    return std::fclose(f) == 0;
}

}  // namespace tarn::assets
