#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vs::platform {

enum class ReadResult { Ok, Missing, TooLarge, Failed };

// Reads a whole file of at most maxBytes into `out`.
ReadResult readFile(const std::filesystem::path& file, size_t maxBytes, std::string& out);

// Replaces `file` with `bytes` so that a crash or a full disk leaves either the old file or the
// new one, never a mix: a temporary file beside it is written, synced, given `mode` and renamed
// over it. False (with the reason in `error`) when nothing was replaced.
bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes, unsigned mode,
                         std::string* error = nullptr);

}  // namespace vs::platform
