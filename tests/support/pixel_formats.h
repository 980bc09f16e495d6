#pragma once
#include <gtest/gtest.h>

#include <string>

#include "resources/palette_format.h"

namespace vs::test {

inline std::string pixelFormatName(const testing::TestParamInfo<resources::PixelFormat>& info) {
    return info.param == resources::PixelFormat::k565 ? "565" : "555";
}

}  // namespace vs::test

// Runs a suite parameterized by the pixel format once in each format.
#define VS_INSTANTIATE_IN_BOTH_FORMATS(Suite)                                                    \
    INSTANTIATE_TEST_SUITE_P(                                                                    \
        Formats, Suite,                                                                          \
        testing::Values(::vs::resources::PixelFormat::k555, ::vs::resources::PixelFormat::k565), \
        ::vs::test::pixelFormatName)
