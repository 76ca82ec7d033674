#include "app/loaders.h"

#include "app/data_files.h"

void load_texture(App& app, Platform& platform)
{
    (void)platform;
    app.view.texture_loaded = 0;
}

void load_map_data(App& app, Platform& platform)
{
    (void)app;
    (void)platform;
}

void load_star_catalogue(App& app, Platform& platform)
{
    (void)app;
    (void)platform;
}
