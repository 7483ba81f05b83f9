// The fixed views of docs/gallery/, rendered again through the real frame, must still show
// what their committed pictures show: a speed change that drops an object, a shadow or a
// pass fails here, while a pixel's worth of moved edge does not.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <IL/il.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/globals.h"
#include "game_harness.h"
#include "support/gl_context.h"
#include "support/lake_game.h"

namespace {

using namespace tarn;

constexpr int width = 800;
constexpr int height = 600;
// The picture is judged in blocks of 16 by 16 pixels, by the mean of each pixel's largest
// channel difference. A missing fish or duck, or the floor lit where it was shaded, moves
// whole blocks by far more than this; an edge shifted by a pixel or two moves a block by a
// few levels, and dithering by less.
constexpr int blockSize = 16;
constexpr double blockTolerance = 12.0;

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // bottom row first, as GL reads
};

Picture loadPicture(const std::string& path) {
    ilInit();
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    ILuint id = 0;
    ilGenImages(1, &id);
    ilBindImage(id);
    Picture p;
    if (ilLoadImage(path.c_str()) && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        p.width = ilGetInteger(IL_IMAGE_WIDTH);
        p.height = ilGetInteger(IL_IMAGE_HEIGHT);
        p.rgb.assign(ilGetData(), ilGetData() + size_t(p.width) * p.height * 3);
    }
    ilDeleteImages(1, &id);
    ilDisable(IL_ORIGIN_SET);
    return p;
}

struct Difference {
    int blocksOverTolerance = 0;
    double worstBlock = 0.0;  // mean difference of the most changed block
};

Difference compare(const Picture& a, const Picture& b) {
    Difference result;
    for (int by = 0; by < a.height; by += blockSize) {
        for (int bx = 0; bx < a.width; bx += blockSize) {
            double sum = 0.0;
            int count = 0;
            for (int y = by; y < std::min(by + blockSize, a.height); ++y) {
                for (int x = bx; x < std::min(bx + blockSize, a.width); ++x) {
                    const size_t at = (size_t(y) * a.width + x) * 3;
                    int largest = 0;
                    for (int c = 0; c < 3; ++c)
                        largest = std::max(largest, std::abs(int(a.rgb[at + c]) - int(b.rgb[at + c])));
                    sum += largest;
                    ++count;
                }
            }
            const double mean = sum / count;
            result.worstBlock = std::max(result.worstBlock, mean);
            if (mean > blockTolerance) ++result.blocksOverTolerance;
        }
    }
    return result;
}

// A person who sees the test fail wants both pictures: the new one goes beside the build's
// other screenshots.
void keepForPeople(const std::string& name, const Picture& picture) {
    test::WindowImage image;
    image.width = picture.width;
    image.height = picture.height;
    image.rgb.resize(picture.rgb.size());
    const size_t stride = size_t(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y) {
        std::copy_n(&picture.rgb[size_t(y) * stride], stride,
                    &image.rgb[size_t(picture.height - 1 - y) * stride]);
    }
    image.savePng(test::screenshotPath("gallery-" + name + ".png"));
}

TEST(Gallery, EveryFixedViewStillShowsWhatItsCommittedPictureShows) {
    ASSERT_EQ(chdir(TARNHOLLOW_RUN_DIR), 0);
    app::window = test::ensureGLContext(width, height);
    glfwGetFramebufferSize(app::window, &app::screenWidth, &app::screenHeight);
    ASSERT_EQ(app::screenWidth, width);
    ASSERT_EQ(app::screenHeight, height);
    app::aspectRatio = float(width) / float(height);

    for (const harness::View& view : harness::galleryViews()) {
        SCOPED_TRACE(view.name);
        const Picture committed =
            loadPicture(std::string(TARNHOLLOW_SOURCE_DIR) + "/docs/gallery/" + view.name + ".png");
        ASSERT_EQ(committed.width, width);
        ASSERT_EQ(committed.height, height);

        harness::renderView(view);
        Picture rendered;
        rendered.width = width;
        rendered.height = height;
        rendered.rgb = harness::readBackBuffer(width, height);
        harness::releaseView();

        const Difference difference = compare(committed, rendered);
        std::printf("%-28s worst block %5.1f, blocks over %.0f: %d\n", view.name,
                    difference.worstBlock, blockTolerance, difference.blocksOverTolerance);
        EXPECT_EQ(difference.blocksOverTolerance, 0)
            << "the most changed 16x16 block differs by " << difference.worstBlock
            << " levels on average; the new picture is in the build's screenshots folder";
        if (difference.blocksOverTolerance > 0) keepForPeople(view.name, rendered);
    }
}

}  // namespace
