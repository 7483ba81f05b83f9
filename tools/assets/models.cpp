// The models: creature, fish bodies and tail fins, duck, sun and the sky disc. Shapes are
// swept tubes and thin plates; every vertex carries a normal and one texture coordinate,
// and every model lies in its own frame exactly where the game expects it (the game ignores
// node transformations).
#include <cmath>

#include "generator.h"
#include "mesh.h"
#include "noise.h"

namespace tarn::assets {

namespace {

using glm::vec2;
using glm::vec3;

// Up-ness around a tube: 1 on top, 0 underneath.
float topness(double angle) { return float(0.5 + 0.5 * std::cos(angle)); }

vec3 bezier(vec3 a, vec3 b, vec3 c, double t) {
    const float s = float(t), r = 1.0f - s;
    return a * (r * r) + b * (2 * r * s) + c * (s * s);
}

// A straight spine from `root` along `direction` for `length`.
std::function<vec3(double)> line(vec3 root, vec3 direction, double length) {
    const vec3 d = glm::normalize(direction) * float(length);
    return [=](double t) { return root + d * float(t); };
}

// The creature: about 2.4 units from tail tip (x = -1.2) to snout (x = 1.2), swimming
// along +x. A plump body, a long neck rising to a small head, a tapering tail and four
// paddle flippers. Texture u follows x (the head has the strip u >= 0.9), v the up-ness.
std::vector<Mesh> creature() {
    Mesh m;
    m.name = "morvie";
    const auto skinU = [](double x) { return float(0.88 * clamp01((x + 1.2) / 2.4)); };

    Sweep body;
    body.spine = [](double t) {
        return vec3(float(-0.58 + 1.08 * t), float(0.05 * std::sin(M_PI * t)), 0);
    };
    body.radiusUp = [](double t) { return 0.3 * std::pow(std::sin(M_PI * t), 0.55); };
    body.radiusSide = [](double t) { return 0.37 * std::pow(std::sin(M_PI * t), 0.55); };
    body.uv = [&](double t, double a) { return vec2(skinU(body.spine(t).x), topness(a)); };
    addSweep(m, body);

    Sweep neck;
    neck.spine = [](double t) {
        return bezier({0.3f, 0.06f, 0}, {0.86f, 0.1f, 0}, {0.93f, 0.6f, 0}, t);
    };
    neck.radiusUp = [](double t) { return mix(0.18, 0.075, std::pow(t, 0.7)); };
    neck.radiusSide = neck.radiusUp;
    neck.uv = [&](double t, double a) {
        return vec2(skinU(neck.spine(t).x - 0.1 * t), topness(a));
    };
    addSweep(m, neck);

    Sweep head;
    head.spine = [](double t) { return vec3(float(0.86 + 0.34 * t), float(0.63 - 0.06 * t), 0); };
    head.radiusUp = [](double t) {
        return 0.105 * std::pow(std::sin(M_PI * std::pow(t, 0.8)), 0.5);
    };
    head.radiusSide = [](double t) {
        return 0.115 * std::pow(std::sin(M_PI * std::pow(t, 0.8)), 0.5);
    };
    head.uv = [](double t, double a) { return vec2(float(0.9 + 0.1 * t), topness(a)); };
    addSweep(m, head);

    Sweep tail;
    tail.spine = [](double t) {
        return bezier({-0.45f, 0.02f, 0}, {-0.85f, -0.06f, 0}, {-1.2f, 0.03f, 0}, t);
    };
    tail.radiusUp = [](double t) { return 0.2 * std::pow(1.0 - t, 0.9); };
    tail.radiusSide = [](double t) { return 0.17 * std::pow(1.0 - t, 0.9); };
    tail.uv = [&](double t, double a) { return vec2(skinU(tail.spine(t).x), topness(a)); };
    addSweep(m, tail);

    // Flippers: flat paddles swept back and down, broad side up.
    struct Flipper {
        vec3 root;
        vec3 direction;
        double length, width;
    };
    const Flipper flippers[] = {
        {{0.22f, -0.12f, 0.24f}, {-0.45f, -0.3f, 1}, 0.62, 0.14},
        {{0.22f, -0.12f, -0.24f}, {-0.45f, -0.3f, -1}, 0.62, 0.14},
        {{-0.34f, -0.12f, 0.22f}, {-0.7f, -0.3f, 1}, 0.46, 0.11},
        {{-0.34f, -0.12f, -0.22f}, {-0.7f, -0.3f, -1}, 0.46, 0.11},
    };
    for (const Flipper& f : flippers) {
        Sweep p;
        p.spine = line(f.root, f.direction, f.length);
        p.sideAxis =
            vec3(f.direction.z > 0 ? -1.0f : 1.0f, 0, 0);  // keeps the frame's up pointing up
        const double width = f.width;
        const auto paddle = [](double t) {
            return std::pow(std::sin(M_PI * (0.18 + 0.82 * t)), 0.6);
        };
        p.radiusUp = [=](double t) { return 0.04 * paddle(t); };
        p.radiusSide = [=](double t) { return width * paddle(t); };
        p.segments = 16;
        p.sides = 16;
        p.uv = [&, spine = p.spine](double t, double a) {
            return vec2(skinU(spine(t).x), topness(a));
        };
        addSweep(m, p);
    }
    return {m};
}

struct FishShape {
    double length;             // from tail end (x = -length / 2) to snout
    double height;             // half-height of the body at its deepest
    double width;              // half-width at the deepest
    double deepest;            // where along the body (0 tail, 1 snout) it is deepest
    double snout;              // exponent: larger gives a pointier snout
    std::vector<vec2> dorsal;  // dorsal fin outline
};

// A fish body along +x with its tail end at x = -length / 2, where the fin hangs. Texture:
// u from 0.1 (tail) to 1 (snout), v the up-ness; the dorsal fin uses the fin strip u < 0.1.
std::vector<Mesh> fishBody(const FishShape& s) {
    Mesh body;
    body.name = "body";
    Sweep sweep;
    const double half = s.length / 2, warp = std::log(0.5) / std::log(s.deepest);
    const auto profile = [=](double t) {
        return std::pow(std::sin(M_PI * std::pow(t, warp)), s.snout);
    };
    sweep.spine = [=](double t) {
        return vec3(float(-half + s.length * t), float(0.01 * std::sin(M_PI * t)), 0);
    };
    sweep.radiusUp = [=](double t) { return s.height * profile(t); };
    sweep.radiusSide = [=](double t) { return s.width * profile(t); };
    sweep.uv = [](double t, double a) { return vec2(float(0.1 + 0.9 * t), topness(a)); };
    addSweep(body, sweep);

    Mesh fin;
    fin.name = "dorsal_fin";
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    vec2 centre(0);
    for (vec2 p : s.dorsal) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y),
        maxY = std::max(maxY, p.y);
        centre += p / float(s.dorsal.size());
    }
    addPlate(fin, s.dorsal, centre, 0.008f, [=](vec2 p) {
        return vec2(0.01f + 0.08f * (p.x - minX) / (maxX - minX),
                    0.1f + 0.8f * (p.y - minY) / (maxY - minY));
    });
    return {body, fin};
}

