#include "AlertTestSupport.h"

#include <uikit/UIButton.h>
#include <uikit/UIImage.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UIScreen.h>
#include <uikit/UIScrollView.h>
#include <uikit/UIStringDrawing.h>

using namespace uikit;
using uikit::testing::EventLog;

namespace {

// A delegate that takes every optional operation and writes each callback down.
class RecordingAlertDelegate : public runtime::Object, public UIAlertViewDelegate {
    TORVANE_OBJECT(RecordingAlertDelegate, runtime::Object)
    TORVANE_ADOPTS(UIAlertViewDelegate)
public:
    static runtime::Ref<RecordingAlertDelegate> create() { return runtime::adoptRef(*new RecordingAlertDelegate); }

    void alertViewClickedButtonAtIndex(UIAlertView& alert, int index) override
    {
        log.add("clicked " + std::to_string(index));
        visibleWhenClicked = alert.isVisible();
        if (onClick)
            onClick(alert);
    }
    void alertViewCancel(UIAlertView&) override { log.add("cancel"); }
    void willPresentAlertView(UIAlertView&) override { log.add("will present"); }
    void didPresentAlertView(UIAlertView&) override { log.add("did present"); }
    void alertViewWillDismissWithButtonIndex(UIAlertView& alert, int index) override
    {
        log.add("will dismiss " + std::to_string(index));
        visibleWhenWillDismiss = alert.isVisible();
    }
    void alertViewDidDismissWithButtonIndex(UIAlertView& alert, int index) override
    {
        log.add("did dismiss " + std::to_string(index));
        shownWhenDidDismiss = !UIAlertView::visibleAlerts().empty() && UIAlertView::visibleAlerts().back().ptr() == &alert;
        if (onDidDismiss)
            onDidDismiss(alert);
    }

    EventLog log;
    bool visibleWhenClicked { false };
    bool visibleWhenWillDismiss { false };
    bool shownWhenDidDismiss { true };
    std::function<void(UIAlertView&)> onClick;
    std::function<void(UIAlertView&)> onDidDismiss;

private:
    RecordingAlertDelegate() = default;
};

TORVANE_DEFINE_CLASS(RecordingAlertDelegate)

// Adopts the protocol and overrides none of its operations, so it takes none of them.
class SilentAlertDelegate : public runtime::Object, public UIAlertViewDelegate {
    TORVANE_OBJECT(SilentAlertDelegate, runtime::Object)
    TORVANE_ADOPTS(UIAlertViewDelegate)
public:
    static runtime::Ref<SilentAlertDelegate> create() { return runtime::adoptRef(*new SilentAlertDelegate); }

private:
    SilentAlertDelegate() = default;
};

TORVANE_DEFINE_CLASS(SilentAlertDelegate)

// An alert that replaces the stock background with its own drawing, the way the product's alerts do.
class DrawnPanelAlert : public UIAlertView {
    TORVANE_OBJECT(DrawnPanelAlert, UIAlertView)
public:
    static runtime::Ref<DrawnPanelAlert> create(std::string title)
    {
        auto alert = runtime::adoptRef(*new DrawnPanelAlert);
        alert->initWithTitle(std::move(title), std::string("message"), nullptr, std::string("Cancel"), { "Kill" });
        return alert;
    }

    void layoutSubviews() override
    {
        for (auto& subview : subviews()) {
            if (subview->isMemberOfClass(UIImageView::staticClass()) && subview->tag() == 0) {
                auto* imageView = static_cast<UIImageView*>(subview.ptr());
                imageHadPanel = imageView->image() != nullptr;
                imageView->setImage(nullptr);
                cleared = imageView;
                break;
            }
        }
    }
    void drawRect(CGRect rect) override
    {
        UIAlertView::drawRect(rect);
        ++drawCount;
    }

    UIImageView* cleared { nullptr };
    bool imageHadPanel { false };
    int drawCount { 0 };

private:
    DrawnPanelAlert()
        : UIAlertView(CGRectZero)
    {
    }
};

TORVANE_DEFINE_CLASS(DrawnPanelAlert)

using AlertDelegateOrder = uikit::testing::WidgetTest;
using AlertLifetime = uikit::testing::WidgetTest;
using AlertStructure = uikit::testing::WidgetTest;
using AlertStack = uikit::testing::WidgetTest;

runtime::Ref<UIAlertView> makeAlert(runtime::Object* delegate)
{
    return UIAlertView::create(std::string("Title"), std::string("A message"), delegate, std::string("Cancel"), { "OK" });
}

TEST_F(AlertDelegateOrder, PresentThenTapClicksThenDismisses)
{
    auto delegate = RecordingAlertDelegate::create();
    auto alert = makeAlert(delegate.ptr());
    alert->show();
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "will present" }));
    runPendingWork();
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "will present", "did present" }));
    EXPECT_TRUE(alert->isVisible());

    delegate->log.clear();
    ASSERT_TRUE(UIAlertView::tapButtonWithTitle("OK"));
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "clicked 1", "will dismiss 1", "did dismiss 1" }));
    EXPECT_TRUE(delegate->visibleWhenClicked);
    EXPECT_TRUE(delegate->visibleWhenWillDismiss);
    EXPECT_FALSE(delegate->shownWhenDidDismiss);
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
}

