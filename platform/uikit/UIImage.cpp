#include <uikit/UIImage.h>

#include <foundation/DeviceRoot.h>
#include <foundation/FileIdentity.h>
#include <foundation/NSData.h>
#include <graphics/Context.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIScreen.h>

#include <cstdio>
#include <filesystem>
#include <map>

namespace uikit {

TORVANE_DEFINE_CLASS(UIImage)

namespace {

// The file name's stem and extension, as std::filesystem splits them, without building a path:
// this runs for every image view that asks for a file.
struct NameParts {
    std::string_view folder; // up to and with the last '/'
    std::string_view stem;
    std::string_view extension; // from the last '.' of the name, if the name does not start with it
};

NameParts nameParts(std::string_view path)
{
    size_t slash = path.rfind('/');
    std::string_view folder = slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
    std::string_view name = path.substr(folder.size());
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name == "..")
        return { folder, name, {} };
    return { folder, name.substr(0, dot), name.substr(dot) };
}

bool endsWithRetinaSuffix(std::string_view stem) { return stem.size() >= 3 && stem.substr(stem.size() - 3) == "@2x"; }

// "dir/Glow.png" → "dir/Glow@2x.png"; empty when the name already carries a scale suffix.
std::string retinaSibling(std::string_view path)
{
    auto parts = nameParts(path);
    if (endsWithRetinaSuffix(parts.stem))
        return {};
    std::string sibling;
    sibling.reserve(path.size() + 3);
    sibling.append(parts.folder).append(parts.stem).append("@2x").append(parts.extension);
    return sibling;
}

bool namesRetinaFile(std::string_view path) { return endsWithRetinaSuffix(nameParts(path).stem); }

// What was decoded from each file, so that the many views showing one file share one decode. An
// entry holds only while the file is as it was when it was read.
struct DecodedFile {
    foundation::FileIdentity identity;
    runtime::Ref<UIImage> image;
};

std::map<std::string, DecodedFile, std::less<>>& decodedFiles()
{
    static std::map<std::string, DecodedFile, std::less<>> files;
    return files;
}

cairo_operator_t cairoOperator(CGBlendMode mode)
{
    switch (mode) {
    case CGBlendMode::Normal: return CAIRO_OPERATOR_OVER;
    case CGBlendMode::Multiply: return CAIRO_OPERATOR_MULTIPLY;
    case CGBlendMode::Screen: return CAIRO_OPERATOR_SCREEN;
    case CGBlendMode::Overlay: return CAIRO_OPERATOR_OVERLAY;
    case CGBlendMode::Darken: return CAIRO_OPERATOR_DARKEN;
    case CGBlendMode::Lighten: return CAIRO_OPERATOR_LIGHTEN;
    case CGBlendMode::Clear: return CAIRO_OPERATOR_CLEAR;
    case CGBlendMode::Copy: return CAIRO_OPERATOR_SOURCE;
    case CGBlendMode::SourceIn: return CAIRO_OPERATOR_IN;
    case CGBlendMode::SourceOut: return CAIRO_OPERATOR_OUT;
    case CGBlendMode::SourceAtop: return CAIRO_OPERATOR_ATOP;
    case CGBlendMode::DestinationOver: return CAIRO_OPERATOR_DEST_OVER;
    case CGBlendMode::DestinationIn: return CAIRO_OPERATOR_DEST_IN;
    case CGBlendMode::DestinationOut: return CAIRO_OPERATOR_DEST_OUT;
    case CGBlendMode::DestinationAtop: return CAIRO_OPERATOR_DEST_ATOP;
    case CGBlendMode::XOR: return CAIRO_OPERATOR_XOR;
    case CGBlendMode::PlusLighter: return CAIRO_OPERATOR_ADD;
    }
    return CAIRO_OPERATOR_OVER;
}

}

