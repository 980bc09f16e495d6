// vestrel-charsheet --data DIR --out FILE.png: every demo look walking, attacking and casting
// in four directions and every creature motion, with shadows on grass, in the 555 format above
// the 565 format.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "app/error.h"
#include "base/text.h"
#include "charsheet/sheet.h"
#include "graphics/pixel_format.h"
#include "graphics/png_writer.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "world/human_image_lib.h"
#include "world/monster_image_lib.h"

int main(int argc, char** argv) {
    using namespace vs;
    std::filesystem::path data = "build/demo-data", out = "chars.png";
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--data") && i + 1 < argc) {
            data = argv[++i];
        } else if (!std::strcmp(argv[i], "--out") && i + 1 < argc) {
            out = argv[++i];
        } else {
            std::fprintf(stderr, "usage: vestrel-charsheet [--data DIR] [--out FILE.png]\n");
            return 2;
        }
    }
    try {
        resources::ArchiveManager archives;
        for (const char* name : {"MISC.DAT", "CHAR.DAT", "TILE.DAT", "MON.DAT", "EFX.DAT"}) {
            if (!archives.Mount((data / name).string())) {
                std::fprintf(stderr, "cannot mount %s\n", (data / name).c_str());
                return 1;
            }
        }
        resources::ImageCache cache(64u << 20);
        world::HumanImageLib humans;
        world::MonsterImageLib monsters;
        std::vector<uint8_t> rgb;
        int width = 0, height = 0;
        for (auto format : {graphics::PixelFormat::k555, graphics::PixelFormat::k565}) {
            graphics::selectPixelFormat(format);
            resources::PaletteManager palettes;
            graphics::Canvas canvas;
            charsheet::drawDemoSheet(canvas);
            const auto part = charsheet::toRgb(canvas);
            rgb.insert(rgb.end(), part.begin(), part.end());
            width = canvas.GetBounds().width();
            height += canvas.GetBounds().height();
            canvas.Unlock();
        }
        if (!graphics::writeFileBytes(out, graphics::encodePng(rgb, width, height))) {
            std::fprintf(stderr, "cannot write %s\n", out.c_str());
            return 1;
        }
        std::printf("%s: %d x %d\n", out.c_str(), width, height);
        return 0;
    } catch (const app::Error& e) {
        std::fprintf(stderr, "%s\n", base::utf16ToUtf8(e.text()).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return 1;
}
