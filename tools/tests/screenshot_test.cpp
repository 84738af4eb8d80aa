// The screenshot shows the panel's box at the opacity the settings give it,
// and the shipped settings put the whole panel on the screen at each of
// their four positions: read the picture back and look at its pixels.
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <filesystem>

#include "desk.h"
#include "story.h"

namespace {

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel&) const = default;
};

constexpr Pixel Background = {92, 115, 128};  // (0.36, 0.45, 0.50)
constexpr Pixel Black = {0, 0, 0};

struct Picture {
    cairo_surface_t* image;
    explicit Picture(const std::string& path, int width = ScreenWidth, int height = ScreenHeight)
        : image(cairo_image_surface_create_from_png(path.c_str())) {
        EXPECT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
        EXPECT_EQ(cairo_image_surface_get_width(image), width);
        if (height >= 0) EXPECT_EQ(cairo_image_surface_get_height(image), height);
    }
    int Height() const { return cairo_image_surface_get_height(image); }
    ~Picture() { cairo_surface_destroy(image); }
    Pixel At(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(image);
        uint32_t word = *reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(image) + x * 4);
        return {static_cast<int>((word >> 16) & 0xFF), static_cast<int>((word >> 8) & 0xFF),
                static_cast<int>(word & 0xFF)};
    }
};

void ExpectNear(Pixel seen, Pixel wanted, const char* where) {
    EXPECT_NEAR(seen.r, wanted.r, 2) << where;
    EXPECT_NEAR(seen.g, wanted.g, 2) << where;
    EXPECT_NEAR(seen.b, wanted.b, 2) << where;
}

class Screenshot : public Story {
protected:
    void BoardMetroTrain(const std::string& settings) {
        StartPlugin(settings);
        sim::AddTrain("metrotrain", {0.0f, 0.0f, 0.0f});
        sim::PlacePlayer({-2.0f, 3.25f, 0.5f});
        sim::RunFrames(40);
        sim::TapKey(vk::F);
        sim::RunFrame();
    }
    std::string Shoot() {
        std::string path = Path("shot.png");
        EXPECT_TRUE(WriteScreenshot(path, sim::TextsDrawn(), sim::BoxesDrawn()));
        return path;
    }
    static std::string Path(const char* name) { return (std::filesystem::current_path() / name).string(); }
};

// Black at opacity a leaves (1 - a/255) of the background.
TEST_F(Screenshot, ThePanelBoxDarkensTheBackgroundByItsOpacity) {
    const struct {
        int opacity;
        Pixel box;
    } cases[] = {{255, Black}, {128, {46, 57, 64}}, {0, Background}};
    for (const auto& c : cases) {
        sim::Reset();
        sim::UseFreshWorkingDirectory();
        BoardMetroTrain("[gui]\ngui_position_x_0=0.5\ngui_position_y_0=0.5\nbackground_opacity=" +
                        std::to_string(c.opacity) + "\n");
        ASSERT_EQ(sim::BoxesDrawn().size(), 1u) << "the panel's box";
        Picture shot(Shoot());
        // The box spans 0.44 to 0.56 of each side: pixels 845-1075 across,
        // 475-605 down; its text stays left of 1065 and above 595.
        ExpectNear(shot.At(1070, 600), c.box, "inside the box, clear of its text");
        ExpectNear(shot.At(150, 900), Background, "an empty spot");
        // The close-up doubles the box (460x260) about the middle of 560x320.
        ASSERT_TRUE(WritePanelCloseUp(Path("panel.png"), sim::TextsDrawn(), sim::BoxesDrawn(), 0.5, 0.5));
        Picture closeUp(Path("panel.png"), CloseUpWidth, CloseUpHeight);
        ExpectNear(closeUp.At(505, 285), c.box, "inside the close-up's box");
        ExpectNear(closeUp.At(45, 25), Background, "outside the close-up's box");
        sim::Unload();
    }
}

