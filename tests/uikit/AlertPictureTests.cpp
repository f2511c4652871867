#include "AlertTestSupport.h"

#include <graphics/ImageCompare.h>
#include <uikit/UIImageView.h>
#include <uikit/ViewRendering.h>

#include <filesystem>

using namespace uikit;

namespace {

using AlertPictures = uikit::testing::WidgetTest;

std::filesystem::path reference(const char* name)
{
    return std::filesystem::path(TORVANE_UIKIT_REFERENCES) / name;
}

// The system alert as the kill confirmation shows it: title, message, Cancel and Kill. The
// reference was made once and checked by eye (blue-grey panel, light rim, gloss over the title,
// white centred text, dark Cancel on the left, lighter Kill on the right).
TEST_F(AlertPictures, ConfirmationAlertMatchesItsReference)
{
    auto alert = UIAlertView::create(std::string("Safari"), std::string("Currently using 24.61 MBs of RAM"), nullptr,
        std::string("Cancel"), { "Kill" });
    alert->show();
    alert->layoutIfNeeded();
    auto image = renderViewToImage(*alert, 2);
    ASSERT_EQ(image.width(), 2 * static_cast<int>(UIAlertView::width));
    auto check = graphics::checkAgainstReference(image, reference("AlertConfirmation.png"));
    EXPECT_TRUE(check.passed) << check.message;
}

}
