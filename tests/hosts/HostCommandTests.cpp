// The host's control requests, answered as the driver sees them (ControlServer::respond), and the
// springboard dump.

#include "SpringBoardTestSupport.h"

#include "DeviceDescription.h"
#include "SpringBoardCommands.h"

#include <springboard/SBIconController.h>

#include <foundation/LogSink.h>
#include <graphics/Image.h>
#include <hosts/common/ControlServer.h>
#include <uikit/UIAlertView.h>

#include <activator/LAActivator.h>

#include <filesystem>

using namespace springboard;
using springboard::testing::DeviceFixture;
using sim::protocol::Json;

namespace {

// Stands in for the quick killer: counts the events it receives and handles them.
class CountingListener : public runtime::Object, public activator::LAListener {
public:
    static runtime::Ref<CountingListener> create() { return runtime::adoptRef(*new CountingListener); }
    void activatorReceiveEvent(activator::LAActivator&, activator::LAEvent& event, const std::string&) override
    {
        ++received;
        event.setHandled(true);
    }
    int received { 0 };
};

class HostCommands : public DeviceFixture {
protected:
    void SetUp() override
    {
        DeviceFixture::SetUp();
        m_server = hosts::ControlServer::create("springboard", (root() / "sb.ctl").string());
        host::registerSpringBoardCommands(*m_server, boot());
    }
    void TearDown() override
    {
        m_server.reset();
        DeviceFixture::TearDown();
    }
    Json send(const std::string& line) { return Json::parse(m_server->respond(line)); }
    hosts::ControlServer& server() { return *m_server; }
    Json dump()
    {
        auto answer = send("dump");
        EXPECT_TRUE(answer.value("ok", false)) << answer.dump();
        return answer["dump"];
    }

private:
    std::unique_ptr<hosts::ControlServer> m_server;
};

}

TEST_F(HostCommands, DumpDescribesTheFreshHomeScreen)
{
    auto state = dump();
    EXPECT_EQ(state["switcher"], false);
    EXPECT_EQ(state["locked"], false);
    EXPECT_EQ(state["editing"], false);
    EXPECT_TRUE(state["openFolder"].is_null());
    EXPECT_TRUE(state["running"].is_null()) << "no add-on is loaded in this process";
    EXPECT_EQ(state["switcherIcons"], Json::array());
    EXPECT_EQ(state["alerts"], Json::array());
    EXPECT_TRUE(state["popup"].is_null());
    auto& icons = state["icons"];
    EXPECT_EQ(icons.size(), 12u) << "eleven applications and one folder";
    EXPECT_EQ(icons["com.apple.mobilesafari"]["location"], "dock");
    EXPECT_EQ(icons["com.apple.mobilesafari"]["name"], "Safari");
    EXPECT_EQ(icons["com.apple.mobilenotes"]["location"], "folder:Utilities");
    EXPECT_EQ(icons["Utilities"]["folder"], true);
    EXPECT_EQ(icons["Utilities"]["location"], "page0");
    EXPECT_EQ(icons["com.apple.Maps"]["state"], 0);
    EXPECT_TRUE(icons["com.apple.Maps"]["pid"].is_null());
    EXPECT_TRUE(icons["com.apple.Maps"]["indicator"].is_null());
}

TEST_F(HostCommands, LaunchQuitAndSwitcherShowInTheDump)
{
    auto launched = send("launch com.apple.Maps mb 2");
    ASSERT_TRUE(launched["ok"].get<bool>()) << launched.dump();
    EXPECT_GT(launched["pid"].get<int>(), 0);
    ASSERT_TRUE(send("launch com.apple.camera")["ok"].get<bool>());
    ASSERT_TRUE(settle());
    auto state = dump();
    EXPECT_EQ(state["icons"]["com.apple.Maps"]["state"], 2);
    EXPECT_EQ(state["icons"]["com.apple.camera"]["state"], 4);
    EXPECT_EQ(state["icons"]["com.apple.Maps"]["pid"], launched["pid"]);
    EXPECT_EQ(state["switcherIcons"], (Json { "com.apple.camera", "com.apple.Maps" }));

    EXPECT_TRUE(send("switcher show")["ok"].get<bool>());
    EXPECT_EQ(dump()["switcher"], true);
    EXPECT_TRUE(send("swipe up Maps")["ok"].get<bool>()) << "targets resolve in the bar while it shows";
    EXPECT_FALSE(send("swipe up Safari")["ok"].get<bool>()) << "Safari does not run, so it is not in the bar";
    EXPECT_TRUE(send("switcher hide")["ok"].get<bool>());

    ASSERT_TRUE(send("quit com.apple.Maps")["ok"].get<bool>());
    ASSERT_TRUE(settle());
    state = dump();
    EXPECT_EQ(state["icons"]["com.apple.Maps"]["state"], 1);
    EXPECT_TRUE(state["icons"]["com.apple.Maps"]["pid"].is_null());
    EXPECT_EQ(state["switcherIcons"], (Json { "com.apple.camera" }));
}

