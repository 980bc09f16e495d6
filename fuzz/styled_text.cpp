// The styled text the clipboard may hold, from any bytes: what is accepted is exactly what the
// writer makes of it, its runs lie inside the text, and pasting it never passes the entry's
// limit.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "platform/headless/memory_clipboard.h"
#include "ui/text_edit_pane.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs;
    const std::span<const uint8_t> block(data, size);
    std::u16string text;
    std::vector<ui::TextRun> runs;
    if (ui::decodeStyledText(block, text, runs)) {
        uint32_t previous = 0;
        for (const ui::TextRun& r : runs) {
            if (r.start < previous || r.end <= r.start || r.end > text.size()) std::abort();
            previous = r.end;
        }
        const std::vector<uint8_t> again = ui::encodeStyledText(text, runs);
        if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
    }
    platform::MemoryClipboard clipboard;
    clipboard.put("plain", std::vector<uint8_t>(data, data + size));
    ui::TextEditPane entry(100, 24, 100, 24, 128, 143, false, false, 0, 0);
    entry.SetMaxLength(int32_t(size % 64));
    entry.Paste();
    if (entry.GetLength() > entry.MaxLength()) std::abort();
    if (entry.LineStarts() != entry.FullLayout()) std::abort();
    return 0;
}
