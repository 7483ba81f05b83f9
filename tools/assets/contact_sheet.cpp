// The contact sheet: every texture, some caustics frames, a shaded relief of the height
// map and small renderings of the models, read back from the files the way the game reads
// them (DevIL rows as uploaded, Assimp with triangulation and flipped texture coordinates).
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstdio>
#include <functional>
#include <glm/gtc/matrix_transform.hpp>
#include <limits>
#include <vector>

#include "generator.h"
#include "image.h"
#include "noise.h"
#include "text.h"

namespace tarn::assets {

namespace {

constexpr int kCell = 256;
constexpr int kCaption = 26;
constexpr int kColumns = 5;
constexpr int kMargin = 12;

struct Triangle {
    glm::vec3 p[3], n[3];
    glm::vec2 uv[3];
};

std::vector<Triangle> loadTriangles(const std::string& path,
                                    const glm::mat4& place = glm::mat4(1)) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_FlipUVs);
    std::vector<Triangle> out;
    if (!scene) return out;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            if (mesh->mFaces[f].mNumIndices != 3 || !mesh->mNormals) continue;
            Triangle t;
            for (int k = 0; k < 3; ++k) {
                const unsigned i = mesh->mFaces[f].mIndices[k];
                t.p[k] = glm::vec3(place * glm::vec4(mesh->mVertices[i].x, mesh->mVertices[i].y,
                                                     mesh->mVertices[i].z, 1));
                t.n[k] = glm::mat3(place) *
                         glm::vec3(mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z);
                t.uv[k] = mesh->mTextureCoords[0] ? glm::vec2(mesh->mTextureCoords[0][i].x,
                                                              mesh->mTextureCoords[0][i].y)
                                                  : glm::vec2(0);
            }
            out.push_back(t);
        }
    }
    return out;
}

// Texture lookup as GL does it for the game's upload: t = 0 is DevIL's first row, repeat.
Color sample(const Image& tex, glm::vec2 uv) {
    if (tex.width == 0) return rgb(200, 200, 200);
    const double u = uv.x - std::floor(uv.x), t = uv.y - std::floor(uv.y);
    return tex.get(std::min(tex.width - 1, int(u * tex.width)),
                   std::min(tex.height - 1, int(t * tex.height)));
}

// Orthographic, z-buffered, two-sided Lambert shading, fitted into the cell.
void renderModel(Image& sheet, int ox, int oy, const std::vector<Triangle>& tris, const Image& tex,
                 glm::mat3 view) {
    glm::vec2 lo(1e9f), hi(-1e9f);
    for (const Triangle& t : tris) {
        for (const glm::vec3& p : t.p) {
            const glm::vec3 q = view * p;
            lo = glm::min(lo, glm::vec2(q)), hi = glm::max(hi, glm::vec2(q));
        }
    }
    const float scale = 0.9f * kCell / std::max(hi.x - lo.x, hi.y - lo.y);
    const glm::vec2 mid = (lo + hi) * 0.5f;
    std::vector<float> depth(size_t(kCell) * kCell, -std::numeric_limits<float>::infinity());
    const glm::vec3 light = glm::normalize(glm::vec3(0.4f, 0.75f, 0.6f));
    for (const Triangle& t : tris) {
        glm::vec3 s[3];
        for (int k = 0; k < 3; ++k) {
            const glm::vec3 q = view * t.p[k];
            s[k] = glm::vec3((q.x - mid.x) * scale + kCell / 2.0f,
                             kCell / 2.0f - (q.y - mid.y) * scale, q.z);
        }
        const float area =
            (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[2].x - s[0].x) * (s[1].y - s[0].y);
        if (std::fabs(area) < 1e-9f) continue;
        const int x0 = std::max(0, int(std::floor(std::min({s[0].x, s[1].x, s[2].x}))));
        const int x1 = std::min(kCell - 1, int(std::ceil(std::max({s[0].x, s[1].x, s[2].x}))));
        const int y0 = std::max(0, int(std::floor(std::min({s[0].y, s[1].y, s[2].y}))));
        const int y1 = std::min(kCell - 1, int(std::ceil(std::max({s[0].y, s[1].y, s[2].y}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                float w[3];
                for (int k = 0; k < 3; ++k) {
                    const glm::vec3 a = s[(k + 1) % 3], b = s[(k + 2) % 3];
                    w[k] = ((b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y)) / area;
                }
                if (w[0] < 0 || w[1] < 0 || w[2] < 0) continue;
                const float z = w[0] * s[0].z + w[1] * s[1].z + w[2] * s[2].z;
                float& d = depth[size_t(y) * kCell + x];
                if (z <= d) continue;
                d = z;
                glm::vec3 n =
                    glm::normalize(view * (w[0] * t.n[0] + w[1] * t.n[1] + w[2] * t.n[2]));
                if (n.z < 0) n = -n;
                const Color c = sample(tex, w[0] * t.uv[0] + w[1] * t.uv[1] + w[2] * t.uv[2]);
                sheet.set(ox + x, oy + y, c * (0.35 + 0.75 * std::max(0.0f, glm::dot(n, light))));
            }
        }
    }
}

// Yaw about y, then a tilt about x, in degrees.
glm::mat3 viewFrom(float yaw, float tilt) {
    const glm::mat4 r = glm::rotate(glm::mat4(1), glm::radians(tilt), glm::vec3(1, 0, 0)) *
                        glm::rotate(glm::mat4(1), glm::radians(yaw), glm::vec3(0, 1, 0));
    return glm::mat3(r);
}

void blit(Image& sheet, int ox, int oy, const Image& img, int repeat = 1) {
    if (img.width == 0) return;
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            const int sx = (x * repeat * img.width / kCell) % img.width,
                      sy = (y * repeat * img.height / kCell) % img.height;
            sheet.set(ox + x, oy + y, img.get(sx, sy));
        }
    }
}

