#include <cstdio>
#include <string>

#include "app/load_messages.h"
#include "app/palette_init.h"
#include "raster/gif.h"
#include "tool/commands.h"
#include "tool/options.h"
#include "tool/picture_file.h"

namespace {

struct GifOptions {
    std::string file;
    std::string out;
};

}  // namespace

int gif_command(int argc, char** argv)
{
    GifOptions o;
    CLI::App command("Decodes FILE as the viewer decodes globe.gif (\".gif\" is added to a name without a \".\") "
                     "and prints what it keeps: width, kept height (at most half the width), the rows in the file, "
                     "the colours of the table in use and whether the image is interlaced. Exits 1 with the reason "
                     "when the viewer would refuse the file.",
                     "globetool gif");
    prepare_command(command);
    command.add_option("file", o.file, "the GIF file")->required()->type_name("FILE");
    command.add_option("--out", o.out,
                       "also write the kept picture, PNG when FILE ends in .png, else PCX, with the palette the "
                       "viewer would show it in")
        ->type_name("FILE");
    if (const int code = parse_command(command, argc, argv); code >= 0) return code;

    Palette palette;
    build_palette(palette);
    Texture texture;
    GifInfo info;
    if (const Result loaded = loadgif(o.file, texture, palette, info); !loaded.ok()) {
        const std::string message = load_message(DataFile::texture, loaded);
        std::fprintf(stderr, "globetool gif: %s: %s\n", o.file.c_str(),
                     message.empty() ? loaded.why().c_str() : message.c_str());
        return 1;
    }
    std::printf("width %d\nheight %d\nimage_height %d\ncolours %d\ninterlaced %s\n", texture.pic_width,
                texture.pic_height, info.image_height, info.colours, info.interlaced ? "yes" : "no");
    const int printed = finish_output("globetool gif");
    if (printed != 0 || o.out.empty()) return printed;
    const Result written = write_picture(o.out, texture.pic.data(), texture.pic_width, texture.pic_height,
                                         texture.pic_width, palette);
    if (!written.ok()) {
        std::fprintf(stderr, "globetool gif: can't write '%s': %s\n", o.out.c_str(), written.why().c_str());
        return 1;
    }
    return 0;
}
