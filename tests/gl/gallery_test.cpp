// The fixed views of docs/gallery/, rendered again through the real frame, must still show
// what their committed pictures show: a speed change that drops an object, a shadow or a
// pass fails here, while a pixel's worth of moved edge does not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "game_harness.h"
#include "support/gl_context.h"
#include "support/lake_game.h"

namespace {

using namespace tarn;

// The picture is judged in blocks of 16 by 16 pixels, by the mean of each pixel's largest
// channel difference. A missing fish or duck, or the floor lit where it was shaded, moves
// whole blocks by far more than this; an edge shifted by a pixel or two moves a block by a
// few levels, and dithering by less.
constexpr int blockSize = 16;
constexpr double blockTolerance = 12.0;

// The blocks over the tolerance, and the mean difference of the most changed block.
std::pair<int, double> compare(const test::WindowImage& a, const test::WindowImage& b) {
    int over = 0;
    double worst = 0.0;
    for (int by = 0; by < a.height; by += blockSize) {
        for (int bx = 0; bx < a.width; bx += blockSize) {
            double sum = 0.0;
            int count = 0;
            for (int y = by; y < std::min(by + blockSize, a.height); ++y) {
                for (int x = bx; x < std::min(bx + blockSize, a.width); ++x, ++count) {
                    const size_t at = (size_t(y) * a.width + x) * 3;
                    int largest = 0;
                    for (int c = 0; c < 3; ++c)
                        largest = std::max(largest, std::abs(int(a.rgb[at + c]) - int(b.rgb[at + c])));
                    sum += largest;
                }
            }
            worst = std::max(worst, sum / count);
            over += sum / count > blockTolerance;
        }
    }
    return {over, worst};
}

// The view of that name, rendered now.
test::WindowImage render(const std::string& name) {
    for (const harness::View& view : harness::galleryViews()) {
        if (name != view.name) continue;
        harness::renderView(view);
        test::WindowImage image = test::WindowImage::fromBackBuffer(800, 600);
        harness::releaseView();
        return image;
    }
    ADD_FAILURE() << "no gallery view named " << name;
    return {};
}

// Mean brightness step between vertical neighbours over that between horizontal ones, in
// rows [top, bottom) counted from the top. A texture streaked down a slope changes little
// along a column: about 0.2. One that is not: about 1.
double verticalOverHorizontalDetail(const test::WindowImage& image, int top, int bottom) {
    const auto brightness = [&](int x, int y) {
        const std::uint8_t* p = &image.rgb[(size_t(y) * image.width + x) * 3];
        return 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
    };
    double across = 0.0, down = 0.0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x + 1 < image.width; ++x) {
            across += std::abs(brightness(x + 1, y) - brightness(x, y));
            down += std::abs(brightness(x, y + 1) - brightness(x, y));
        }
    }
    return down / across;
}

TEST(Gallery, EveryFixedViewStillShowsWhatItsCommittedPictureShows) {
    ASSERT_EQ(chdir(TARNHOLLOW_RUN_DIR), 0);
    test::ensureGLContext(800, 600);
    for (const harness::View& view : harness::galleryViews()) {
        SCOPED_TRACE(view.name);
        const test::WindowImage committed = test::WindowImage::load(
            std::string(TARNHOLLOW_SOURCE_DIR) + "/docs/gallery/" + view.name + ".png");
        ASSERT_EQ(committed.width, 800);
        ASSERT_EQ(committed.height, 600);

        harness::renderView(view);
        const test::WindowImage rendered = test::WindowImage::fromBackBuffer(800, 600);
        harness::releaseView();

        const auto [over, worst] = compare(committed, rendered);
        std::printf("%-28s worst block %5.1f, blocks over %.0f: %d\n", view.name, worst,
                    blockTolerance, over);
        EXPECT_EQ(over, 0) << "the most changed 16x16 block differs by " << worst
                           << " levels on average; the new picture is in the build's screenshots";
        // A person who sees this fail wants both pictures.
        if (over > 0) rendered.savePng(test::screenshotPath("gallery-" + std::string(view.name) + ".png"));
    }
}

// From two units under the surface, looking level at the bank: the bank shows a rock's
// grain, not moss drawn out down the slope, and over its rim, where the look is too flat to
// pass out through the surface, there is only the lake's fog, not the sky.
TEST(Gallery, AtTheLakesEdgeTheBankIsRockAndThereIsNoSkyPastIt) {
    ASSERT_EQ(chdir(TARNHOLLOW_RUN_DIR), 0);
    test::ensureGLContext(800, 600);
    const test::WindowImage edge = render("lake-edge");
    ASSERT_EQ(edge.rgb.size(), size_t(800) * 600 * 3);

    // Rows 300 to 520 from the top hold the bank alone, under the water surface's edge and
    // over the distance line.
    EXPECT_GT(verticalOverHorizontalDetail(edge, 300, 520), 0.6);
    // Rows 50 to 150 from the top look 16 to 26 degrees up, over the rim.
    const int beyondRim = 800 * 100;
    EXPECT_EQ(edge.count(0, 450, 800, 550, test::isWater), beyondRim);
}

}  // namespace
