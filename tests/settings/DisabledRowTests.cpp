#include "SettingsTestSupport.h"

#include "SwipeAppCell.h"
#include "SwipeDrawnTableViewCellView.h"

#include <foundation/NSString.h>
#include <graphics/ImageCompare.h>
#include <uikit/UIImage.h>
#include <uikit/ViewRendering.h>

using namespace settings_test;
using pane::SwipeAppCell;

namespace {

class DisabledRows : public DeviceTest {
protected:
    runtime::Ref<SwipeAppCell> row(const char* name, bool isNever, float y) const
    {
        auto cell = SwipeAppCell::create(uikit::UITableViewCellStyleDefault, "AppCell");
        cell->setAppName(foundation::NSStr(name).ptr());
        cell->setAppIcon(uikit::UIImage::imageWithContentsOfFile("/icons/app.png"));
        cell->setIsNever(isNever);
        cell->changeContentAlpha(isNever ? 0.5f : 1.0f);
        cell->setFrame({ { 0, y }, { 320, 44 } });
        return cell;
    }
};

// A disabled application at half strength with the marker at the right, an enabled one in full,
// and a highlighted one in white on the clear drawing over the blue selection.
TEST_F(DisabledRows, DisabledAndHighlightedRowsMatchTheirReference)
{
    writeSwatch("/icons/app.png", 57, 57, 0.1f, 0.4f, 0.9f);
    auto view = stage({ 320, 132 });
    view->addSubview(row("Calendar", true, 0));
    view->addSubview(row("Camera", false, 44));
    auto highlighted = row("Clock", true, 88);
    highlighted->setHighlighted(true);
    view->addSubview(highlighted);

    auto check = graphics::checkAgainstReference(uikit::renderViewToImage(*view, 2), reference("DisabledRows.png"));
    EXPECT_TRUE(check.passed) << check.message;
}

// The row keeps its own copy of the name: a caller reusing its string does not rename the row,
// and assistive technology reads the name the row draws.
TEST_F(DisabledRows, RowKeepsItsOwnCopyOfTheName)
{
    auto name = foundation::NSMutableString::create("Calendar");
    auto cell = SwipeAppCell::create(uikit::UITableViewCellStyleDefault, "AppCell");
    cell->setAppName(name.ptr());
    name->setString("Camera");
    EXPECT_EQ(cell->appName()->string(), "Calendar");
    EXPECT_EQ(cell->accessibilityLabel(), "Calendar");
}

}