// A tail fin: a vertical plate hinged at the origin, reaching towards -x.
std::vector<Mesh> tailFin(const std::vector<vec2>& outline, vec2 centre) {
    Mesh fin;
    fin.name = "tail_fin";
    float reach = 0, span = 0;
    for (vec2 p : outline) reach = std::max(reach, -p.x), span = std::max(span, std::fabs(p.y));
    addPlate(fin, outline, centre, 0.012f, [=](vec2 p) {
        return vec2(0.01f + 0.08f * (1.0f + p.x / reach), 0.5f + 0.45f * p.y / span);
    });
    return {fin};
}

// The duck, about 3 units from tail to bill, facing +x, floating with its waterline at
// y = 0. Body, neck and head, and a flat bill; texture regions as the duck texture lays out.
std::vector<Mesh> duck() {
    Mesh body;
    body.name = "body";
    Sweep b;
    b.spine = [](double t) {
        const double lift = std::pow(std::max(0.0, 0.28 - t) / 0.28, 2.0);
        return vec3(float(-1.45 + 2.45 * t), float(0.3 + 0.38 * lift), 0);
    };
    const auto plump = [](double t) { return std::pow(std::sin(M_PI * std::pow(t, 0.75)), 0.5); };
    b.radiusUp = [=](double t) { return 0.58 * plump(t); };
    b.radiusSide = [=](double t) { return 0.72 * plump(t); };
    b.uv = [](double t, double a) { return vec2(float(0.5 * t), topness(a)); };
    addSweep(body, b);

    Mesh head;
    head.name = "head";
    Sweep n;
    n.spine = [](double t) {
        return bezier({0.7f, 0.45f, 0}, {0.88f, 0.7f, 0}, {0.96f, 1.08f, 0}, t);
    };
    n.radiusUp = [](double t) { return mix(0.27, 0.2, t); };
    n.radiusSide = n.radiusUp;
    n.segments = 12;
    n.uv = [](double t, double a) {
        return vec2(float(0.5 + 0.5 * (0.02 + 0.2 * t)), 0.5f + 0.5f * topness(a));
    };
    addSweep(head, n);
    Sweep h;
    h.spine = [](double t) { return vec3(float(0.72 + 0.6 * t), float(1.16 - 0.03 * t), 0); };
    h.radiusUp = [](double t) { return 0.3 * std::pow(std::sin(M_PI * t), 0.5); };
    h.radiusSide = [](double t) { return 0.27 * std::pow(std::sin(M_PI * t), 0.5); };
    h.uv = [](double t, double a) {
        return vec2(float(0.5 + 0.5 * (0.25 + 0.75 * t)), 0.5f + 0.5f * topness(a));
    };
    addSweep(head, h);

    Mesh beak;
    beak.name = "beak";
    Sweep k;
    k.spine = [](double t) { return vec3(float(1.2 + 0.42 * t), float(1.07 - 0.07 * t), 0); };
    k.radiusUp = [](double t) {
        return 0.075 * (1.0 - 0.45 * t) * std::sqrt(std::max(0.0, 1.0 - std::pow(t, 6)));
    };
    k.radiusSide = [](double t) {
        return 0.15 * (1.0 - 0.3 * t) * std::sqrt(std::max(0.0, 1.0 - std::pow(t, 6)));
    };
    k.segments = 12;
    k.uv = [](double t, double a) {
        return vec2(float(0.5 + 0.5 * t), float(0.05 + 0.4 * topness(a)));
    };
    addSweep(beak, k);
    return {body, head, beak};
}

