#include "app/loaders.h"

#include <cstdio>
#include <sys/stat.h>

#include "app/data_files.h"
#include "earth/borders.h"
#include "earth/shore.h"
#include "raster/gif.h"
#include "sky/stars.h"

namespace {

// A file that is there but refused or cut short gets one line on stderr
// first; a missing one only loses what it would have shown. Then the
// loader's own message, if any.
void report(Platform& platform, const std::string& path, const std::string& message, const std::string& reason)
{
    struct stat st {};
    if (!reason.empty() && lstat(path.c_str(), &st) == 0)
        std::fprintf(stderr, "globe: %s: %s\n", path.c_str(), reason.c_str());
    if (!message.empty()) platform.message_box(message, nullptr);
}

}  // namespace

void load_texture(App& app, Platform& platform)
{
    std::string message;
    GifInfo info;
    const std::string path = find_data_file("globe.gif", app.settings);
    const int result = loadgif(path, app.texture, app.palette, info, message);
    app.view.texture_loaded = result >= 0 ? 1 : 0;
    report(platform, path, message, info.reason);
}

void load_map_data(App& app, Platform& platform)
{
    std::string reason;
    const std::string shore = find_data_file(app.settings.shore_filename, app.settings);
    std::string message = loadshore(shore, app.shore, &reason);
    report(platform, shore, message, reason);
    const std::string bords = find_data_file(app.settings.bord_filename, app.settings);
    message = loadbords(bords, app.borders, &reason);
    report(platform, bords, message, reason);
}

void load_star_catalogue(App& app, Platform& platform)
{
    std::string reason;
    const std::string path = find_data_file("stars.dat", app.settings);
    const std::string message = loadstars(path, app.stars, &reason);
    report(platform, path, message, reason);
}
