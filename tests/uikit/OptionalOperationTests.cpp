#include "AlertTestSupport.h"

#include <uikit/UIOptionalOperations.h>

using namespace uikit;
using uikit::testing::EventLog;

namespace {

// Takes the click and the dismissal by overriding them, and nothing else.
class ClickDelegate : public runtime::Object, public UIAlertViewDelegate {
    TORVANE_OBJECT(ClickDelegate, runtime::Object)
    TORVANE_ADOPTS(UIAlertViewDelegate)
public:
    static runtime::Ref<ClickDelegate> create() { return runtime::adoptRef(*new ClickDelegate); }
    void alertViewClickedButtonAtIndex(UIAlertView&, int index) override { log.add("clicked " + std::to_string(index)); }
    void alertViewDidDismissWithButtonIndex(UIAlertView&, int index) override { log.add("did dismiss " + std::to_string(index)); }
    EventLog log;

protected:
    ClickDelegate() = default;
};

TORVANE_DEFINE_CLASS(ClickDelegate)

// Adds the system's cancel to what its superclass takes, without naming the protocol again.
class CancelDelegate : public ClickDelegate {
    TORVANE_OBJECT(CancelDelegate, ClickDelegate)
public:
    static runtime::Ref<CancelDelegate> create() { return runtime::adoptRef(*new CancelDelegate); }
    void alertViewCancel(UIAlertView&) override { log.add("cancel"); }

private:
    CancelDelegate() = default;
};

TORVANE_DEFINE_CLASS(CancelDelegate)

// Implements the protocol but never names it.
class UnnamedDelegate : public runtime::Object, public UIAlertViewDelegate {
    TORVANE_OBJECT(UnnamedDelegate, runtime::Object)
public:
    static runtime::Ref<UnnamedDelegate> create() { return runtime::adoptRef(*new UnnamedDelegate); }
    void alertViewClickedButtonAtIndex(UIAlertView&, int) override { }

private:
    UnnamedDelegate() = default;
};

TORVANE_DEFINE_CLASS(UnnamedDelegate)

using OptionalOperations = uikit::testing::WidgetTest;

runtime::Ref<UIAlertView> showAlert(runtime::Object* delegate)
{
    auto alert = UIAlertView::create(std::string("Title"), std::string("A message"), delegate, std::string("Cancel"), { "OK" });
    alert->show();
    return alert;
}

TEST_F(OptionalOperations, AnOverrideIsTakenAndNothingElse)
{
    auto clicks = ClickDelegate::create();
    EXPECT_TRUE(clicks->respondsToSelector(runtime::sel("alertView:clickedButtonAtIndex:")));
    EXPECT_TRUE(respondsToOptional(clicks.ptr(), AlertViewDelegate::didDismiss));
    EXPECT_FALSE(respondsToOptional(clicks.ptr(), AlertViewDelegate::willPresent));
    EXPECT_FALSE(respondsToOptional(clicks.ptr(), AlertViewDelegate::cancel));

    auto alert = showAlert(clicks.ptr());
    ASSERT_TRUE(UIAlertView::tapButtonWithTitle("OK"));
    EXPECT_EQ(clicks->log.events, (std::vector<std::string> { "clicked 1", "did dismiss 1" }));

    // Without alertViewCancel the system's cancel clicks the cancel button.
    clicks->log.clear();
    alert = showAlert(clicks.ptr());
    alert->systemCancel();
    EXPECT_EQ(clicks->log.events, (std::vector<std::string> { "clicked 0", "did dismiss 0" }));
    EXPECT_FALSE(alert->isVisible());
}

TEST_F(OptionalOperations, ASubclassTakesWhatItAddsAndWhatItInherits)
{
    auto cancels = CancelDelegate::create();
    EXPECT_TRUE(respondsToOptional(cancels.ptr(), AlertViewDelegate::cancel));
    EXPECT_TRUE(respondsToOptional(cancels.ptr(), AlertViewDelegate::clickedButton));
    EXPECT_FALSE(respondsToOptional(cancels.ptr(), AlertViewDelegate::willDismiss));
    // The subclass's override does not leak into its superclass's method table.
    EXPECT_FALSE(ClickDelegate::staticClass().instancesRespondToSelector(AlertViewDelegate::cancel.selector()));

    auto alert = showAlert(cancels.ptr());
    alert->systemCancel();
    EXPECT_EQ(cancels->log.events, (std::vector<std::string> { "cancel" }));
    EXPECT_TRUE(alert->isVisible());
}

using OptionalOperationsDeathTest = OptionalOperations;

TEST_F(OptionalOperationsDeathTest, AProtocolImplementedButNotNamedStopsTheAsker)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto unnamed = UnnamedDelegate::create();
    EXPECT_DEATH(respondsToOptional(unnamed.ptr(), AlertViewDelegate::clickedButton), "UnnamedDelegate.*uikit::UIAlertViewDelegate");

    // An object that does not implement the protocol at all is simply not a taker.
    auto view = UIView::create();
    EXPECT_FALSE(respondsToOptional(view.ptr(), AlertViewDelegate::clickedButton));
}

}