runtime::RefPtr<UIImage> UIImage::loadFile(std::string_view devicePath, CGFloat scale, std::string_view askedPath)
{
    auto hostPath = foundation::DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return nullptr;
    auto& files = decodedFiles();
    // One entry per file read and name asked by, since an image remembers the name it was asked by.
    std::string key = *hostPath + '\n' + std::string(askedPath);
    auto identity = foundation::FileIdentity::ofRegularFile(*hostPath);
    if (!identity) {
        files.erase(key);
        return nullptr;
    }

    if (auto found = files.find(key); found != files.end()) {
        const auto& kept = found->second;
        if (kept.identity == *identity && kept.image->scale() == scale)
            return kept.image.ptr();
        files.erase(found);
    }
    auto image = UIImage::imageWithCGImage(graphics::CGImageCreateWithPNGFile(*hostPath), scale);
    if (!image)
        return nullptr;
    image->m_devicePath = std::string(askedPath);
    files.insert_or_assign(key, DecodedFile { *identity, *image });
    return image;
}

runtime::RefPtr<UIImage> UIImage::imageWithContentsOfFile(std::string_view devicePath)
{
    if (devicePath.empty())
        return nullptr;
    if (namesRetinaFile(devicePath))
        return loadFile(devicePath, 2, devicePath);
    if (UIScreen::mainScreen().scale() >= 2) {
        std::string sibling = retinaSibling(devicePath);
        if (!sibling.empty()) {
            if (auto image = loadFile(sibling, 2, devicePath))
                return image;
        }
    }
    return loadFile(devicePath, 1, devicePath);
}

runtime::RefPtr<UIImage> UIImage::imageWithData(const foundation::NSData& data, CGFloat scale)
{
    return imageWithCGImage(graphics::CGImageCreateWithPNGData(data.bytes(), data.length()), scale);
}

runtime::RefPtr<UIImage> UIImage::imageWithCGImage(graphics::CGImage image, CGFloat scale)
{
    if (!image)
        return nullptr;
    return runtime::adoptRef(*new UIImage(std::move(image), scale > 0 ? scale : 1));
}

CGSize UIImage::size() const
{
    return { static_cast<CGFloat>(m_image.width()) / m_scale, static_cast<CGFloat>(m_image.height()) / m_scale };
}

void UIImage::drawInRect(CGRect rect) const
{
    drawInRectBlendModeAlpha(rect, CGBlendMode::Normal, 1);
}

void UIImage::drawAtPoint(CGPoint point) const
{
    drawInRectBlendModeAlpha({ point, size() }, CGBlendMode::Normal, 1);
}

void UIImage::drawAtPointBlendModeAlpha(CGPoint point, CGBlendMode blendMode, CGFloat alpha) const
{
    drawInRectBlendModeAlpha({ point, size() }, blendMode, alpha);
}

void UIImage::drawInRectBlendModeAlpha(CGRect rect, CGBlendMode blendMode, CGFloat alpha) const
{
    auto context = UIGraphicsGetCurrentContext();
    if (!context)
        return;
    graphics::CGContextSaveGState(context);
    graphics::CGContextSetAlpha(context, alpha);
    cairo_set_operator(context.cairo(), cairoOperator(blendMode));
    graphics::CGContextDrawImage(context, rect, m_image);
    graphics::CGContextRestoreGState(context);
}

std::string UIImage::description() const
{
    char text[128];
    CGSize points = size();
    std::snprintf(text, sizeof text, "<UIImage: %p> size {%g, %g} scale %g", static_cast<const void*>(this),
        static_cast<double>(points.width), static_cast<double>(points.height), static_cast<double>(m_scale));
    return text;
}

runtime::RefPtr<foundation::NSData> UIImagePNGRepresentation(const UIImage* image)
{
    if (!image)
        return nullptr;
    auto bytes = graphics::CGImageCreatePNGData(image->CGImage());
    if (bytes.empty())
        return nullptr;
    return foundation::NSData::create(std::move(bytes));
}

}

namespace uikit {

void UIImage::encodeWithCoder(NSCoder& coder) const
{
    coder.encodeBytes(graphics::CGImageCreatePNGData(m_image), "UIImagePNG");
    coder.encodeDouble(m_scale, "UIImageScale");
}

namespace {

runtime::RefPtr<runtime::Object> decodeImage(NSCoder& coder)
{
    auto png = coder.decodeBytes("UIImagePNG");
    return UIImage::imageWithCGImage(graphics::CGImageCreateWithPNGData(png), static_cast<CGFloat>(coder.decodeDouble("UIImageScale")));
}

[[maybe_unused]] const bool imageArchivable = ArchivableClasses::addDecoder(UIImage::staticClass(), decodeImage);

}

}
