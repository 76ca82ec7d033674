#include "app/loaders.h"

#include "app/data_files.h"
#include "earth/borders.h"
#include "earth/shore.h"
#include "raster/gif.h"
#include "sky/stars.h"

namespace {

void report(Platform& platform, const std::string& message)
{
    if (!message.empty()) platform.message_box(message, nullptr);
}

}  // namespace

void load_texture(App& app, Platform& platform)
{
    std::string message;
    const int result = loadgif(find_data_file("globe.gif", app.settings), app.texture, app.palette, message);
    app.view.texture_loaded = result >= 0 ? 1 : 0;
    report(platform, message);
}

void load_map_data(App& app, Platform& platform)
{
    report(platform, loadshore(find_data_file(app.settings.shore_filename, app.settings), app.shore));
    report(platform, loadbords(find_data_file(app.settings.bord_filename, app.settings), app.borders));
}

void load_star_catalogue(App& app, Platform& platform)
{
    report(platform, loadstars(find_data_file("stars.dat", app.settings), app.stars));
}
