#include "resources/help_text.h"

#include "base/text.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"
#include "resources/string_table.h"

namespace vs::resources {

namespace {
const StringTable* table() {
    return StringTable::instance();
}
}  // namespace

std::u16string HelpTitle() {
    return table() ? table()->Get(kHelpTitle) : std::u16string();
}

std::vector<std::u16string> HelpLines() {
    std::vector<std::u16string> lines;
    auto* archives = ArchiveManager::instance();
    if (archives && archives->Exists("HELP.RES")) {
        DATFile file("HELP.RES");
        std::string line;
        while (file.ReadLine(line)) lines.push_back(base::CodePage::current().decode(line));
        return lines;
    }
    for (int id : kHelpFallback)
        lines.push_back(id < 0 || !table() ? std::u16string() : table()->Get(id));
    return lines;
}

}  // namespace vs::resources
