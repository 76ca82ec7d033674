#include "app/loaders.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

#include "app/data_files.h"
#include "core/workers.h"
#include "earth/borders.h"
#include "earth/globe_light.h"
#include "earth/shore.h"
#include "raster/gif.h"
#include "sky/stars.h"

namespace {

// What one file's loading has to say, kept until it can be said in order.
struct Loaded {
    std::string path, message, reason;
};

// A file that is there but refused or cut short gets one line on stderr
// first; a missing one only loses what it would have shown. Then the
// loader's own message, if any.
void report(Platform& platform, const Loaded& loaded)
{
    struct stat st {};
    if (!loaded.reason.empty() && lstat(loaded.path.c_str(), &st) == 0)
        std::fprintf(stderr, "globe: %s: %s\n", loaded.path.c_str(), loaded.reason.c_str());
    if (!loaded.message.empty()) platform.message_box(loaded.message, nullptr);
}

Loaded read_texture(App& app)
{
    Loaded loaded{find_data_file("globe.gif", app.settings), {}, {}};
    GifInfo info;
    const int result = loadgif(loaded.path, app.texture, app.palette, info, loaded.message);
    app.view.texture_loaded = result >= 0 ? 1 : 0;
    loaded.reason = info.reason;
    return loaded;
}

Loaded read_shore(App& app)
{
    Loaded loaded{find_data_file(app.settings.shore_filename, app.settings), {}, {}};
    loaded.message = loadshore(loaded.path, app.shore, &loaded.reason);
    return loaded;
}

Loaded read_borders(App& app)
{
    Loaded loaded{find_data_file(app.settings.bord_filename, app.settings), {}, {}};
    loaded.message = loadbords(loaded.path, app.borders, &loaded.reason);
    return loaded;
}

Loaded read_stars(App& app)
{
    Loaded loaded{find_data_file("stars.dat", app.settings), {}, {}};
    loaded.message = loadstars(loaded.path, app.stars, &loaded.reason);
    return loaded;
}

// The city lights: a picture with a palette of its own, which becomes grades
// on the globe picture's texels once both are in.
Loaded read_lights(App& app, Texture& lights, Palette& palette)
{
    Loaded loaded{find_data_file("lights.gif", app.settings), {}, {}};
    GifInfo info;
    loadgif(loaded.path, lights, palette, info, loaded.message);
    loaded.reason = info.reason;
    return loaded;
}

}  // namespace

void load_map_data(App& app, Platform& platform)
{
    report(platform, read_shore(app));
    report(platform, read_borders(app));
}

void load_all_data(App& app, Platform& platform)
{
    Loaded texture, shore, borders, stars, lights;
    Texture lights_picture;
    Palette lights_palette{};
    // The two longest first; whichever core is free first takes the rest.
    Chunks jobs{3, 1};
    run_workers(std::min(2, core_count()), [&] {
        int32_t job = 0, end = 0;
        while (jobs.take(job, end)) {
            if (job == 0) {
                texture = read_texture(app);
            } else if (job == 1) {
                shore = read_shore(app);
            } else {
                borders = read_borders(app);
                stars = read_stars(app);
                lights = read_lights(app, lights_picture, lights_palette);
            }
        }
    });
    for (const Loaded* loaded : {&texture, &shore, &borders, &stars, &lights}) report(platform, *loaded);
    // The palette is final now: the globe picture's colours are in.
    app.light = globe_light(app.palette);
    app.light.grades = grade_lights(lights_picture, lights_palette, app.texture);
}
