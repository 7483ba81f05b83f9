// The fixed views of docs/gallery/, rendered again through the real frame, must still show
// what their committed pictures show: a speed change that drops an object, a shadow or a
// pass fails here, while a pixel's worth of moved edge does not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

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

}  // namespace