// Hill shading of the height map, relief exaggerated three times, coloured by height:
// deep floor dark, shallows light, shore green.
Image relief(const Image& map) {
    Image out(kCell, kCell, 3);
    if (map.width == 0) return out;
    const auto height = [&](int x, int y) {
        x = std::clamp(x, 0, map.width - 1), y = std::clamp(y, 0, map.height - 1);
        return map.at(x, y)[0] / 226.0 * 24.0 - 11.0;
    };
    const int step = map.width / kCell;
    const double cellWorld = 110.0 / kCell;
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            const int mx = x * step, my = y * step;
            const double h = height(mx, my);
            const double dx = height(mx + step, my) - height(mx - step, my),
                         dz = height(mx, my + step) - height(mx, my - step);
            const glm::vec3 n =
                glm::normalize(glm::vec3(float(-3 * dx), float(2 * cellWorld), float(-3 * dz)));
            const double shade =
                0.35 +
                0.65 * std::max(0.0f, glm::dot(n, glm::normalize(glm::vec3(-0.5f, 0.7f, -0.5f))));
            Color c = mix(rgb(20, 60, 76), rgb(196, 200, 150), clamp01((h + 10.0) / 7.0));
            if (h > 15) c = rgb(96, 140, 70);
            out.set(x, y, c * shade);
        }
    }
    return out;
}

// The part of the lakebed within `half` units of the centre.
std::vector<Triangle> lakebedCentre(const std::string& path, float half) {
    std::vector<Triangle> tris = loadTriangles(path);
    tris.erase(std::remove_if(tris.begin(), tris.end(),
                              [&](const Triangle& t) {
                                  for (const glm::vec3& p : t.p) {
                                      if (std::fabs(p.x) > half || std::fabs(p.z) > half)
                                          return true;
                                  }
                                  return false;
                              }),
               tris.end());
    return tris;
}

}  // namespace

