#pragma once
#include <cstdint>
#include <filesystem>

#include "world/village_grid.h"

namespace vs::graphics {
class Canvas;
}

namespace vs::world {

// A still picture of the world drawn the way the map view draws it, before there is one: the
// view's 17 × 15 cells from the grid's top-left into a locked canvas of 408 × 360 pixels, with
// ground, cast shadows, objects, items and effects row by row, lights and, at night, the lighting
// blit. Uses the image libraries that exist.
struct SceneOptions {
    bool night = false;
    float nightBrightness = 0.35f;
    float shadowDarkness = 0.65f;
    float shadowStep = 2.0f;
    float shadowSlant = 0.8f;
};
inline constexpr int32_t kViewColumns = 17, kViewRows = 15, kCell = 24;

void drawScene(graphics::Canvas& canvas, const VillageGrid& grid, const SceneOptions& options);
// The demo village's picture as a PNG file; false (logged) when the grid is missing or damaged
// or the file cannot be written.
bool saveSceneShot(const std::filesystem::path& file, const SceneOptions& options);

}  // namespace vs::world
