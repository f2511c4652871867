#include "TweakTestSupport.h"

#include <AddOnNotifications.h>
#include <Dashmere.h>
#include <GlowImageView.h>
#include <Hooks.h>
#include <PreviewCapture.h>
#include <SavedSwipeSettings.h>
#include <SwitcherBarState.h>

#include <foundation/Clock.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/RunLoop.h>
#include <runtime/Class.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBIconImageContainerView.h>
#include <springboard/SBIconImageView.h>
#include <springboard/SBIconLabelImageView.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>
#include <springboard/SBShowcaseController.h>
#include <uikit/NSCoding.h>
#include <uikit/UIGraphics.h>

using namespace tweak_test;
using namespace springboard;
using tweak::GlowImageView;
using tweak::PreviewCapture;
using tweak::SavedSwipeSettings;

namespace {

// An icon-image view of a kind the preview capture must not take for the plain one.
class BadgedIconImageView final : public SBIconImageView {
    TORVANE_OBJECT(BadgedIconImageView, SBIconImageView)
public:
    static runtime::Ref<BadgedIconImageView> create() { return runtime::adoptRef(*new BadgedIconImageView); }

private:
    BadgedIconImageView()
        : SBIconImageView(uikit::CGRectZero)
    {
    }
};

TORVANE_DEFINE_CLASS(BadgedIconImageView)
TORVANE_ARCHIVABLE_CLASS(BadgedIconImageView, BadgedIconImageView::create())

runtime::RefPtr<uikit::UIImage> blankImage(uikit::CGFloat side)
{
    uikit::UIGraphicsBeginImageContext({ side, side });
    auto image = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return image;
}

// A home screen of three applications with the add-on's hooks in place, on a virtual clock.
class Indicators : public DeviceTest {
protected:
    static void SetUpTestSuite() { tweak::installHooks(); }

    void SetUp() override
    {
        DeviceTest::SetUp();
        foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
        SavedSwipeSettings::loadReloadAllDMRSettings();
        m_model = SBIconModel::create();
        m_applications = SBApplicationController::create();
        SBApplicationController::setSharedInstance(m_applications);
        for (auto [identifier, name] : { std::pair { "com.apple.mobileslideshow", "Photos" }, { "com.apple.Maps", "Maps" }, { "com.apple.mobilemail", "Mail" } })
            m_model->addApplicationIconToPage(SBApplicationIcon::create(m_applications->addApplication(identifier, name)), 0);
        SBIconViewMap::setSharedMaps(SBIconViewMap::create(SBIconViewMap::Kind::HomeScreen, *m_model),
            SBIconViewMap::create(SBIconViewMap::Kind::Switcher, *m_model));
        m_updates = foundation::NSNotificationCenter::defaultCenter().addObserver(tweak::AddOnNotification::applicationStateChanged, nullptr,
            [this](foundation::NSNotification& notification) {
                auto* change = runtime::dynamicCast<foundation::NSDictionary>(notification.object().get());
                ASSERT_TRUE(change);
                m_posted.push_back(change->objectForKey(tweak::AddOnNotification::bundleIdentifierKey)->description() + (change->objectForKey(tweak::AddOnNotification::fadeInKey)->description() == "1" ? " in" : " out"));
            });
    }
    void TearDown() override
    {
        for (auto* identifier : { "com.apple.mobileslideshow", "com.apple.Maps", "com.apple.mobilemail" })
            application(identifier).setApplicationState(SBApplicationStateStopped);
        m_showcase->setHidden(true);
        SBIconViewMap::setSharedMaps(nullptr, nullptr);
        SBApplicationController::setSharedInstance(nullptr);
        DeviceTest::TearDown();
    }

    SBApplication& application(const char* identifier) { return *m_applications->applicationWithBundleIdentifier(identifier); }
    SBIconView& mappedView(const char* identifier)
    {
        return *SBIconViewMap::homescreenMap()->mappedIconViewForIcon(m_model->applicationIconForDisplayIdentifier(identifier));
    }
    std::vector<std::string> running() const { return texts(*SavedSwipeSettings::allRunningApplications()); }

    runtime::RefPtr<SBIconModel> m_model;
    runtime::RefPtr<SBApplicationController> m_applications;
    runtime::Ref<SBShowcaseController> m_showcase = SBShowcaseController::create();
    foundation::ObserverToken m_updates;
    std::vector<std::string> m_posted;
};

}