std::vector<Mesh> sun() {
    Mesh m;
    m.name = "sun";
    Sweep s;
    s.spine = [](double t) { return vec3(0, float(-0.75 + 1.5 * t), 0); };
    s.radiusUp = [](double t) {
        return 0.75 * std::sqrt(std::max(0.0, 1.0 - (2 * t - 1) * (2 * t - 1)));
    };
    s.radiusSide = s.radiusUp;
    s.segments = 24;
    s.sides = 32;
    addSweep(m, s);
    return {m};
}

// A wide, gently domed disc, 60 units in radius: the game draws it as the sky (stretched
// and raised) and again as the water surface. The texture repeats every 15 units.
std::vector<Mesh> skyDisc() {
    Mesh m;
    m.name = "disc";
    const int rings = 30, segments = 72;
    const double radius = 60.0, sag = 1.5, repeat = 15.0;
    const auto vertex = [&](double x, double z) {
        const double k = sag / (radius * radius);
        const vec3 n = glm::normalize(vec3(float(2 * k * x), 1.0f, float(2 * k * z)));
        return m.addVertex({float(x), float(-k * (x * x + z * z)), float(z)}, n,
                           {float(x / repeat), float(z / repeat)});
    };
    const std::uint32_t centre = vertex(0, 0);
    for (int r = 1; r <= rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const double a = 2 * M_PI * s / segments, d = radius * r / rings;
            vertex(d * std::cos(a), d * std::sin(a));
        }
    }
    const auto ring = [&](int r, int s) {
        return std::uint32_t(1 + (r - 1) * segments + (s % segments));
    };
    for (int s = 0; s < segments; ++s)
        m.indices.insert(m.indices.end(), {centre, ring(1, s + 1), ring(1, s)});
    for (int r = 1; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            m.indices.insert(m.indices.end(), {ring(r, s), ring(r, s + 1), ring(r + 1, s + 1),
                                               ring(r, s), ring(r + 1, s + 1), ring(r + 1, s)});
        }
    }
    return {m};
}

