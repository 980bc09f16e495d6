#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "net/client_commands_play.h"

// The player's face picture, sent as client command 79 when the server asks for it. A picture
// the player left as "users/<account>.<bmp|pcx|jpg|jpeg|pnm>" is first converted into
// "users/<account>.jpf" by an external converter.
namespace vs::net {

inline constexpr const char* kPictureConverter = "Physiox.exe";
inline constexpr uint32_t kConverterWaitMs = 10000;
inline constexpr size_t kMaxFacePictureBytes = 9999;
inline constexpr int kFacePictureWidth = 56;
inline constexpr int kFacePictureHeight = 48;

struct FacePictureTools {
    // Runs the converter on one file (the path is its single argument, no shell) and waits at
    // most the given time; false when it could not be started.
    std::function<bool(const std::filesystem::path& picture, uint32_t waitMs)> convert;
    // Whether the bytes are a JPF picture of the given size.
    std::function<bool(std::span<const uint8_t> bytes, int width, int height)> isPicture;
};

struct FacePicture {
    CmdFacePicture command;
    bool converterFailed = false;  // the caller tells the player "Couldn't create process"
};

// The command for an account (a name unfit for a file name gets no file access and sends no
// picture) and its profile text.
FacePicture facePicture(std::u16string_view account, const std::u16string& profile,
                        const FacePictureTools& tools,
                        const std::filesystem::path& users = "users");

}  // namespace vs::net
