#pragma once

// Comparing pictures with references, for picture tests of any module.
//
// Pixels are compared premultiplied (what they look like over any background), channel by channel.
// A pixel differs when one of its channels differs by more than the tolerance.

#include <graphics/Image.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace graphics {

struct ImageComparison {
    bool sameSize { false };
    std::size_t pixelCount { 0 };
    std::size_t differingPixels { 0 };
    // Largest channel difference seen anywhere (0-255).
    int largestDifference { 0 };

    // Share of pixels that differ (1 when the sizes differ or an image is null).
    double differingShare() const;
    // Same size and at most `share` of the pixels differ.
    bool within(double share) const { return sameSize && differingShare() <= share; }
};

ImageComparison compareImages(const CGImage& actual, const CGImage& expected, int channelTolerance);

// The usual rule of our picture tests: a channel may be off by up to 8 on at least 99.5% of pixels.
inline constexpr int kPictureChannelTolerance = 8;
inline constexpr double kPictureDifferingShare = 0.005;

struct ReferenceCheck {
    bool passed { false };
    // What went wrong, for the test's failure message; empty when passed.
    std::string message;
};

// Compares `actual` with the PNG at `referencePath` under the usual rule. When the environment has
// TORVANE_WRITE_REFERENCES=1 the reference is (re)written from `actual` instead and the check
// passes. On a mismatch the actual picture is written to the working directory as
// "<reference name>.actual.png" so it can be looked at.
ReferenceCheck checkAgainstReference(const CGImage& actual, const std::filesystem::path& referencePath,
    int channelTolerance = kPictureChannelTolerance, double differingShare = kPictureDifferingShare);

} // namespace graphics
