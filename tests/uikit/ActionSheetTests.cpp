#include "AlertTestSupport.h"

#include <uikit/UIButton.h>
#include <uikit/UIOptionalOperations.h>

using namespace uikit;
using uikit::testing::EventLog;

namespace {

class RecordingSheetDelegate : public runtime::Object, public UIActionSheetDelegate {
    TORVANE_OBJECT(RecordingSheetDelegate, runtime::Object)
    TORVANE_ADOPTS(UIActionSheetDelegate)
public:
    static runtime::Ref<RecordingSheetDelegate> create() { return runtime::adoptRef(*new RecordingSheetDelegate); }
    void actionSheetClickedButtonAtIndex(UIActionSheet& sheet, int index) override
    {
        log.add("clicked " + std::to_string(index) + " tag " + std::to_string(sheet.tag()));
    }
    void willPresentActionSheet(UIActionSheet&) override { log.add("will present"); }
    void didPresentActionSheet(UIActionSheet&) override { log.add("did present"); }
    void actionSheetWillDismissWithButtonIndex(UIActionSheet&, int index) override { log.add("will dismiss " + std::to_string(index)); }
    void actionSheetDidDismissWithButtonIndex(UIActionSheet&, int index) override { log.add("did dismiss " + std::to_string(index)); }
    EventLog log;

private:
    RecordingSheetDelegate() = default;
};

TORVANE_DEFINE_CLASS(RecordingSheetDelegate)

using ActionSheetButtons = uikit::testing::WidgetTest;
using ActionSheetShowing = uikit::testing::WidgetTest;

TEST_F(ActionSheetButtons, DestructiveComesFirstAndCancelLast)
{
    auto sheet = UIActionSheet::create(std::string("Title"), nullptr, std::string("Cancel"), std::string("Delete"), { "One", "Two" });
    ASSERT_EQ(sheet->numberOfButtons(), 4);
    EXPECT_EQ(sheet->buttonTitleAtIndex(0), "Delete");
    EXPECT_EQ(sheet->buttonTitleAtIndex(1), "One");
    EXPECT_EQ(sheet->buttonTitleAtIndex(2), "Two");
    EXPECT_EQ(sheet->buttonTitleAtIndex(3), "Cancel");
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);
    EXPECT_EQ(sheet->addButtonWithTitle("Three"), 4);

    auto bare = UIActionSheet::create(std::nullopt, nullptr, std::nullopt, std::nullopt, { "Yes", "Cancel" });
    EXPECT_EQ(bare->cancelButtonIndex(), -1);
    EXPECT_EQ(bare->destructiveButtonIndex(), -1);
    bare->setDestructiveButtonIndex(1);
    EXPECT_EQ(bare->destructiveButtonIndex(), 1);
    bare->setDestructiveButtonIndex(7);
    EXPECT_EQ(bare->destructiveButtonIndex(), -1);
}

TEST_F(ActionSheetButtons, TappingAButtonClicksItsIndexThenDismisses)
{
    // The disabled-applications question: "Yes" and a red "Cancel", no cancel button as such.
    auto delegate = RecordingSheetDelegate::create();
    auto sheet = UIActionSheet::create(std::string("Would you like to disable Safari?"), delegate.ptr(), std::nullopt, std::nullopt, { "Yes", "Cancel" });
    sheet->setActionSheetStyle(UIActionSheetStyleBlackTranslucent);
    sheet->setTag(696951);
    sheet->setDestructiveButtonIndex(1);
    sheet->showInView(window());
    runPendingWork();
    ASSERT_TRUE(UIActionSheet::tapButtonWithTitle("Cancel"));
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "will present", "did present", "clicked 1 tag 696951", "will dismiss 1",
                                        "did dismiss 1" }));
    EXPECT_TRUE(UIActionSheet::visibleSheets().empty());

    delegate->log.clear();
    auto again = UIActionSheet::create(std::string("Again?"), delegate.ptr(), std::nullopt, std::nullopt, { "Yes", "Cancel" });
    again->showInView(window());
    ASSERT_TRUE(UIActionSheet::tapButtonWithTitle("Yes"));
    EXPECT_EQ(delegate->log.events[1], "clicked 0 tag 0");
}

TEST_F(ActionSheetButtons, DismissingWithoutAButtonIndexDoesNotClick)
{
    auto delegate = RecordingSheetDelegate::create();
    auto sheet = UIActionSheet::create(std::string("T"), delegate.ptr(), std::string("Cancel"), std::nullopt, { "A" });
    sheet->showInView(window());
    delegate->log.clear();
    sheet->dismissWithClickedButtonIndex(-1, true);
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "will dismiss -1", "did dismiss -1" }));
}

TEST_F(ActionSheetShowing, RisesFromTheBottomOfTheWindowAndKeepsItselfAlive)
{
    runtime::WeakPtr<UIActionSheet> weak;
    auto content = UIView::create({ { 0, 100 }, { 320, 200 } });
    window().addSubview(content);
    {
        auto sheet = UIActionSheet::create(std::string("Title"), nullptr, std::string("Cancel"), std::string("Delete"), { "Other" });
        weak = sheet;
        sheet->showInView(*content);
    }
    ASSERT_TRUE(weak.get());
    UIActionSheet& sheet = *weak.get();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.window(), &window());
    CGRect frame = sheet.convertRectToView(sheet.bounds(), nullptr);
    EXPECT_EQ(CGRectGetMaxY(frame), 480);
    EXPECT_EQ(frame.size.width, 320);
    // Buttons in order top to bottom, cancel last; all inside the sheet.
    CGFloat destructive = sheet.buttonAtIndex(0)->frame().origin.y;
    CGFloat other = sheet.buttonAtIndex(1)->frame().origin.y;
    CGFloat cancel = sheet.buttonAtIndex(2)->frame().origin.y;
    EXPECT_LT(destructive, other);
    EXPECT_LT(other, cancel);
    EXPECT_LE(CGRectGetMaxY(sheet.buttonAtIndex(2)->frame()), sheet.bounds().size.height);

    // Touches outside the sheet are swallowed by the dimmed layer.
    EXPECT_NE(window().injectTouch(UITouchPhaseBegan, { 160, 150 }), content.ptr());
    window().injectTouch(UITouchPhaseCancelled, { 160, 150 });

    ASSERT_TRUE(UIActionSheet::tapButtonWithTitle("Other"));
    EXPECT_FALSE(weak.get());
    // Nothing of the sheet is left in the window.
    ASSERT_EQ(window().subviews().size(), 1u);
    EXPECT_EQ(window().subviews()[0].ptr(), content.ptr());
}

}
