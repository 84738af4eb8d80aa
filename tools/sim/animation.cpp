// The demo drive as a looping GIF small enough for a README: the panel
// close up, the whole screen in miniature (boxes only, so F5's moves
// show), and what the player just pressed.
#include <fcntl.h>
#include <unistd.h>
#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "desk.h"
#include "screen.h"

namespace {

constexpr double MiniScale = 256.0 / ScreenWidth;
constexpr double MiniLeft = 324, MiniTop = 14;

// One frame as 0x00RRGGBB pixels.
std::vector<uint32_t> Render(const AnimationFrame& frame) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, AnimationWidth, AnimationHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.12, 0.13, 0.15);
    cairo_paint(cr);

    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 300, AnimationHeight);
    cairo_clip(cr);
    cairo_translate(cr, 150 - frame.panelX * ScreenWidth, AnimationHeight / 2.0 - frame.panelY * ScreenHeight);
    DrawScreen(cr, frame.texts, frame.boxes);
    cairo_restore(cr);

    cairo_save(cr);
    cairo_translate(cr, MiniLeft, MiniTop);
    cairo_scale(cr, MiniScale, MiniScale);
    cairo_rectangle(cr, 0, 0, ScreenWidth, ScreenHeight);
    cairo_clip(cr);
    DrawScreen(cr, {}, frame.boxes);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 0.7, 0.7, 0.7);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, MiniLeft - 0.5, MiniTop - 0.5, ScreenWidth * MiniScale + 1, ScreenHeight * MiniScale + 1);
    cairo_stroke(cr);

    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 15);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_move_to(cr, MiniLeft, MiniTop + ScreenHeight * MiniScale + 26);
    cairo_show_text(cr, frame.caption.c_str());
    cairo_destroy(cr);

    cairo_surface_flush(surface);
    std::vector<uint32_t> pixels(static_cast<size_t>(AnimationWidth) * AnimationHeight);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < AnimationHeight; ++y)
        std::memcpy(&pixels[static_cast<size_t>(y) * AnimationWidth], data + y * stride, AnimationWidth * 4);
    cairo_surface_destroy(surface);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

// One palette for every frame, so a frame can be written as only the
// rectangle that changed: giflib's median cut over a sample of frames.
bool MakePalette(const std::vector<std::vector<uint32_t>>& frames, GifColorType palette[256]) {
    std::vector<GifByteType> r, g, b;
    const size_t step = std::max<size_t>(1, frames.size() / 24);
    for (size_t i = 0; i < frames.size(); i += step)
        for (uint32_t p : frames[i]) {
            r.push_back(static_cast<GifByteType>(p >> 16));
            g.push_back(static_cast<GifByteType>(p >> 8));
            b.push_back(static_cast<GifByteType>(p));
        }
    std::vector<GifByteType> ignored(r.size());
    int size = 256;
    return GifQuantizeBuffer(AnimationWidth, static_cast<unsigned>(r.size() / AnimationWidth), &size, r.data(),
                             g.data(), b.data(), ignored.data(), palette) == GIF_OK;
}

struct Indexer {
    const GifColorType* palette;
    std::unordered_map<uint32_t, GifByteType> nearest;
    GifByteType operator()(uint32_t p) {
        auto found = nearest.find(p);
        if (found != nearest.end()) return found->second;
        int best = 0;
        long bestDistance = -1;
        for (int i = 0; i < 256; ++i) {
            long dr = static_cast<long>(p >> 16 & 0xFF) - palette[i].Red;
            long dg = static_cast<long>(p >> 8 & 0xFF) - palette[i].Green;
            long db = static_cast<long>(p & 0xFF) - palette[i].Blue;
            long distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
        }
        return nearest[p] = static_cast<GifByteType>(best);
    }
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

Rect Changed(const std::vector<GifByteType>& before, const std::vector<GifByteType>& after) {
    int left = AnimationWidth, right = -1, top = AnimationHeight, bottom = -1;
    for (int y = 0; y < AnimationHeight; ++y)
        for (int x = 0; x < AnimationWidth; ++x) {
            size_t i = static_cast<size_t>(y) * AnimationWidth + x;
            if (before[i] == after[i]) continue;
            left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (right < 0) return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

bool PutFrame(GifFileType* gif, const std::vector<GifByteType>& image, Rect at, int centiseconds) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = std::max(2, centiseconds);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_OK) return false;
    if (EGifPutImageDesc(gif, at.left, at.top, at.width, at.height, false, nullptr) != GIF_OK) return false;
    std::vector<GifByteType> line(static_cast<size_t>(at.width));
    for (int y = at.top; y < at.top + at.height; ++y) {
        std::copy_n(&image[static_cast<size_t>(y) * AnimationWidth + at.left], at.width, line.begin());
        if (EGifPutLine(gif, line.data(), at.width) != GIF_OK) return false;
    }
    return true;
}

}  // namespace

bool WriteAnimation(const std::string& path, const std::vector<AnimationFrame>& frames, double speedUp) {
    if (frames.empty()) return false;
    std::vector<std::vector<uint32_t>> rendered;
    for (const AnimationFrame& frame : frames) rendered.push_back(Render(frame));
    GifColorType palette[256] = {};
    if (!MakePalette(rendered, palette)) return false;
    Indexer index{palette, {}};
    std::vector<std::vector<GifByteType>> images;
    for (const std::vector<uint32_t>& pixels : rendered) {
        std::vector<GifByteType> image(pixels.size());
        std::transform(pixels.begin(), pixels.end(), image.begin(), std::ref(index));
        images.push_back(std::move(image));
    }

    int error = 0;
    // giflib would create the file readable by its owner alone.
    int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    GifFileType* gif = file < 0 ? nullptr : EGifOpenFileHandle(file, &error);
    if (!gif) {
        if (file >= 0) close(file);
        return false;
    }
    ColorMapObject* map = GifMakeMapObject(256, palette);
    EGifSetGifVersion(gif, true);
    bool ok = map && EGifPutScreenDesc(gif, AnimationWidth, AnimationHeight, 8, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    // Loop for ever.
    const GifByteType loop[3] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK && EGifPutExtensionBlock(gif, 3, loop) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;

    // A frame the same as the one before only lengthens it.
    size_t shown = 0;
    Rect at{0, 0, AnimationWidth, AnimationHeight};
    for (size_t next = 1; ok && next <= images.size(); ++next) {
        Rect change = next < images.size() ? Changed(images[shown], images[next]) : Rect{};
        if (next < images.size() && change.width == 0) continue;
        double seconds = (next < images.size() ? frames[next].seconds : frames[shown].seconds + 1.5 * speedUp) -
                         frames[shown].seconds;
        ok = PutFrame(gif, images[shown], at, static_cast<int>(std::lround(seconds / speedUp * 100)));
        shown = next;
        at = change;
    }
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}
