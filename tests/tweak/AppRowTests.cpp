#include "SMDrawnTableViewCellView.h"
#include "TQAppCell.h"

#include <graphics/Context.h>
#include <graphics/ImageCompare.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/ViewRendering.h>

#include <gtest/gtest.h>

#include <filesystem>

using namespace tweak;

namespace {

runtime::Ref<TQAppCell> row(std::optional<std::string> name, std::optional<std::string> memory, runtime::RefPtr<uikit::UIImage> icon)
{
    auto cell = TQAppCell::create(uikit::UITableViewCellStyleDefault, "AppCell");
    cell->setAppName(std::move(name));
    cell->setAppID(std::string("com.apple.mobilesafari"));
    cell->setMemoryAmount(std::move(memory));
    cell->setAppIcon(std::move(icon));
    cell->setFrame({ { 0, 0 }, { 260, 40 } });
    cell->setNeedsDisplay();
    cell->layoutIfNeeded();
    return cell;
}

// A blue tile with a white square in it, so that scaling into the icon place shows.
runtime::Ref<uikit::UIImage> icon()
{
    uikit::UIGraphicsBeginImageContextWithOptions({ 57, 57 }, false, 1);
    auto context = uikit::UIGraphicsGetCurrentContext();
    graphics::CGContextSetRGBFillColor(context, 0.1f, 0.4f, 0.9f, 1);
    graphics::CGContextFillRect(context, { { 0, 0 }, { 57, 57 } });
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    graphics::CGContextFillRect(context, { { 19, 19 }, { 19, 19 } });
    auto image = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return runtime::Ref<uikit::UIImage>(*image);
}

bool isWhite(graphics::PixelRGBA pixel) { return pixel.red > 250 && pixel.green > 250 && pixel.blue > 250 && pixel.alpha > 250; }

// The row as the popup shows it, checked by eye: the icon 5 points in from the top and the left at
// 30 points, the name in bold from 40 points, the memory text from 157 points, all on white.
TEST(AppRows, RowMatchesItsReference)
{
    auto cell = row(std::string("Safari"), std::string("24 MB"), icon());
    auto check = graphics::checkAgainstReference(uikit::renderViewToImage(*cell, 2),
        std::filesystem::path(TORVANE_TWEAK_REFERENCES) / "AppRow.png");
    EXPECT_TRUE(check.passed) << check.message;
}

// The drawing view lies over the cell one point short of its bottom, where the separator shows.
TEST(AppRows, DrawingViewCoversTheCellAboveItsSeparator)
{
    auto cell = row(std::string("Safari"), std::string("24 MB"), nullptr);
    EXPECT_EQ(cell->drawingView().frame(), (uikit::CGRect { { 0, 0 }, { 260, 39 } }));
    EXPECT_EQ(cell->subviews().back().ptr(), &cell->drawingView());
    cell->setFrame({ { 0, 80 }, { 300, 44 } });
    EXPECT_EQ(cell->drawingView().frame(), (uikit::CGRect { { 0, 0 }, { 300, 43 } }));
}

// A missing icon leaves its place white, and a long name is cut before the memory column.
TEST(AppRows, MissingIconStaysWhiteAndALongNameEndsBeforeTheMemoryColumn)
{
    auto cell = row(std::string("A Very Long Application Name Indeed"), std::nullopt, nullptr);
    auto image = uikit::renderViewToImage(cell->drawingView(), 2);
    for (int x = 10; x < 70; x += 4) {
        for (int y = 10; y < 70; y += 4)
            ASSERT_TRUE(isWhite(image.pixelAt(x, y))) << "icon place at " << x / 2 << "," << y / 2;
    }
    bool nameDrawn = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 80; x < 312; ++x)
            nameDrawn = nameDrawn || !isWhite(image.pixelAt(x, y));
        for (int x = 312; x < image.width(); ++x)
            ASSERT_TRUE(isWhite(image.pixelAt(x, y))) << "ink at " << x / 2.0 << "," << y / 2.0;
    }
    EXPECT_TRUE(nameDrawn);
}

// Highlighted or selected, the row leaves its background clear and draws both texts in white.
TEST(AppRows, SelectedRowIsClearWithWhiteText)
{
    auto cell = row(std::string("Mail"), std::string("12 MB"), nullptr);
    cell->setSelected(true);
    auto image = uikit::renderViewToImage(cell->drawingView(), 2);
    int white = 0, dark = 0, clear = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            auto pixel = image.pixelAt(x, y);
            if (pixel.alpha == 0)
                ++clear;
            else if (isWhite(pixel))
                ++white;
            else if (pixel.alpha > 200 && pixel.red < 100)
                ++dark;
        }
    }
    EXPECT_GT(clear, image.width() * image.height() / 2);
    EXPECT_GT(white, 50) << "both texts in white";
    EXPECT_EQ(dark, 0) << "no black text left";
}

}