TEST_F(Indicators, StateHookKeepsTheRunningListInStartOrderAndTellsTheIndicators)
{
    application("com.apple.Maps").setApplicationState(SBApplicationStateBackground);
    application("com.apple.mobilemail").setApplicationState(SBApplicationStateForeground);
    // Coming to the front again neither duplicates nor moves an entry.
    application("com.apple.Maps").setApplicationState(SBApplicationStateForeground);
    EXPECT_EQ(running(), (std::vector<std::string> { "com.apple.Maps", "com.apple.mobilemail" }));

    // Started while the switcher bar shows: listed, but no indicator is told.
    m_showcase->setHidden(false);
    EXPECT_TRUE(tweak::switcherBarIsShowing());
    application("com.apple.mobileslideshow").setApplicationState(SBApplicationStateBackground);
    EXPECT_EQ(running(), (std::vector<std::string> { "com.apple.Maps", "com.apple.mobilemail", "com.apple.mobileslideshow" }));
    m_showcase->setHidden(true);

    application("com.apple.Maps").setApplicationState(SBApplicationStateStopped);
    EXPECT_EQ(running(), (std::vector<std::string> { "com.apple.mobilemail", "com.apple.mobileslideshow" }));
    // The list is the add-on's own: the folder filter leaves the never-ended Mail out.
    EXPECT_EQ(texts(*SavedSwipeSettings::getFolderArray()), (std::vector<std::string> { "com.apple.mobileslideshow" }));
    EXPECT_EQ(m_posted, (std::vector<std::string> { "com.apple.Maps in", "com.apple.mobilemail in", "com.apple.Maps in", "com.apple.Maps out" }));
}

TEST_F(Indicators, DelayedShowDiesWithItsIconView)
{
    size_t observersBefore = foundation::NSNotificationCenter::defaultCenter().observerCount();
    auto view = runtime::RefPtr<SBIconView>(&mappedView("com.apple.Maps"));
    runtime::WeakPtr<GlowImageView> indicator(GlowImageView::indicatorOf(*view));
    ASSERT_TRUE(indicator.get());
    application("com.apple.Maps").setApplicationState(SBApplicationStateBackground);

    // The view leaves the screen before the show is due: the indicator goes with it and its show
    // never runs.
    SBIconViewMap::setSharedMaps(nullptr, nullptr);
    view = nullptr;
    EXPECT_FALSE(indicator.get());
    foundation::RunLoop::main().advanceBy(foundation::Seconds(1));
    EXPECT_EQ(foundation::NSNotificationCenter::defaultCenter().observerCount(), observersBefore);
}

TEST_F(Indicators, PreviewTakesTheExactIconImageAndDropsAStaleLabel)
{
    m_model->applicationIconForDisplayIdentifier("com.apple.mobileslideshow")->setIconImage(blankImage(59));
    auto& photos = mappedView("com.apple.mobileslideshow");
    ASSERT_TRUE(GlowImageView::indicatorOf(photos)) << "the capture must copy a view that carries an indicator";
    PreviewCapture::saveNewPreviewImage();
    ASSERT_TRUE(fileExists(std::string(PreviewCapture::iconImagePath)));
    ASSERT_TRUE(fileExists(std::string(PreviewCapture::labelImagePath)));
    std::string plainIcon = readRawFile(std::string(PreviewCapture::iconImagePath));

    // A look-alike placed before the real icon image is passed over; without a label view the old
    // label file goes.
    auto impostor = BadgedIconImageView::create();
    impostor->setImage(blankImage(20));
    ASSERT_TRUE(impostor->image());
    auto* container = photos.iconImageView()->superview();
    container->insertSubviewAtIndex(impostor, 0);
    photos.labelView()->removeFromSuperview();
    PreviewCapture::saveNewPreviewImage();
    EXPECT_EQ(readRawFile(std::string(PreviewCapture::iconImagePath)), plainIcon);
    EXPECT_FALSE(fileExists(std::string(PreviewCapture::labelImagePath)));
}

TEST_F(Indicators, SettingsReloadRereadsOpacityFrameAndTheDisabledList)
{
    auto* indicator = GlowImageView::indicatorOf(mappedView("com.apple.Maps"));
    ASSERT_TRUE(indicator);
    application("com.apple.Maps").setApplicationState(SBApplicationStateBackground);
    foundation::RunLoop::main().advanceBy(foundation::Seconds(0.35));
    EXPECT_EQ(indicator->alpha(), 1);

    writePreferences(dictionary({ { "OpacityValue", text("0.5") }, { "MoveImageAboveIcon", boolean(true) } }));
    tweak::reloadDMRSettings(nullptr, nullptr, torvane::DarwinNotification::reloadSettings, nullptr, nullptr);
    EXPECT_FLOAT_EQ(indicator->alpha(), 0.5);
    EXPECT_EQ(indicator->frame().origin.y, -10);

    // Disabled while it shows: hidden at this reload, not only at the next start.
    writePreferences(dictionary({ { "DisableTheseApps", strings({ "com.apple.Maps" }) } }));
    tweak::reloadDMRSettings(nullptr, nullptr, torvane::DarwinNotification::reloadSettings, nullptr, nullptr);
    EXPECT_EQ(indicator->alpha(), 0);
}