TEST_F(HostCommands, HomeScreenCommandsChangeTheDump)
{
    EXPECT_TRUE(send("folder open Utilities")["ok"].get<bool>());
    EXPECT_EQ(dump()["openFolder"], "Utilities");
    EXPECT_TRUE(send("touch Clock begin 29 30")["ok"].get<bool>());
    EXPECT_TRUE(send("touch move 29 10")["ok"].get<bool>());
    auto ended = send("touch end");
    EXPECT_EQ(ended["touched"], "SBIconView");
    EXPECT_TRUE(send("home")["ok"].get<bool>());
    EXPECT_TRUE(dump()["openFolder"].is_null());

    EXPECT_TRUE(send("badge com.apple.mobilemail 5")["ok"].get<bool>());
    EXPECT_EQ(dump()["icons"]["com.apple.mobilemail"]["badge"], 5);
    EXPECT_TRUE(send("badge Mail 0")["ok"].get<bool>());
    EXPECT_EQ(dump()["icons"]["com.apple.mobilemail"]["badge"], 0);
    EXPECT_TRUE(send("badge Clock 2")["ok"].get<bool>());
    EXPECT_TRUE(send("badge Notes 3")["ok"].get<bool>());
    EXPECT_EQ(dump()["icons"]["Utilities"]["badge"], 5) << "a folder shows its applications' badges added up";

    EXPECT_TRUE(send("edit start")["ok"].get<bool>());
    EXPECT_EQ(dump()["editing"], true);
    EXPECT_TRUE(send("folder open Utilities")["ok"].get<bool>());
    EXPECT_TRUE(send("home")["ok"].get<bool>());
    EXPECT_EQ(dump()["editing"], false) << "the home button ends editing first";
    EXPECT_EQ(dump()["openFolder"], "Utilities") << "and only that";
    EXPECT_TRUE(send("home")["ok"].get<bool>());
    EXPECT_TRUE(dump()["openFolder"].is_null());
    EXPECT_TRUE(send("edit start")["ok"].get<bool>());
    EXPECT_TRUE(send("edit stop")["ok"].get<bool>());
    EXPECT_TRUE(send("lock")["ok"].get<bool>());
    EXPECT_EQ(dump()["locked"], true);
    EXPECT_TRUE(send("unlock")["ok"].get<bool>());
    EXPECT_EQ(dump()["locked"], false);
}

TEST_F(HostCommands, MistakesAreRefusedWithAReason)
{
    auto unknown = send("swipe up Nowhere");
    EXPECT_FALSE(unknown["ok"].get<bool>());
    EXPECT_NE(unknown["error"].get<std::string>().find("Nowhere"), std::string::npos);
    EXPECT_FALSE(send("launch com.example.none")["ok"].get<bool>());
    EXPECT_FALSE(send("launch com.apple.Maps mb -3")["ok"].get<bool>());
    EXPECT_FALSE(send("quit com.apple.Maps")["ok"].get<bool>()) << "not running";
    EXPECT_FALSE(send("folder open Games")["ok"].get<bool>());
    EXPECT_FALSE(send("touch move 1 2")["ok"].get<bool>()) << "no touch in progress";
    // The shape of a request is checked by the command table, with the driver's own messages.
    EXPECT_EQ(send("swipe sideways Maps")["error"], "direction must be up|down, not 'sideways'");
    EXPECT_EQ(send("badge Maps three")["error"], "badge must be a number from 0, not 'three'");
    EXPECT_EQ(send("settings open")["error"], "unknown request 'settings'") << "served by the Settings application";
    EXPECT_NE(send("activator on")["error"].get<std::string>().find("not served by springboard"), std::string::npos);
    EXPECT_EQ(server().unservedCommands(), std::vector<std::string>()) << "every SpringBoard command of the table has a handler";
    EXPECT_FALSE(send("swipe up Clock")["ok"].get<bool>()) << "inside a closed folder";
    auto popup = send("popup kill Maps");
    EXPECT_FALSE(popup["ok"].get<bool>());
    EXPECT_NE(popup["error"].get<std::string>().find("no quick-killer popup is shown"), std::string::npos);
}

