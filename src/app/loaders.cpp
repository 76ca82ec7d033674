#include "app/loaders.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <sys/stat.h>

#include "app/data_files.h"
#include "app/load_messages.h"
#include "core/workers.h"
#include "earth/borders.h"
#include "earth/globe_light.h"
#include "earth/shore.h"
#include "raster/gif.h"
#include "sky/stars.h"

namespace {

// What one file's loading has to say, kept until it can be said in order.
struct Loaded {
    DataFile file;
    std::string path;
    Result result;
};

// A file that is there but refused or cut short gets one line on stderr
// first; a missing one only loses what it would have shown. Then the
// viewer's message, if any.
void report(Platform& platform, const Loaded& loaded)
{
    struct stat st {};
    if (!loaded.result.reason.empty() && lstat(loaded.path.c_str(), &st) == 0)
        std::fprintf(stderr, "globe: %s: %s\n", loaded.path.c_str(), loaded.result.why().c_str());
    const std::string message = load_message(loaded.file, loaded.result);
    if (!message.empty()) platform.message_box(message, nullptr);
}

Loaded read_texture(App& app)
{
    Loaded loaded{DataFile::texture, find_data_file("globe.gif", app.settings), {}};
    GifInfo info;
    loaded.result = loadgif(loaded.path, app.texture, app.palette, info);
    app.view.texture_loaded = loaded.result.ok();
    return loaded;
}

Loaded read_shore(App& app)
{
    Loaded loaded{DataFile::shore, find_data_file(app.settings.shore_filename, app.settings), {}};
    loaded.result = loadshore(loaded.path, app.shore);
    return loaded;
}

Loaded read_borders(App& app)
{
    Loaded loaded{DataFile::borders, find_data_file(app.settings.bord_filename, app.settings), {}};
    loaded.result = loadbords(loaded.path, app.borders);
    return loaded;
}

Loaded read_stars(App& app)
{
    Loaded loaded{DataFile::stars, find_data_file("stars.dat", app.settings), {}};
    loaded.result = loadstars(loaded.path, app.stars);
    return loaded;
}

// The city lights: a picture with a palette of its own, which becomes grades
// on the globe picture's texels once both are in.
Loaded read_lights(App& app, Texture& lights, Palette& palette)
{
    Loaded loaded{DataFile::lights, find_data_file("lights.gif", app.settings), {}};
    GifInfo info;
    loaded.result = loadgif(loaded.path, lights, palette, info);
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
    Loaded texture{}, shore{}, borders{}, stars{}, lights{};
    Texture lights_picture;
    Palette lights_palette{};
    // The two longest first; whichever core is free first takes the rest.
    const std::function<void()> job_list[] = {
        [&] { texture = read_texture(app); },
        [&] { shore = read_shore(app); },
        [&] {
            borders = read_borders(app);
            stars = read_stars(app);
            lights = read_lights(app, lights_picture, lights_palette);
        },
    };
    Chunks jobs{static_cast<int32_t>(std::size(job_list)), 1};
    run_workers(std::min(2, core_count()), [&] {
        int32_t job{}, end{};
        while (jobs.take(job, end)) job_list[job]();
    });
    for (const Loaded* loaded : {&texture, &shore, &borders, &stars, &lights}) report(platform, *loaded);
    // The palette is final now: the globe picture's colours are in.
    app.light = globe_light(app.palette);
    app.light.grades = grade_lights(lights_picture, lights_palette, app.texture);
}
