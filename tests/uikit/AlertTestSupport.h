#pragma once

// Shared set-up of the widget tests (alerts, sheets, tables, progress, navigation): virtual time, no
// alert or sheet left over from an earlier test, a screen-sized window to show things in, and a
// recorder of callbacks.

#include "UIKitTestSupport.h"

#include <uikit/UIActionSheet.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIApplication.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>

#include <string>
#include <vector>

namespace uikit::testing {

class WidgetTest : public VirtualTimeTest {
protected:
    void SetUp() override
    {
        VirtualTimeTest::SetUp();
        closeEverything();
        m_window = UIWindow::create({ { 0, 0 }, { 320, 480 } });
        m_window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        closeEverything();
        if (m_window) {
            m_window->setHidden(true);
            UIApplication::sharedApplication().windowWillGo(*m_window);
        }
        m_window = nullptr;
        VirtualTimeTest::TearDown();
    }

    static void closeEverything()
    {
        for (auto& alert : UIAlertView::visibleAlerts()) {
            alert->setDelegate(nullptr);
            alert->dismissWithClickedButtonIndex(-1, false);
        }
        for (auto& sheet : UIActionSheet::visibleSheets()) {
            sheet->setDelegate(nullptr);
            sheet->dismissWithClickedButtonIndex(-1, false);
        }
    }

    // A finger down and up at a point of the screen, through the application's touch delivery.
    static void tapScreen(CGPoint point)
    {
        auto& application = UIApplication::sharedApplication();
        application.injectTouch(UITouchPhaseBegan, point);
        application.injectTouch(UITouchPhaseEnded, point);
    }

    UIWindow& window() { return *m_window; }

    runtime::RefPtr<UIWindow> m_window;
};

// Collects what happened, in order, as short strings ("clicked 1").
struct EventLog {
    std::vector<std::string> events;
    void add(std::string event) { events.push_back(std::move(event)); }
    void clear() { events.clear(); }
};

}
