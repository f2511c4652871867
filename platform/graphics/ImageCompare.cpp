#include <graphics/ImageCompare.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace graphics {

double ImageComparison::differingShare() const
{
    if (!sameSize || pixelCount == 0)
        return sameSize ? 0.0 : 1.0;
    return static_cast<double>(differingPixels) / static_cast<double>(pixelCount);
}

ImageComparison compareImages(const CGImage& actual, const CGImage& expected, int channelTolerance)
{
    ImageComparison result;
    if (!actual || !expected || actual.width() != expected.width() || actual.height() != expected.height())
        return result;
    result.sameSize = true;
    result.pixelCount = static_cast<std::size_t>(actual.width()) * static_cast<std::size_t>(actual.height());
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            std::uint32_t a = actual.premultipliedAt(x, y);
            std::uint32_t b = expected.premultipliedAt(x, y);
            int largest = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                int difference = std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff));
                largest = std::max(largest, difference);
            }
            result.largestDifference = std::max(result.largestDifference, largest);
            if (largest > channelTolerance)
                ++result.differingPixels;
        }
    }
    return result;
}

ReferenceCheck checkAgainstReference(const CGImage& actual, const std::filesystem::path& referencePath,
    int channelTolerance, double differingShare)
{
    if (!actual)
        return { false, "the picture to check is null" };
    const char* write = std::getenv("TORVANE_WRITE_REFERENCES");
    if (write && std::string(write) == "1") {
        std::error_code error;
        std::filesystem::create_directories(referencePath.parent_path(), error);
        if (!CGImageWritePNGFile(actual, referencePath))
            return { false, "could not write reference " + referencePath.string() };
        return { true, {} };
    }

    CGImage expected = CGImageCreateWithPNGFile(referencePath);
    std::ostringstream message;
    if (!expected) {
        message << "reference " << referencePath << " is missing or unreadable";
    } else {
        ImageComparison comparison = compareImages(actual, expected, channelTolerance);
        if (comparison.within(differingShare))
            return { true, {} };
        if (!comparison.sameSize) {
            message << "size " << actual.width() << "x" << actual.height() << " differs from the reference's "
                    << expected.width() << "x" << expected.height();
        } else {
            message << comparison.differingPixels << " of " << comparison.pixelCount << " pixels ("
                    << comparison.differingShare() * 100 << "%) differ by more than " << channelTolerance
                    << " (largest difference " << comparison.largestDifference << ", allowed share "
                    << differingShare * 100 << "%)";
        }
    }
    std::filesystem::path actualPath = referencePath.stem().string() + ".actual.png";
    if (CGImageWritePNGFile(actual, actualPath))
        message << "; actual picture written to " << std::filesystem::absolute(actualPath);
    return { false, message.str() };
}

} // namespace graphics
