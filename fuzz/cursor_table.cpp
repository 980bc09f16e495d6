// A cursor table of any bytes; a table that passes is used to build the cursor shapes.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/soft_cursor.h"
#include "platform/headless/headless_screen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::graphics;
    CursorTable table;
    if (!ParseCursorTable(std::span<const uint8_t>(data, size), table)) return 0;
    std::array<Surface, kCursorTypeCount> shapes;
    for (int t = 0; t < kCursorTypeCount; ++t) {
        const CursorShape& s = table[size_t(t)];
        // Within what the table allows: no more than 256 × 256 per frame.
        shapes[size_t(t)] = Surface(std::min<int>(s.frameCount, 8) * s.width, s.height);
    }
    SoftCursor cursor;
    cursor.SetShapes(table, std::move(shapes));
    vs::platform::HeadlessScreen screen;
    Surface front(640, 480);
    for (int t = 0; t < kCursorTypeCount; ++t) {
        cursor.SetType(t, screen, front);
        cursor.Move(int32_t(data[0]) * 2, int32_t(data[1]) * 3);
        cursor.Show(screen, front);
        cursor.Animate(uint32_t(t) * 100 + 100, screen, front);
        cursor.Hide(screen);
    }
    return 0;
}
