// The screenshot shows the panel's box at the opacity the settings give it:
// read the picture back and look at a pixel inside the box and one far
// from anything drawn.
#include <cairo.h>

#include <cstdint>
#include <filesystem>

#include "desk.h"
#include "story.h"

namespace {

struct Pixel {
    int r, g, b;
};

Pixel PixelAt(const std::string& path, int x, int y) {
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    EXPECT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), 1280);
    EXPECT_EQ(cairo_image_surface_get_height(image), 720);
    const unsigned char* data = cairo_image_surface_get_data(image);
    uint32_t word = *reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(image) + x * 4);
    cairo_surface_destroy(image);
    return {static_cast<int>((word >> 16) & 0xFF), static_cast<int>((word >> 8) & 0xFF), static_cast<int>(word & 0xFF)};
}

void ExpectNear(Pixel seen, Pixel wanted, const char* where) {
    EXPECT_NEAR(seen.r, wanted.r, 2) << where;
    EXPECT_NEAR(seen.g, wanted.g, 2) << where;
    EXPECT_NEAR(seen.b, wanted.b, 2) << where;
}

class Screenshot : public Story {};

// The background is (0.36, 0.45, 0.50), about (92, 115, 128); black at
// opacity a leaves (1 - a/255) of it.
TEST_F(Screenshot, ThePanelBoxDarkensTheBackgroundByItsOpacity) {
    const struct {
        int opacity;
        Pixel box;
    } cases[] = {{255, {0, 0, 0}}, {128, {46, 57, 64}}, {0, {92, 115, 128}}};
    for (const auto& c : cases) {
        sim::Reset();
        sim::UseFreshWorkingDirectory();
        StartPlugin("[gui]\ngui_position_x_0=0.5\ngui_position_y_0=0.5\nbackground_opacity=" +
                    std::to_string(c.opacity) + "\n");
        sim::AddTrain("metrotrain", {0.0f, 0.0f, 0.0f});
        sim::PlacePlayer({-2.0f, 3.25f, 0.5f});
        sim::RunFrames(40);
        sim::TapKey(vk::F);
        sim::RunFrame();
        ASSERT_EQ(sim::BoxesDrawn().size(), 1u) << "the panel's box";
        std::string path = (std::filesystem::current_path() / "shot.png").string();
        ASSERT_TRUE(WriteScreenshot(path, sim::TextsDrawn(), sim::BoxesDrawn()));
        // The box spans 0.44 to 0.56 of each side: pixels 563-716 across,
        // 317-403 down; its text stays left of 700 and above 395.
        ExpectNear(PixelAt(path, 710, 400), c.box, "inside the box, clear of its text");
        ExpectNear(PixelAt(path, 100, 600), {92, 115, 128}, "an empty spot");
        sim::Unload();
    }
}

}  // namespace