bool writeContactSheet(const std::string& resources, const std::string& outPath) {
    const std::string r = resources + "/", tex = r + "Textures/", models = r + "Models/";
    struct Cell {
        std::string caption;
        std::function<void(Image&, int, int)> draw;
    };
    const Image fishTex = loadImage(tex + "fisch_neu2.jpg"),
                yellowTex = loadImage(tex + "yellowfish.png");
    const Image greyTex = loadImage(tex + "greyfish.jpg"),
                creatureTex = loadImage(models + "morvie/morvie_textures/morvie.jpg");
    const Image duckTex = loadImage(models + "duck/duck_textures/duck.png"),
                mossTex = loadImage(tex + "moss.jpg");
    const auto image = [](std::string path, int repeat = 1) {
        return [=](Image& s, int x, int y) { blit(s, x, y, loadImage(path), repeat); };
    };
    const auto caustic = [&](int frame, int repeat = 1) {
        char name[32];
        std::snprintf(name, sizeof name, "caustics/save.%02d.tif", frame);
        return image(tex + name, repeat);
    };
    const auto fish = [&](const std::string& body, const std::string& fin, float finAt,
                          const Image& skin, float yaw) {
        return [=, &skin](Image& s, int x, int y) {
            std::vector<Triangle> tris = loadTriangles(models + "fish/" + body);
            const std::vector<Triangle> finTris = loadTriangles(
                models + "fish/" + fin, glm::translate(glm::mat4(1), glm::vec3(finAt, 0, 0)));
            tris.insert(tris.end(), finTris.begin(), finTris.end());
            renderModel(s, x, y, tris, skin, viewFrom(yaw, 15));
        };
    };
    const std::vector<Cell> cells = {
        {"moss.jpg, 2 x 2", image(tex + "moss.jpg", 2)},
        {"sky_seamless.jpg, 2 x 2", image(tex + "sky_seamless.jpg", 2)},
        {"morvie.jpg", image(models + "morvie/morvie_textures/morvie.jpg")},
        {"duck.png", image(models + "duck/duck_textures/duck.png")},
        {"sdkarte8.jpg", image(r + "sdkarte8.jpg")},
        {"fisch_neu2.jpg", image(tex + "fisch_neu2.jpg")},
        {"yellowfish.png", image(tex + "yellowfish.png")},
        {"greyfish.jpg", image(tex + "greyfish.jpg")},
        {"heightmap1.png, relief",
         [&](Image& s, int x, int y) { blit(s, x, y, relief(loadImage(r + "heightmap1.png"))); }},
        {"lakebed",
         [&](Image& s, int x, int y) {
             renderModel(s, x, y,
                         loadTriangles(models + "lakebed/quadratic_map_mittelschroff_scaled.obj"),
                         mossTex, viewFrom(30, 40));
         }},
        {"lakebed, centre 40 x 40",
         [&](Image& s, int x, int y) {
             renderModel(
                 s, x, y,
                 lakebedCentre(models + "lakebed/quadratic_map_mittelschroff_scaled.obj", 20),
                 mossTex, viewFrom(30, 35));
         }},
        {"caustics 01, 2 x 2", caustic(1, 2)},
        {"caustics 09", caustic(9)},
        {"caustics 17", caustic(17)},
        {"caustics 25", caustic(25)},
        {"caustics 32", caustic(32)},
        {"morvie2.obj, side",
         [&](Image& s, int x, int y) {
             renderModel(s, x, y, loadTriangles(models + "morvie/morvie2.obj"), creatureTex,
                         viewFrom(0, 0));
         }},
        {"morvie2.obj",
         [&](Image& s, int x, int y) {
             renderModel(s, x, y, loadTriangles(models + "morvie/morvie2.obj"), creatureTex,
                         viewFrom(-35, 25));
         }},
        {"morvie2.obj, below",
         [&](Image& s, int x, int y) {
             renderModel(s, x, y, loadTriangles(models + "morvie/morvie2.obj"), creatureTex,
                         viewFrom(-20, -60));
         }},
        {"duck.dae",
         [&](Image& s, int x, int y) {
             renderModel(s, x, y, loadTriangles(models + "duck/duck.dae"), duckTex,
                         viewFrom(-30, 20));
         }},
        {"duck.dae, side",
         [&](Image& s, int x, int y) {
             renderModel(s, x, y, loadTriangles(models + "duck/duck.dae"), duckTex, viewFrom(0, 0));
         }},
        {"small fish, fisch_neu2",
         fish("fish_small.obj", "schwanzflosse_higher.obj", -0.4f, fishTex, -20)},
        {"small fish, yellowfish",
         fish("fish_small.obj", "schwanzflosse_higher.obj", -0.4f, yellowTex, 20)},
        {"long fish, greyfish",
         fish("fish_long2.obj", "schwanzflosse_long_thin.obj", -0.55f, greyTex, -20)},
        {"sun.obj",
         [&](Image& s, int x, int y) {
             renderModel(s, x, y, loadTriangles(models + "sun/sun.obj"), Image(), viewFrom(0, 20));
         }},
        {"sky1.obj with sky",
         [&](Image& s, int x, int y) {
             renderModel(s, x, y, loadTriangles(models + "sky/sky1.obj"),
                         loadImage(tex + "sky_seamless.jpg"), viewFrom(0, 90));
         }},
    };
    const int rows = int(cells.size() + kColumns - 1) / kColumns;
    const int pitchX = kCell + kMargin, pitchY = kCell + kCaption + kMargin;
    Image sheet(kMargin + kColumns * pitchX, 48 + rows * pitchY, 3);
    for (int y = 0; y < sheet.height; ++y) {
        for (int x = 0; x < sheet.width; ++x) sheet.set(x, y, rgb(20, 30, 34));
    }
    drawText(sheet, kMargin, 32, "Tarnhollow assets", 24, rgb(220, 235, 230));
    for (size_t i = 0; i < cells.size(); ++i) {
        const int x = kMargin + int(i % kColumns) * pitchX, y = 48 + int(i / kColumns) * pitchY;
        for (int py = 0; py < kCell; ++py) {
            for (int px = 0; px < kCell; ++px)
                sheet.set(x + px, y + py,
                          mix(rgb(40, 76, 84), rgb(18, 40, 48), py / double(kCell)));
        }
        cells[i].draw(sheet, x, y);
        drawText(sheet, x + 2, y + kCell + 18, cells[i].caption, 15, rgb(200, 214, 210));
    }
    return savePng(sheet, outPath);
}

}  // namespace tarn::assets
