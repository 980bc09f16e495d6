#include "platform/posix/file_settings_store.h"

#include <system_error>
#include <vector>

#include "base/log.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace vs::platform {

namespace fs = std::filesystem;

FileSettingsStore::FileSettingsStore(fs::path file) : file_(std::move(file)) {
    std::string text;
    switch (readFile(file_, kMaxFileBytes, text)) {
        case ReadResult::Ok: {
            std::vector<size_t> skipped;
            tree_ = parseSettingsText(text, &skipped);
            for (size_t line : skipped)
                VS_WARN("%s:%zu: not understood, skipped", file_.c_str(), line);
            written_ = std::move(text);
            break;
        }
        case ReadResult::Missing:
            break;
        case ReadResult::TooLarge:
        case ReadResult::Failed:
            VS_WARN("%s cannot be read: settings start from their defaults and are not saved",
                    file_.c_str());
            readOnly_ = true;
            break;
    }
    registerSelf(this);
}

FileSettingsStore::~FileSettingsStore() {
    unregisterSelf(this);
}

bool FileSettingsStore::flush() {
    if (readOnly_) return false;
    std::string text = formatSettingsText(tree_);
    if (text == written_) return true;
    std::error_code ec;
    const fs::path dir = file_.parent_path();
    if (!dir.empty() && !fs::exists(dir, ec)) {
        fs::create_directories(dir, ec);
        fs::permissions(dir, fs::perms::owner_all, ec);
    }
    std::string error;
    if (!writeFileAtomically(file_, text, 0600, &error)) {
        VS_WARN("settings not saved to %s: %s", file_.c_str(), error.c_str());
        return false;
    }
    written_ = std::move(text);
    return true;
}

fs::path FileSettingsStore::defaultFile() {
    return configHome() / "vestrel" / "settings.reg";
}

}  // namespace vs::platform