TEST_F(AlertDelegateOrder, DismissingWithAnIndexWithoutAButtonSkipsTheClick)
{
    for (int index : { -1, 2, 7 }) {
        auto delegate = RecordingAlertDelegate::create();
        auto alert = makeAlert(delegate.ptr());
        alert->show();
        runPendingWork();
        delegate->log.clear();
        alert->dismissWithClickedButtonIndex(index, false);
        auto n = std::to_string(index);
        EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "will dismiss " + n, "did dismiss " + n }));
        EXPECT_FALSE(alert->isVisible());
        EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
    }
}

TEST_F(AlertDelegateOrder, DismissingWithAButtonsIndexRunsLikeATap)
{
    auto delegate = RecordingAlertDelegate::create();
    auto alert = makeAlert(delegate.ptr());
    alert->show();
    delegate->log.clear();
    alert->dismissWithClickedButtonIndex(0, true);
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "clicked 0", "will dismiss 0", "did dismiss 0" }));
}

TEST_F(AlertDelegateOrder, DismissedBeforeTheNextTurnNeverReportsPresented)
{
    auto delegate = RecordingAlertDelegate::create();
    auto alert = makeAlert(delegate.ptr());
    alert->show();
    alert->dismissWithClickedButtonIndex(-1, false);
    runPendingWork();
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "will present", "will dismiss -1", "did dismiss -1" }));
}

TEST_F(AlertDelegateOrder, ADismissalFromInsideTheClickHappensOnce)
{
    auto delegate = RecordingAlertDelegate::create();
    delegate->onClick = [](UIAlertView& alert) { alert.dismissWithClickedButtonIndex(5, false); };
    auto alert = makeAlert(delegate.ptr());
    alert->show();
    delegate->log.clear();
    ASSERT_TRUE(UIAlertView::tapButtonWithTitle("Cancel"));
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "clicked 0", "will dismiss 0", "did dismiss 0" }));
}

TEST_F(AlertDelegateOrder, SystemCancelGoesToTheDelegateOrClicksCancel)
{
    auto delegate = RecordingAlertDelegate::create();
    auto alert = makeAlert(delegate.ptr());
    alert->show();
    delegate->log.clear();
    alert->systemCancel();
    // The delegate took alertViewCancel: it decides; the alert stays.
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "cancel" }));
    EXPECT_TRUE(alert->isVisible());

    auto silent = SilentAlertDelegate::create();
    alert->setDelegate(silent.ptr());
    alert->systemCancel();
    EXPECT_FALSE(alert->isVisible());
}

TEST_F(AlertDelegateOrder, DismissingAnAlertThatIsNotShownDoesNothing)
{
    auto delegate = RecordingAlertDelegate::create();
    auto alert = makeAlert(delegate.ptr());
    alert->dismissWithClickedButtonIndex(1, false);
    EXPECT_TRUE(delegate->log.events.empty());
}

TEST_F(AlertLifetime, KeepsItselfAliveWhileShownAndGoesAfterDismissal)
{
    runtime::WeakPtr<UIAlertView> weak;
    {
        auto alert = makeAlert(nullptr);
        weak = alert;
        alert->show();
    }
    ASSERT_TRUE(weak.get());
    EXPECT_TRUE(weak->isVisible());
    ASSERT_TRUE(UIAlertView::tapButtonWithTitle("Cancel"));
    runPendingWork();
    EXPECT_FALSE(weak.get());
}

TEST_F(AlertLifetime, TheDelegateMayReleaseTheAlertsOwnerInDidDismiss)
{
    // The owner holds the alert; did-dismiss drops the owner's reference, as a table alert's
    // delegate releases the table alert there.
    auto delegate = RecordingAlertDelegate::create();
    runtime::RefPtr<UIAlertView> owned = makeAlert(delegate.ptr());
    runtime::WeakPtr<UIAlertView> weak(owned);
    delegate->onDidDismiss = [&owned](UIAlertView&) { owned = nullptr; };
    owned->show();
    ASSERT_TRUE(UIAlertView::tapButtonWithTitle("OK"));
    EXPECT_EQ(delegate->log.events.back(), "did dismiss 1");
    EXPECT_FALSE(owned);
    EXPECT_FALSE(weak.get());
}

