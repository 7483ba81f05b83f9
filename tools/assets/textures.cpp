// Surface textures. One palette for the lake: greenish-blue water, a mossy sandy floor, a
// dark green creature with a pale belly, three fish colourings, brown-and-white ducks.
// Every texture is painted as f(u, v) with v upwards, matching the models' coordinates.
#include <cmath>

#include "generator.h"
#include "image.h"
#include "noise.h"
#include "text.h"

namespace tarn::assets {

namespace {

// Sand with moss patches and pebbles, repeating every tile on both axes.
Color moss(double u, double v) {
    const int period = 6;
    const double x = u * period, y = v * period;
    const double patches = fbm(x, y, 5, 101, period, 0.55);
    const double fine = fbm(x * 4, y * 4, 3, 103, period * 4);
    const double pebble = cellDistance(x * 5, y * 5, 107, period * 5);
    const Color sand = mix(rgb(150, 138, 98), rgb(178, 165, 120), 0.5 + 0.5 * fine);
    const Color green = mix(rgb(52, 82, 36), rgb(92, 118, 50), 0.5 + 0.5 * fine);
    Color c = mix(sand, green, smoothstep(-0.15, 0.2, patches));
    // Pebbles: rounded grey-brown stones where the sand shows.
    const double stone =
        (1.0 - smoothstep(0.22, 0.32, pebble)) * (1.0 - smoothstep(-0.1, 0.15, patches));
    c = mix(c, mix(rgb(118, 110, 96), rgb(150, 144, 130), clamp01(0.6 - pebble * 2)), stone);
    return c * (0.85 + 0.15 * fine);
}

// Blue sky with soft clouds, repeating.
Color sky(double u, double v) {
    const int period = 4;
    const double n = fbm(u * period, v * period, 6, 211, period, 0.55);
    const double cloud = smoothstep(-0.05, 0.45, n);
    const Color blue =
        mix(rgb(78, 140, 214), rgb(112, 170, 230), 0.5 + 0.5 * fbm(u * 2, v * 2, 2, 213, 2));
    const Color white = mix(rgb(214, 224, 236), rgb(250, 252, 255), smoothstep(0.2, 0.6, n));
    return mix(blue, white, cloud * 0.9);
}

// Creature skin. u in [0, 0.88] runs from tail tip to neck end, u >= 0.9 is the head
// (its own 0..1 along it); v = 0 is the belly, v = 1 the back.
Color creature(double u, double v) {
    const double blotch = fbm(u * 14, v * 6, 4, 301);
    const double speck = cellDistance(u * 60, v * 24, 303, 0);
    Color back = mix(rgb(22, 58, 34), rgb(44, 86, 46), 0.5 + 0.5 * blotch);
    back = mix(back, rgb(16, 40, 26), smoothstep(0.25, 0.45, blotch));
    back = mix(back, rgb(96, 130, 70),
               0.6 * (1.0 - smoothstep(0.08, 0.16, speck)) * smoothstep(0.45, 0.6, v));
    const Color belly =
        mix(rgb(168, 182, 128), rgb(196, 204, 150), 0.5 + 0.5 * fbm(u * 20, v * 8, 2, 305));
    const double line = 0.36 + 0.04 * fbm(u * 10, 0.5, 2, 307);
    Color c = mix(belly, back, smoothstep(line - 0.06, line + 0.08, v));
    if (u >= 0.9) {
        const double t = (u - 0.9) / 0.1;
        // Eye on each side, a little above the middle, towards the snout.
        const double eye = std::hypot((t - 0.62) * 2.2, (v - 0.6) * 5.0);
        c = mix(c, rgb(230, 200, 90), 1.0 - smoothstep(0.28, 0.34, eye));
        c = mix(c, rgb(10, 12, 8), 1.0 - smoothstep(0.14, 0.18, eye));
        // Mouth line.
        c = mix(c, rgb(20, 30, 20),
                (1.0 - smoothstep(0.01, 0.025, std::fabs(v - 0.4))) * smoothstep(0.7, 0.8, t));
    }
    return c;
}

struct FishLook {
    Color back, side, belly, fin, marks;
    double bars;   // vertical dark bars
    double spots;  // pale or dark spots
    std::uint32_t seed;
};

// Fish skin: u < 0.1 is the fin strip (fin rays), u from 0.1 (tail) to 1 (snout) the body,
// v = 0 the belly, v = 1 the back.
Color fish(const FishLook& look, double u, double v) {
    if (u < 0.1) {
        const double rays = 0.5 + 0.5 * std::cos(v * 70.0);
        return mix(look.fin, look.fin * 0.65, rays * 0.6 + 0.2 * fbm(u * 30, v * 10, 2, look.seed));
    }
    const double t = (u - 0.1) / 0.9;
    const double n = fbm(t * 12, v * 6, 3, look.seed + 1);
    Color c = mix(look.belly, look.side, smoothstep(0.18, 0.45, v + 0.05 * n));
    c = mix(c, look.back, smoothstep(0.6, 0.85, v + 0.05 * n));
    const double bar =
        smoothstep(0.55, 0.85, std::sin(t * 38.0 + 2.0 * n)) * smoothstep(0.3, 0.55, v);
    c = mix(c, look.marks, look.bars * bar * (t < 0.82 ? 1.0 : 0.0));
    const double spot = 1.0 - smoothstep(0.12, 0.2, cellDistance(t * 30, v * 12, look.seed + 2, 0));
    c = mix(c, look.marks, look.spots * spot * smoothstep(0.3, 0.5, v));
    // Gill line and eye.
    c = c * (1.0 - 0.35 *
                       (1.0 - smoothstep(0.004, 0.012,
                                         std::fabs(t - 0.8 - 0.05 * (v - 0.5) * (v - 0.5)))) *
                       smoothstep(0.2, 0.35, v) * (1.0 - smoothstep(0.75, 0.85, v)));
    const double eye = std::hypot((t - 0.91) * 9.0, (v - 0.62) * 5.0);
    c = mix(c, rgb(235, 225, 190), 1.0 - smoothstep(0.33, 0.4, eye));
    c = mix(c, rgb(8, 8, 10), 1.0 - smoothstep(0.18, 0.24, eye));
    return c;
}

// Duck: body on the left half (u from tail to breast, v belly to back), head and neck at
// top right (u from neck base to crown front), beak at bottom right.
Color duck(double u, double v) {
    if (u < 0.5) {
        const double t = u / 0.5;
        const double scallop = std::sin(t * 90.0 + std::sin(v * 40.0) * 2.0) * std::sin(v * 60.0);
        const double n = fbm(t * 10, v * 10, 3, 401);
        Color brown = mix(rgb(112, 78, 46), rgb(150, 108, 66), 0.5 + 0.5 * n);
        brown = mix(brown, rgb(70, 48, 30), smoothstep(0.3, 0.9, scallop) * 0.7);
        // Wing with a blue speculum edged in white.
        const double wing = smoothstep(0.5, 0.56, v) * (1.0 - smoothstep(0.8, 0.86, v)) *
                            smoothstep(0.15, 0.2, t) * (1.0 - smoothstep(0.68, 0.74, t));
        brown = mix(brown, rgb(88, 60, 36), wing * 0.6);
        const double speculum = std::fabs(v - 0.58);
        brown = mix(brown, rgb(245, 245, 240), (1.0 - smoothstep(0.03, 0.035, speculum)) * wing);
        brown = mix(brown, rgb(52, 70, 170), (1.0 - smoothstep(0.018, 0.023, speculum)) * wing);
        const Color white = mix(rgb(226, 222, 212), rgb(250, 248, 242), 0.5 + 0.5 * n);
        // White breast and belly, white tail feathers.
        const double whiteness =
            std::max(1.0 - smoothstep(0.36, 0.46, v + 0.08 * n),
                     smoothstep(0.78, 0.86, t) * (1.0 - smoothstep(0.5, 0.62, v)));
        Color c = mix(brown, white, std::max(whiteness, (1.0 - smoothstep(0.06, 0.1, t)) * 0.9));
        return c;
    }
    if (v >= 0.5) {
        const double t = (u - 0.5) / 0.5, w = (v - 0.5) / 0.5;
        const double n = fbm(t * 12, w * 12, 3, 403);
        Color c = mix(rgb(98, 68, 40), rgb(132, 94, 58), 0.5 + 0.5 * n);
        c = mix(c, rgb(62, 42, 26), smoothstep(0.7, 0.85, w));            // dark crown
        c = mix(c, rgb(240, 238, 230), 1.0 - smoothstep(0.12, 0.16, t));  // white neck ring
        c = mix(c, rgb(60, 40, 24),
                (1.0 - smoothstep(0.02, 0.04, std::fabs(w - 0.62 + 0.3 * (t - 0.7)))) *
                    smoothstep(0.5, 0.6, t));  // eye stripe
        const double eye = std::hypot((t - 0.74) * 8.0, (w - 0.64) * 9.0);
        c = mix(c, rgb(250, 250, 250), 1.0 - smoothstep(0.38, 0.45, eye));
        c = mix(c, rgb(6, 6, 6), 1.0 - smoothstep(0.26, 0.32, eye));
        return c;
    }
    const double t = (u - 0.5) / 0.5;
    Color c = mix(rgb(226, 140, 34), rgb(244, 176, 54), 0.5 + 0.5 * fbm(t * 8, v * 8, 2, 405));
    return mix(c, rgb(50, 36, 24), smoothstep(0.82, 0.9, t));  // the nail at the tip
}

// An SD card filling the square: dark body, cut corner, gold contacts, a label with text.
Image sdCard() {
    Image img = paint(256, 256, [](double u, double v) {
        const double x = u, y = v;
        Color c = mix(rgb(26, 30, 44), rgb(38, 44, 62), 0.5 + 0.5 * fbm(u * 6, v * 6, 3, 501));
        if (x > 0.8 && y > 0.8 && (x - 0.8) + (y - 0.8) > 0.2)
            c = rgb(70, 120, 118);  // the cut corner
        // Gold contacts along the top edge.
        for (int k = 0; k < 8; ++k) {
            const double cx = 0.12 + k * 0.085;
            if (std::fabs(x - cx) < 0.027 && y > 0.8 && y < 0.94 && cx < 0.76)
                c = rgb(212, 172, 70);
        }
        // Label: a red band and a white field.
        if (x > 0.08 && x < 0.92 && y > 0.1 && y < 0.72) c = rgb(236, 236, 232);
        if (x > 0.08 && x < 0.92 && y > 0.1 && y < 0.28) c = rgb(196, 40, 40);
        // Write-protect switch on the left edge.
        if (x < 0.05 && y > 0.45 && y < 0.6) c = rgb(230, 230, 230);
        return c;
    });
    drawText(img, 48, 142, "SD", 84, rgb(30, 34, 52), true);
    drawText(img, 58, 218, "8 GB", 36, rgb(250, 250, 250), true);
    return img;
}

}  // namespace

bool writeTextures(const std::string& resources) {
    const FishLook perch{rgb(58, 84, 40),
                         rgb(150, 160, 82),
                         rgb(232, 228, 204),
                         rgb(214, 96, 44),
                         rgb(40, 52, 26),
                         0.85,
                         0.0,
                         601};
    const FishLook yellow{rgb(214, 120, 28),
                          rgb(246, 204, 48),
                          rgb(250, 240, 200),
                          rgb(244, 170, 50),
                          rgb(150, 70, 20),
                          0.0,
                          0.55,
                          611};
    const FishLook grey{rgb(62, 74, 66),
                        rgb(132, 142, 130),
                        rgb(214, 218, 206),
                        rgb(120, 126, 112),
                        rgb(200, 206, 170),
                        0.0,
                        0.7,
                        621};
    return saveJpeg(paint(512, 512, moss), gameFile(resources, paths::mossTexture)) &&
           saveJpeg(paint(512, 512, sky), gameFile(resources, paths::skyTexture)) &&
           saveJpeg(paint(512, 512, creature),
                    gameFile(resources, paths::morvieTexture)) &&
           saveJpeg(paint(256, 256, [&](double u, double v) { return fish(perch, u, v); }),
                    gameFile(resources, paths::fishTexture)) &&
           savePng(paint(256, 256, [&](double u, double v) { return fish(yellow, u, v); }),
                   gameFile(resources, paths::yellowFishTexture)) &&
           saveJpeg(paint(256, 256, [&](double u, double v) { return fish(grey, u, v); }),
                    gameFile(resources, paths::greyFishTexture)) &&
           savePng(paint(512, 512, duck), gameFile(resources, paths::duckTexture)) &&
           saveJpeg(sdCard(), gameFile(resources, paths::sdCardTexture));
}

}  // namespace tarn::assets
