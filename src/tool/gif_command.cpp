#include <cstdio>
#include <string>

#include "app/palette_init.h"
#include "app/screenshot.h"
#include "raster/gif.h"
#include "tool/commands.h"

namespace {

const char help[] =
    "usage: globetool gif FILE [--out FILE.pcx]\n"
    "Decodes FILE as the viewer decodes globe.gif (\".gif\" is added to a name\n"
    "without a \".\") and prints what it keeps: width, kept height (at most half\n"
    "the width), the rows in the file, the colours of the table in use and\n"
    "whether the image is interlaced. Exits 1 with the reason when the viewer\n"
    "would refuse the file.\n"
    "  --out FILE.pcx   also write the kept picture as PCX, with the palette the\n"
    "                   viewer would show it in\n";

struct GifOptions {
    std::string file;
    std::string out;
};

// 1 parsed, 0 help shown, -1 bad usage (message printed).
int parse(int argc, char** argv, GifOptions& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(help, stdout);
            return 0;
        }
        if (a == "--out" && i + 1 < argc) {
            o.out = argv[++i];
        } else if (!a.starts_with("-") && o.file.empty()) {
            o.file = a;
        } else {
            std::fprintf(stderr, "globetool gif: unexpected argument '%s'\n%s", a.c_str(), help);
            return -1;
        }
    }
    if (o.file.empty()) {
        std::fputs(help, stderr);
        return -1;
    }
    return 1;
}

}  // namespace

int gif_command(int argc, char** argv)
{
    GifOptions o;
    const int parsed = parse(argc, argv, o);
    if (parsed <= 0) return parsed == 0 ? 0 : 2;

    Palette palette;
    build_palette(palette);
    Texture texture;
    GifInfo info;
    std::string message;
    if (loadgif(o.file, texture, palette, info, message) != 0) {
        std::fprintf(stderr, "globetool gif: %s: %s\n", o.file.c_str(), message.empty() ? info.reason.c_str() : message.c_str());
        return 1;
    }
    std::printf("width %d\nheight %d\nimage_height %d\ncolours %d\ninterlaced %s\n", texture.pic_width,
                texture.pic_height, info.image_height, info.colours, info.interlaced ? "yes" : "no");
    if (!o.out.empty() && write_pcx(o.out.c_str(), texture.pic.data(), texture.pic_width, texture.pic_height,
                                    texture.pic_width, palette) != 0) {
        std::fprintf(stderr, "globetool gif: can't write '%s'\n", o.out.c_str());
        return 1;
    }
    return 0;
}