TEST_F(AlertLifetime, TheDelegateIsNotOwned)
{
    auto alert = makeAlert(nullptr);
    runtime::WeakPtr<runtime::Object> weakDelegate;
    {
        auto delegate = RecordingAlertDelegate::create();
        weakDelegate = delegate;
        alert->setDelegate(delegate.ptr());
    }
    EXPECT_FALSE(weakDelegate.get());
    EXPECT_EQ(alert->delegate(), nullptr);
    alert->show();
    ASSERT_TRUE(UIAlertView::tapButtonWithTitle("OK"));
}

TEST_F(AlertStructure, ASubclassFindsTheStockBackgroundAsAPlainImageViewWithTagZero)
{
    auto alert = DrawnPanelAlert::create("Safari");
    alert->show();
    alert->layoutIfNeeded();
    ASSERT_NE(alert->cleared, nullptr);
    EXPECT_TRUE(alert->imageHadPanel);
    EXPECT_EQ(alert->cleared, alert->subviews().front().ptr());
    EXPECT_EQ(alert->cleared->image(), nullptr);
    EXPECT_EQ(alert->cleared->frame(), alert->bounds());

    // Rendering draws the subclass's panel and keeps the cleared background empty.
    auto screen = UIApplication::sharedApplication().renderScreen(1);
    EXPECT_TRUE(screen);
    EXPECT_GE(alert->drawCount, 1);
    EXPECT_EQ(alert->cleared->image(), nullptr);
}

TEST_F(AlertStructure, TheStockBackgroundIsTheDrawnPanelAtTheAlertsSize)
{
    auto alert = makeAlert(nullptr);
    alert->show();
    alert->layoutIfNeeded();
    auto* background = runtime::dynamicCast<UIImageView>(alert->subviews().front().ptr());
    ASSERT_NE(background, nullptr);
    EXPECT_TRUE(background->isMemberOfClass(UIImageView::staticClass()));
    EXPECT_EQ(background->tag(), 0);
    ASSERT_NE(background->image(), nullptr);
    EXPECT_EQ(background->image()->size(), alert->bounds().size);
    // The panel is an opaque-ish navy in the middle, transparent in the very corner.
    auto pixels = background->image()->CGImage();
    auto middle = pixels.pixelAt(pixels.width() / 2, pixels.height() / 2);
    EXPECT_GT(middle.alpha, 200);
    EXPECT_GT(middle.blue, middle.red);
    EXPECT_EQ(pixels.pixelAt(0, 0).alpha, 0);
}

TEST_F(AlertStructure, ButtonsAreControlSubviewsAndAFingerOnOneClicksIt)
{
    auto delegate = RecordingAlertDelegate::create();
    auto alert = UIAlertView::create(std::string("Title"), std::nullopt, delegate.ptr(), std::string("Cancel"), { "One", "Two" });
    EXPECT_EQ(alert->numberOfButtons(), 3);
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(2), "Two");
    EXPECT_EQ(alert->buttonTitleAtIndex(3), std::nullopt);
    alert->show();
    alert->layoutIfNeeded();

    int controls = 0;
    for (auto& subview : alert->subviews()) {
        if (subview->isKindOf<UIControl>())
            ++controls;
    }
    EXPECT_EQ(controls, 3);

    UIButton* two = alert->buttonAtIndex(2);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->superview(), alert.ptr());
    CGRect frame = two->convertRectToView(two->bounds(), nullptr);
    delegate->log.clear();
    tapScreen({ CGRectGetMidX(frame), CGRectGetMidY(frame) });
    EXPECT_EQ(delegate->log.events, (std::vector<std::string> { "clicked 2", "will dismiss 2", "did dismiss 2" }));
}

TEST_F(AlertStructure, AFingerThatSlidesOffAButtonClicksNothing)
{
    auto delegate = RecordingAlertDelegate::create();
    auto alert = makeAlert(delegate.ptr());
    alert->show();
    alert->layoutIfNeeded();
    delegate->log.clear();
    CGRect frame = alert->buttonAtIndex(1)->convertRectToView(alert->buttonAtIndex(1)->bounds(), nullptr);
    auto& application = UIApplication::sharedApplication();
    application.injectTouch(UITouchPhaseBegan, { CGRectGetMidX(frame), CGRectGetMidY(frame) });
    application.injectTouch(UITouchPhaseMoved, { CGRectGetMidX(frame), CGRectGetMidY(frame) - 120 });
    application.injectTouch(UITouchPhaseEnded, { CGRectGetMidX(frame), CGRectGetMidY(frame) - 120 });
    EXPECT_TRUE(delegate->log.events.empty());
    EXPECT_TRUE(alert->isVisible());
}