// Each model is built finer than it is ever seen, then merged down to what moves its surface
// by no more than maxError (model units): every triangle costs the renderer twice a frame.
bool writeObjModel(std::vector<Mesh> meshes, const std::string& path, const std::string& header,
                   float maxError) {
    for (Mesh& m : meshes) {
        orientTriangles(m);
        if (maxError > 0.0f) simplify(m, maxError);
    }
    return writeObj(meshes, path, header);
}

}  // namespace

bool writeModels(const std::string& resources) {
    // How far each simplified surface may move, in its model's units: a few thousandths of
    // its size, under a pixel at the closest the camera comes.
    constexpr float creatureError = 0.002f;
    constexpr float fishError = 0.002f;
    constexpr float duckError = 0.006f;  // the game shrinks the duck to 0.4
    constexpr float sunError = 0.005f;
    constexpr float skyError = 0.01f;
    const FishShape small{0.8,   0.15,
                          0.065, 0.6,
                          0.6,   {{-0.12f, 0.1f}, {0.1f, 0.125f}, {0.02f, 0.22f}, {-0.1f, 0.17f}}};
    const FishShape longFish{
        1.1, 0.095, 0.06,
        0.5, 0.75,  {{-0.36f, 0.07f}, {-0.18f, 0.08f}, {-0.24f, 0.16f}, {-0.34f, 0.13f}}};
    const std::vector<vec2> highFin{{0, -0.03f},      {-0.06f, -0.06f}, {-0.19f, -0.17f},
                                    {-0.22f, -0.15f}, {-0.15f, 0},      {-0.22f, 0.15f},
                                    {-0.19f, 0.17f},  {-0.06f, 0.06f},  {0, 0.03f}};
    const std::vector<vec2> thinFin{{0, -0.025f},     {-0.08f, -0.05f}, {-0.26f, -0.11f},
                                    {-0.29f, -0.09f}, {-0.23f, 0},      {-0.29f, 0.09f},
                                    {-0.26f, 0.11f},  {-0.08f, 0.05f},  {0, 0.025f}};
    std::vector<Mesh> duckMeshes = duck();
    for (Mesh& m : duckMeshes) {
        orientTriangles(m);
        simplify(m, duckError);
    }
    return writeObjModel(creature(), gameFile(resources, paths::morvieModel),
                         "Tarnhollow lake creature Morvie, 2.4 units, facing +x.", creatureError) &&
           writeObjModel(fishBody(small), gameFile(resources, paths::fishSmallModel),
                         "Small fish, 0.8 units, tail end at x = -0.4.", fishError) &&
           writeObjModel(fishBody(longFish), gameFile(resources, paths::fishLongModel),
                         "Long fish, 1.1 units, tail end at x = -0.55.", fishError) &&
           writeObjModel(tailFin(highFin, {-0.07f, 0}), gameFile(resources, paths::finHigherModel),
                         "Tail fin of the small fish, hinged at the origin.", 0.0f) &&
           writeObjModel(tailFin(thinFin, {-0.09f, 0}), gameFile(resources, paths::finLongThinModel),
                         "Tail fin of the long fish, hinged at the origin.", 0.0f) &&
           writeCollada(duckMeshes, gameFile(resources, paths::duckModel), "duck_textures/duck.png") &&
           writeObjModel(sun(), gameFile(resources, paths::sunModel), "Sun, radius 0.75.", sunError) &&
           writeObjModel(skyDisc(), gameFile(resources, paths::skyModel), "Sky and water surface disc, radius 60.",
                         skyError);
}

}  // namespace tarn::assets