// At each shipped position the box lies inside the frame, its corners are
// solid black, and no text spills over its edges: the rows and columns just
// outside the box are background.
TEST_F(Screenshot, TheShippedSettingsShowTheWholePanelAtEachPosition) {
    BoardMetroTrain(DefaultSettingsText);
    for (int slot = 0; slot < 4; ++slot) {
        if (slot > 0) {
            sim::AdvanceClock(600);
            sim::TapKey(vk::F5);
            sim::RunFrame();
        }
        ASSERT_EQ(sim::BoxesDrawn().size(), 1u) << "position " << slot;
        const sim::DrawnBox& box = sim::BoxesDrawn()[0];
        // The first pixels wholly inside the box and the first wholly
        // outside it; edges between pixels are blended.
        const double left = (box.x - box.width / 2) * ScreenWidth, right = (box.x + box.width / 2) * ScreenWidth;
        const double top = (box.y - box.height / 2) * ScreenHeight, bottom = (box.y + box.height / 2) * ScreenHeight;
        const int inLeft = static_cast<int>(std::ceil(left)), inRight = static_cast<int>(std::floor(right)) - 1;
        const int inTop = static_cast<int>(std::ceil(top)), inBottom = static_cast<int>(std::floor(bottom)) - 1;
        const int outLeft = inLeft - 2, outRight = inRight + 2, outTop = inTop - 2, outBottom = inBottom + 2;
        ASSERT_TRUE(outLeft >= 0 && outTop >= 0 && outRight < ScreenWidth && outBottom < ScreenHeight)
            << "position " << slot << " puts the box at " << left << "," << top << " to " << right << "," << bottom;
        Picture shot(Shoot());
        for (int x : {inLeft, inRight})
            for (int y : {inTop, inBottom}) EXPECT_EQ(shot.At(x, y), Black) << "position " << slot;
        for (int x = outLeft; x <= outRight; ++x) {
            EXPECT_EQ(shot.At(x, outTop), Background) << "position " << slot << " above the box, x " << x;
            EXPECT_EQ(shot.At(x, outBottom), Background) << "position " << slot << " below the box, x " << x;
        }
        for (int y = outTop; y <= outBottom; ++y) {
            EXPECT_EQ(shot.At(outLeft, y), Background) << "position " << slot << " left of the box, y " << y;
            EXPECT_EQ(shot.At(outRight, y), Background) << "position " << slot << " right of the box, y " << y;
        }
    }
}

// The shipped file with a word for a position: no pixel of the console's error
// passes its box (0.79 to 0.99 across, 0.01 to 0.31 down) rightward or below.
TEST_F(Screenshot, TheConsoleBoxHoldsASettingsErrorWhole) {
    std::string settings = DefaultSettingsText;
    BoardMetroTrain(settings.replace(settings.find("gui_position_y_0=0.88"), 21, "gui_position_y_0=bottom"));
    Press(vk::F6);
    Picture shot(Shoot());
    const int left = static_cast<int>(0.79 * ScreenWidth) - 1, right = static_cast<int>(0.99 * ScreenWidth) + 1;
    const int bottom = static_cast<int>(0.31 * ScreenHeight) + 1;
    int spilt = 0;
    for (int y = 0; y < bottom + 60; ++y)
        for (int x = y < bottom ? right : left; x < ScreenWidth; ++x) spilt += shot.At(x, y) == Background ? 0 : 1;
    EXPECT_EQ(spilt, 0) << "pixels outside the console's box: " << sim::ConsoleTextDrawn();
}

// 100 % throttle sits at the top speed: a train at half its top speed is
// drawn on the same row as a throttle of 50 %.
TEST(Chart, TheThrottleSharesTheSpeedAxis) {
    DriveChart chart{"half and half", "km/h", 126.0, {}, {}};
    for (int i = 0; i <= 100; ++i) chart.samples.push_back({i * 0.1, i < 50 ? 0.0 : 63.0, i < 50 ? 50.0 : 0.0, 0});
    const std::string path = (std::filesystem::temp_directory_path() / "velquorin-chart-test.png").string();
    ASSERT_TRUE(WriteChart(path, chart));
    const int width = 1000;
    Picture picture(path, width, -1);
    std::filesystem::remove(path);
    // The first row from the top in a column that has the colour.
    auto rowOf = [&](int x, Pixel colour) {
        for (int y = 0; y < picture.Height(); ++y)
            if (std::abs(picture.At(x, y).r - colour.r) < 8 && std::abs(picture.At(x, y).g - colour.g) < 8 &&
                std::abs(picture.At(x, y).b - colour.b) < 8)
                return y;
        return -1;
    };
    const int throttleRow = rowOf(width / 4, {217, 115, 26}), speedRow = rowOf(width * 3 / 4, {13, 64, 166});
    ASSERT_GT(throttleRow, 0) << "no throttle line";
    ASSERT_GT(speedRow, 0) << "no speed line";
    EXPECT_NEAR(throttleRow, speedRow, 1);
}

}  // namespace