TEST_F(AlertStructure, SizesToItsContentCentredOnTheScreen)
{
    auto alert = makeAlert(nullptr);
    alert->show();
    CGRect frame = alert->frame();
    EXPECT_EQ(frame.size.width, UIAlertView::width);
    EXPECT_NEAR(CGRectGetMidX(frame), 160, 1);
    EXPECT_NEAR(CGRectGetMidY(frame), 240, 1);
    EXPECT_EQ(alert->titleLabel().text(), "Title");
    EXPECT_EQ(alert->messageLabel().text(), "A message");

    // Text above the band that an owner may fill, buttons below it, all inside the alert.
    CGFloat textBottom = CGRectGetMaxY(alert->messageLabel().frame());
    CGRect button = alert->buttonAtIndex(1)->frame();
    EXPECT_LE(textBottom, frame.size.height - 65);
    EXPECT_GE(button.origin.y, frame.size.height - 65);
    EXPECT_LE(CGRectGetMaxY(button), frame.size.height);
    // Two buttons share a row, cancel on the left.
    EXPECT_EQ(alert->buttonAtIndex(0)->frame().origin.y, button.origin.y);
    EXPECT_LT(alert->buttonAtIndex(0)->frame().origin.x, button.origin.x);

    // A long message grows the alert.
    auto longer = UIAlertView::create(std::string("Title"), std::string(400, 'w') + " end", nullptr, std::string("OK"));
    longer->show();
    EXPECT_GT(longer->frame().size.height, frame.size.height);
    EXPECT_LE(longer->frame().size.height, 480);
}

TEST_F(AlertStructure, LayoutNeverMovesButtonsThatTheOwnerMoved)
{
    // An owner may grow the alert and push its buttons down (an embedded table does): a later
    // layout pass must leave them where they were put.
    auto alert = makeAlert(nullptr);
    alert->show();
    alert->layoutIfNeeded();
    CGRect frame = alert->frame();
    CGPoint centre = alert->center();
    frame.size.height += 120;
    alert->setFrame(frame);
    alert->setCenter(centre);
    for (auto& subview : alert->subviews()) {
        if (subview->isKindOf<UIControl>())
            subview->setFrame(CGRectOffset(subview->frame(), 0, 120));
    }
    CGRect moved = alert->buttonAtIndex(1)->frame();
    alert->layoutIfNeeded();
    EXPECT_EQ(alert->buttonAtIndex(1)->frame(), moved);
    auto* background = static_cast<UIImageView*>(alert->subviews().front().ptr());
    EXPECT_EQ(background->frame().size, alert->bounds().size);
    EXPECT_EQ(background->image()->size(), alert->bounds().size);
}

