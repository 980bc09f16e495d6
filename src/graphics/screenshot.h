#pragma once
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "graphics/pixel_format.h"

namespace vs::graphics {

class Surface;

// Screenshots of a 640 × 480 picture into the folder "ScreenShots": BMP files numbered from 1,
// JPEG files from 0, each taking the first free number up to 1000.
constexpr int kScreenshotWidth = 640;
constexpr int kScreenshotHeight = 480;
constexpr int kLastScreenshotNumber = 1000;

// A 16-bit BMP (555, bottom row first) of the picture: 54 header bytes, then the rows.
std::vector<uint8_t> EncodeBmpScreenshot(const uint16_t* pixels, int pitch, PixelFormat format);
// A JPEG (library defaults, quality 75) of the picture; empty when the library fails.
std::vector<uint8_t> EncodeJpegScreenshot(const uint16_t* pixels, int pitch, PixelFormat format);

// "<dir>/VL%04d.<extension>" for the first number from `first` on that names no readable file;
// empty past kLastScreenshotNumber.
std::filesystem::path NextScreenshotName(const std::filesystem::path& dir,
                                         std::string_view extension, int first);

// Both create the folder; a file that cannot be written is skipped. The path written, or empty.
std::filesystem::path SaveBmpScreenshot(const Surface& picture, PixelFormat format,
                                        const std::filesystem::path& dir = "ScreenShots");
std::filesystem::path SaveJpegScreenshot(const Surface& picture, PixelFormat format,
                                         const std::filesystem::path& dir = "ScreenShots");

}  // namespace vs::graphics
