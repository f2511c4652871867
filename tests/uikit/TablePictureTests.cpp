#include "TableTestSupport.h"

#include <graphics/ImageCompare.h>
#include <uikit/ViewRendering.h>

#include <filesystem>

using namespace uikit;
using namespace uikit::testing;

namespace {

using TablePictures = WidgetTest;

std::filesystem::path reference(const char* name)
{
    return std::filesystem::path(TORVANE_UIKIT_REFERENCES) / name;
}

// A finger dragged straight up the screen from `from` to `to`, through the window's touch delivery.
void drag(UIWindow& window, CGPoint from, CGPoint to)
{
    window.injectTouch(UITouchPhaseBegan, from);
    window.injectTouch(UITouchPhaseMoved, { from.x, (from.y + to.y) / 2 });
    window.injectTouch(UITouchPhaseMoved, to);
    window.injectTouch(UITouchPhaseEnded, to);
}

// Two tables scrolled by a finger: above, a plain one stopped mid-section, its header floating over
// the rows; below, a grouped one dragged past its end, so it rests on its last rows. The reference
// was made once and checked by eye; a drag that moves by the wrong amount, stops at the wrong end,
// or leaves rows without their cells shows as different rows in the picture.
TEST_F(TablePictures, DraggedTablesMatchTheirReference)
{
    auto plainSource = FullTableSource::create({ 8, 8 });
    plainSource->headers = { std::string("Applications"), std::string("Extensions") };
    auto plain = UITableView::create({ { 0, 0 }, { 320, 240 } });
    plain->setDataSource(plainSource.ptr());
    plain->setDelegate(plainSource.ptr());
    window().addSubview(plain);

    auto groupedSource = FullTableSource::create({ 3, 4 });
    groupedSource->headers = { std::string("General"), std::string("Themes") };
    auto grouped = UITableView::create({ { 0, 240 }, { 320, 240 } }, UITableViewStyleGrouped);
    grouped->setDataSource(groupedSource.ptr());
    grouped->setDelegate(groupedSource.ptr());
    window().addSubview(grouped);
    window().layoutIfNeeded();

    drag(window(), { 160, 200 }, { 160, 70 });
    drag(window(), { 160, 460 }, { 160, 250 });
    drag(window(), { 160, 460 }, { 160, 250 });
    ASSERT_EQ(plain->contentOffset().y, 130);
    ASSERT_EQ(grouped->contentOffset().y, grouped->contentSize().height - 240);
    EXPECT_FALSE(plain->indexPathForSelectedRow());
    EXPECT_FALSE(grouped->indexPathForSelectedRow());

    auto image = renderViewToImage(window(), 1);
    auto check = graphics::checkAgainstReference(image, reference("TablesDragged.png"));
    EXPECT_TRUE(check.passed) << check.message;
}

}