TEST_F(AlertStructure, AMessageTooLongForTheScreenScrollsWholeInsideIt)
{
    std::string message;
    for (int paragraph = 1; paragraph <= 30; ++paragraph)
        message += "    Paragraph " + std::to_string(paragraph) + " of a long first-run note. \n \n";
    message += "The last line.";
    auto alert = UIAlertView::create(std::string("Information"), message, nullptr, std::string("Dismiss"), { "More", "Less" });
    alert->show();

    // The alert, and everything in it, stays on the screen; the text sits between title and buttons.
    CGRect frame = alert->frame();
    EXPECT_TRUE(CGRectContainsRect(UIScreen::mainScreen().bounds(), frame)) << frame.origin.y << " " << frame.size.height;
    UIScrollView* scroll = alert->messageScrollView();
    ASSERT_TRUE(scroll);
    EXPECT_EQ(scroll->superview(), alert.ptr());
    EXPECT_EQ(alert->messageLabel().superview(), scroll);
    EXPECT_GE(scroll->frame().origin.y, CGRectGetMaxY(alert->titleLabel().frame()));
    for (int index = 0; index < alert->numberOfButtons(); ++index) {
        CGRect button = alert->buttonAtIndex(index)->frame();
        EXPECT_GE(button.origin.y, CGRectGetMaxY(scroll->frame()));
        EXPECT_LE(CGRectGetMaxY(button), frame.size.height);
    }
    // The stock structure holds: background first, buttons tagged index + 1.
    EXPECT_EQ(alert->subviews().front()->tag(), 0);
    EXPECT_EQ(alert->buttonAtIndex(2)->tag(), 3);

    // The label holds every line of the text, and the content holds the label.
    UILabel& label = alert->messageLabel();
    EXPECT_EQ(label.text(), message);
    CGFloat wholeText = sizeWithFontConstrainedToSize(message, label.font(), { label.frame().size.width, 100000 },
        UILineBreakModeWordWrap).height;
    EXPECT_GE(label.frame().size.height, wholeText);
    EXPECT_GT(wholeText, scroll->bounds().size.height);
    EXPECT_GE(scroll->contentSize().height, CGRectGetMaxY(label.frame()));

    // A finger dragging the text up, again and again, brings its end into view.
    CGRect area = scroll->convertRectToView(scroll->bounds(), nullptr);
    auto& application = UIApplication::sharedApplication();
    for (int drag = 0; drag < 20; ++drag) {
        CGFloat x = CGRectGetMidX(area);
        application.injectTouch(UITouchPhaseBegan, { x, CGRectGetMaxY(area) - 5 });
        application.injectTouch(UITouchPhaseMoved, { x, CGRectGetMidY(area) });
        application.injectTouch(UITouchPhaseMoved, { x, CGRectGetMinY(area) + 5 });
        application.injectTouch(UITouchPhaseEnded, { x, CGRectGetMinY(area) + 5 });
    }
    EXPECT_TRUE(alert->isVisible()) << "dragging the text pressed no button";
    EXPECT_GT(scroll->contentOffset().y, 0);
    EXPECT_LE(CGRectGetMaxY(label.frame()), CGRectGetMaxY(scroll->bounds()));
    EXPECT_GE(CGRectGetMaxY(label.frame()) - label.font().lineHeight(), scroll->bounds().origin.y) << "the last line is in view";

    // A message that fits again puts the label back among the alert's own subviews.
    alert->setMessage(std::string("Short now."));
    EXPECT_FALSE(alert->messageScrollView());
    EXPECT_EQ(alert->messageLabel().superview(), alert.ptr());
    EXPECT_LT(alert->frame().size.height, frame.size.height);
}

TEST_F(AlertStack, OnlyTheTopAlertShowsAndTheOneBelowReturns)
{
    auto first = UIAlertView::create(std::string("First"), std::nullopt, nullptr, std::string("OK"));
    auto second = UIAlertView::create(std::string("Second"), std::string("msg"), nullptr, std::string("Cancel"), { "Kill" });
    first->show();
    second->show();
    auto shown = UIAlertView::visibleAlerts();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].ptr(), first.ptr());
    EXPECT_EQ(shown[1].ptr(), second.ptr());
    EXPECT_TRUE(first->isHidden());
    EXPECT_FALSE(second->isHidden());

    // The dump reads class, title, message and buttons.
    EXPECT_EQ(shown[1]->className(), "UIAlertView");
    EXPECT_EQ(shown[1]->message(), "msg");
    EXPECT_EQ(shown[1]->buttonTitleAtIndex(1), "Kill");

    EXPECT_FALSE(UIAlertView::tapButtonWithTitle("OK")); // the first alert's button is covered
    ASSERT_TRUE(UIAlertView::tapButtonWithTitle("Kill"));
    ASSERT_EQ(UIAlertView::visibleAlerts().size(), 1u);
    EXPECT_FALSE(first->isHidden());
    ASSERT_TRUE(UIAlertView::tapButtonWithTitle("OK"));
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
}

TEST_F(AlertStack, TheAlertWindowIsModalAndGoesWithTheLastAlert)
{
    auto alert = makeAlert(nullptr);
    alert->show();
    auto windows = UIApplication::sharedApplication().windows();
    ASSERT_FALSE(windows.empty());
    UIWindow* top = windows.back();
    EXPECT_EQ(top->windowLevel(), UIWindowLevelAlert);
    EXPECT_EQ(alert->window(), top);
    // A touch far from the alert lands in the alert window, not in the window below.
    EXPECT_NE(UIApplication::sharedApplication().injectTouch(UITouchPhaseBegan, { 5, 5 }), nullptr);
    UIApplication::sharedApplication().injectTouch(UITouchPhaseCancelled, { 5, 5 });
    EXPECT_EQ(window().touchedView(), nullptr);

    ASSERT_TRUE(UIAlertView::tapButtonWithTitle("Cancel"));
    for (auto* shown : UIApplication::sharedApplication().windows())
        EXPECT_NE(shown->windowLevel(), UIWindowLevelAlert);
}

}
