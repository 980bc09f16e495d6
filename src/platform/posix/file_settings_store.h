#pragma once
#include <filesystem>
#include <string>

#include "platform/settings_store.h"

namespace vs::platform {

// The settings in one UTF-8 text file (the form of parseSettingsText), read once when built and
// written whole by flush(), atomically and readable by the user alone.
class FileSettingsStore final : public SettingsStore {
public:
    // Files larger than this are not ours to rewrite.
    static constexpr size_t kMaxFileBytes = 16u << 20;

    explicit FileSettingsStore(std::filesystem::path file);
    ~FileSettingsStore() override;

    bool flush() override;

    const std::filesystem::path& file() const { return file_; }
    // A file that exists but could not be read is never overwritten.
    bool readOnly() const { return readOnly_; }

    // $XDG_CONFIG_HOME/vestrel/settings.reg
    static std::filesystem::path defaultFile();

private:
    std::filesystem::path file_;
    bool readOnly_ = false;
    std::string written_;  // the text the file holds, to skip writing it again unchanged
};

}  // namespace vs::platform