TEST_F(HostCommands, AlertsAreListedAndTappedByButtonTitle)
{
    auto first = uikit::UIAlertView::create("First", "Underneath", nullptr, "OK");
    first->show();
    auto second = uikit::UIAlertView::create("Kill Maps?", "Currently using 12.00 MBs of RAM", nullptr, "Cancel", { "Kill" });
    second->show();
    auto alerts = dump()["alerts"];
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0]["title"], "First");
    EXPECT_EQ(alerts[1]["class"], "UIAlertView");
    EXPECT_EQ(alerts[1]["message"], "Currently using 12.00 MBs of RAM");
    EXPECT_EQ(alerts[1]["buttons"], (Json { "Cancel", "Kill" }));

    EXPECT_FALSE(send("alert tap OK")["ok"].get<bool>()) << "only the topmost alert's buttons can be tapped";
    EXPECT_TRUE(send("alert tap Cancel")["ok"].get<bool>());
    alerts = dump()["alerts"];
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]["title"], "First");
    EXPECT_TRUE(send("alert tap OK")["ok"].get<bool>());
    EXPECT_EQ(dump()["alerts"], Json::array());
    EXPECT_FALSE(send("alert tap OK")["ok"].get<bool>());
}

TEST_F(HostCommands, ActivatorEventsReachTheAssignedListener)
{
    std::filesystem::create_directories(root() / "var/mobile/Library/Preferences");
    auto listener = CountingListener::create();
    auto& library = activator::LAActivator::sharedInstance();
    EXPECT_NE(send("activator assign libactivator.statusbar.hold")["error"].get<std::string>().find("no Activator listener"), std::string::npos);
    // The host assigns whichever listener the loaded add-on registered, by no name of its own.
    library.registerListener(*listener, "com.example.listener");

    auto unassigned = send("activator send libactivator.statusbar.hold");
    ASSERT_TRUE(unassigned["ok"].get<bool>()) << unassigned.dump();
    EXPECT_EQ(unassigned["handled"], false);
    EXPECT_EQ(listener->received, 0);

    EXPECT_EQ(send("activator assign libactivator.statusbar.hold")["listener"], "com.example.listener");
    auto sent = send("activator send libactivator.statusbar.hold");
    EXPECT_EQ(sent["handled"], true);
    EXPECT_EQ(listener->received, 1);
    library.unregisterListener("com.example.listener");
}

TEST_F(HostCommands, ScreenshotWritesTheScreenAsPNG)
{
    auto path = (root() / "shot.png").string();
    auto answer = send("screenshot " + path);
    ASSERT_TRUE(answer["ok"].get<bool>()) << answer.dump();
    EXPECT_EQ(answer["width"], 640);
    EXPECT_EQ(answer["height"], 960);
    auto image = graphics::CGImageCreateWithPNGFile(path);
    EXPECT_EQ(image.width(), 640);
    EXPECT_EQ(image.height(), 960);

    // The viewer's frames come at the scale the page asks for; one that did not change is not drawn.
    auto frame = (root() / "frame.png").string();
    auto first = send("frame 0 " + frame + " 1");
    ASSERT_TRUE(first["changed"].get<bool>()) << first.dump();
    EXPECT_EQ(graphics::CGImageCreateWithPNGFile(frame).width(), 320);
    std::filesystem::remove(frame);
    auto again = send("frame " + std::to_string(first["generation"].get<uint64_t>()) + " " + frame + " 1");
    EXPECT_FALSE(again["changed"].get<bool>()) << again.dump();
    EXPECT_FALSE(std::filesystem::exists(frame));
    EXPECT_TRUE(send("frame 0 " + frame + " 3").contains("error")) << "1 or 2 pixels a point";
}

TEST(DeviceDescription, ReadsTheDriversLayout)
{
    auto json = Json::parse(R"({
        "applications": [ { "bundleId": "com.a", "name": "A", "location": "dock", "badge": 2 },
                          { "bundleId": "com.b", "name": "B", "location": "folder:Stuff", "badge": 0 } ],
        "dock": [ "com.a" ], "pages": [ [ "folder:Stuff" ] ], "folders": { "Stuff": [ "com.b" ] } })");
    std::string reason;
    auto description = host::parseDeviceDescription(json, &reason);
    ASSERT_TRUE(description) << reason;
    ASSERT_EQ(description->applications.size(), 2u);
    EXPECT_EQ(description->applications[0].badge, 2);
    EXPECT_EQ(description->dock, std::vector<std::string> { "com.a" });
    ASSERT_EQ(description->folders.size(), 1u);
    EXPECT_EQ(description->folders[0].second, std::vector<std::string> { "com.b" });

    std::string error;
    EXPECT_FALSE(host::parseDeviceDescription(Json::parse(R"({ "applications": [ { "name": "no id" } ] })"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(host::parseDeviceDescription(Json::array()));
}
