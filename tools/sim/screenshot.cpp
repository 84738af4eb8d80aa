// A frame as the player's screen would show it: every box and text line
// the natives drew, at their screen fractions, over a plain background;
// the whole screen, or the panel close up.
#include <cairo.h>

#include <algorithm>

#include "desk.h"
#include "overlay/colour_runs.h"
#include "screen.h"

namespace {

// Text scale 1.0 is taken as a font a eighteenth of the screen's height
// (40 pixels on 720 lines).
constexpr double PixelsPerScale = ScreenHeight / 18.0;

double Opacity(int alpha) { return std::clamp(alpha, 0, 255) / 255.0; }

void SetMarkerColour(cairo_t* cr, char marker, double alpha) {
    if (marker == 'g')
        cairo_set_source_rgba(cr, 0.45, 0.80, 0.45, alpha);
    else if (marker == 'r')
        cairo_set_source_rgba(cr, 0.88, 0.20, 0.20, alpha);
    else
        cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, alpha);
}

// One line of text from its left end, the colour changing at each marker;
// a one-pixel shadow under it, as the plug-in asks for.
void DrawLine(cairo_t* cr, const std::string& line, double x, double baseline, double alpha) {
    ForEachColourRun(line, [&](char marker, const std::string& run) {
        cairo_text_extents_t extents;
        cairo_text_extents(cr, run.c_str(), &extents);
        cairo_set_source_rgba(cr, 0, 0, 0, alpha * 0.8);
        cairo_move_to(cr, x + 1, baseline + 1);
        cairo_show_text(cr, run.c_str());
        SetMarkerColour(cr, marker, alpha);
        cairo_move_to(cr, x, baseline);
        cairo_show_text(cr, run.c_str());
        x += extents.x_advance;
    });
}

void DrawText(cairo_t* cr, const sim::DrawnText& text) {
    cairo_set_font_size(cr, text.scale * PixelsPerScale);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    double x = text.x * ScreenWidth;
    double baseline = text.y * ScreenHeight + font.ascent;
    size_t start = 0;
    while (start <= text.text.size()) {
        size_t end = text.text.find('\n', start);
        if (end == std::string::npos) end = text.text.size();
        DrawLine(cr, text.text.substr(start, end - start), x, baseline, Opacity(text.alpha));
        baseline += font.height;
        start = end + 1;
    }
}

}  // namespace

void DrawScreen(cairo_t* cr, const std::vector<sim::DrawnText>& texts, const std::vector<sim::DrawnBox>& boxes) {
    cairo_set_source_rgb(cr, ScreenBackground[0], ScreenBackground[1], ScreenBackground[2]);
    cairo_paint(cr);
    // Boxes are centred on their position and given with their full size.
    for (const sim::DrawnBox& box : boxes) {
        cairo_set_source_rgba(cr, 0, 0, 0, Opacity(box.alpha));
        cairo_rectangle(cr, (box.x - box.width / 2) * ScreenWidth, (box.y - box.height / 2) * ScreenHeight,
                        box.width * ScreenWidth, box.height * ScreenHeight);
        cairo_fill(cr);
    }
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    for (const sim::DrawnText& text : texts) DrawText(cr, text);
}

bool WriteScreenshot(const std::string& path, const std::vector<sim::DrawnText>& texts,
                     const std::vector<sim::DrawnBox>& boxes) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, ScreenWidth, ScreenHeight);
    cairo_t* cr = cairo_create(surface);
    DrawScreen(cr, texts, boxes);
    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

// Twice the size, so the text is as sharp as on a 4K screen.
bool WritePanelCloseUp(const std::string& path, const std::vector<sim::DrawnText>& texts,
                       const std::vector<sim::DrawnBox>& boxes, double panelX, double panelY) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, CloseUpWidth, CloseUpHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, 2, 2);
    cairo_translate(cr, CloseUpWidth / 4.0 - panelX * ScreenWidth, CloseUpHeight / 4.0 - panelY * ScreenHeight);
    DrawScreen(cr, texts, boxes);
    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}
