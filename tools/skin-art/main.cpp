// Draws the four pictures of the updater's skin with cairo and writes them as 32-bit PNG
// files with alpha: skin-art <output folder>.
//
// The sizes and cells are fixed by the skin description; the look is a light, flat
// notification card with a blue accent.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

struct Surface {
    explicit Surface(int w, int h) : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)), cr(cairo_create(surface)) {}
    ~Surface() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    bool Write(const std::string& path) {
        cairo_surface_flush(surface);
        return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    }
    cairo_surface_t* surface;
    cairo_t* cr;
};

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// 16 x 16: a blue rounded square with a white downward arrow over a tray line.
bool DrawLogo(const std::string& path) {
    Surface s(16, 16);
    cairo_t* cr = s.cr;
    RoundedRect(cr, 0.5, 0.5, 15, 15, 3.5);
    cairo_set_source_rgb(cr, 14 / 255.0, 151 / 255.0, 230 / 255.0);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, 8, 3.5);
    cairo_line_to(cr, 8, 10);
    cairo_move_to(cr, 5, 7.2);
    cairo_line_to(cr, 8, 10.2);
    cairo_line_to(cr, 11, 7.2);
    cairo_stroke(cr);
    cairo_move_to(cr, 4, 12.6);
    cairo_line_to(cr, 12, 12.6);
    cairo_stroke(cr);
    return s.Write(path);
}

// 23 x 11: two 11 x 11 crosses, grey at x 0 (normal) and dark on a soft disc at x 12 (highlighted).
bool DrawClose(const std::string& path) {
    Surface s(23, 11);
    cairo_t* cr = s.cr;
    auto cross = [&](double ox, double r, double g, double b) {
        cairo_set_source_rgb(cr, r, g, b);
        cairo_set_line_width(cr, 1.4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, ox + 3, 3);
        cairo_line_to(cr, ox + 8, 8);
        cairo_move_to(cr, ox + 8, 3);
        cairo_line_to(cr, ox + 3, 8);
        cairo_stroke(cr);
    };
    cross(0, 0.55, 0.57, 0.60);
    cairo_arc(cr, 12 + 5.5, 5.5, 5.5, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.85, 0.20, 0.18, 0.95);
    cairo_fill(cr);
    cross(12, 1, 1, 1);
    return s.Write(path);
}

// 21 x 15: the card frame for nine-grid stretching with 6-pixel margins: a faint shadow
// in the outer pixel, a grey hairline border and a white body with rounded corners.
bool DrawBox(const std::string& path) {
    Surface s(21, 15);
    cairo_t* cr = s.cr;
    RoundedRect(cr, 0, 0, 21, 15, 5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.10);
    cairo_fill(cr);
    RoundedRect(cr, 1, 1, 19, 13, 4);
    cairo_set_source_rgb(cr, 0.78, 0.80, 0.83);
    cairo_fill(cr);
    RoundedRect(cr, 2, 2, 17, 11, 3);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    // A thin accent line along the top edge of the body.
    cairo_rectangle(cr, 4, 2, 13, 1);
    cairo_set_source_rgba(cr, 14 / 255.0, 151 / 255.0, 230 / 255.0, 0.55);
    cairo_fill(cr);
    return s.Write(path);
}

// 306 x 29: three 102 x 29 cells: normal (white), over (light blue), pressed (blue-grey).
bool DrawMenuItem(const std::string& path) {
    Surface s(306, 29);
    cairo_t* cr = s.cr;
    const double fills[3][3] = {{1, 1, 1}, {0.89, 0.95, 0.99}, {0.80, 0.89, 0.97}};
    for (int cell = 0; cell < 3; ++cell) {
        cairo_rectangle(cr, cell * 102, 0, 102, 29);
        cairo_set_source_rgb(cr, fills[cell][0], fills[cell][1], fills[cell][2]);
        cairo_fill(cr);
        if (cell > 0) {
            RoundedRect(cr, cell * 102 + 2.5, 2.5, 97, 24, 2);
            cairo_set_source_rgba(cr, 14 / 255.0, 151 / 255.0, 230 / 255.0, cell == 1 ? 0.35 : 0.6);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
    }
    return s.Write(path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin-art <output folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = DrawLogo(dir + "/logo.png") && DrawClose(dir + "/close.png") && DrawBox(dir + "/box_9.png") &&
              DrawMenuItem(dir + "/menu_item.png");
    if (!ok) std::fprintf(stderr, "skin-art: could not write the pictures into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
