#include <springboard/SBIconLabelImageView.h>

#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

#include <algorithm>
#include <cmath>

namespace springboard {

TORVANE_DEFINE_CLASS(SBIconLabelImageView)
TORVANE_ARCHIVABLE_CLASS(SBIconLabelImageView, SBIconLabelImageView::create())

runtime::Ref<SBIconLabelImageView> SBIconLabelImageView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SBIconLabelImageView(frame));
}

SBIconLabelImageView::SBIconLabelImageView(uikit::CGRect frame)
    : UIImageView(frame)
{
}

runtime::RefPtr<uikit::UIImage> SBIconLabelImageView::labelImageForText(const std::string& text)
{
    if (text.empty())
        return nullptr;
    auto font = uikit::UIFont::boldSystemFontOfSize(11);
    auto textSize = uikit::sizeWithFontForWidth(text, font, maximumWidth, uikit::UILineBreakModeTailTruncation);
    // Room for the shadow below and a point of air on each side.
    uikit::CGSize size { std::ceil(textSize.width) + 2, std::ceil(textSize.height) + 2 };
    uikit::UIGraphicsBeginImageContextWithOptions(size, false, 0);
    uikit::UIColor::colorWithWhite(0, 0.75)->set();
    uikit::drawAtPointForWidth(text, { 1, 1.5 }, maximumWidth, font, uikit::UILineBreakModeTailTruncation);
    uikit::UIColor::whiteColor()->set();
    uikit::drawAtPointForWidth(text, { 1, 0 }, maximumWidth, font, uikit::UILineBreakModeTailTruncation);
    auto image = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return image;
}

}
