#pragma once

// Puts the process's run loop on a virtual clock for one test, with no work left over from
// earlier tests.

#include <foundation/Clock.h>
#include <foundation/RunLoop.h>

#include <gtest/gtest.h>

namespace quartzcore::testing {

class VirtualTimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_clock = foundation::VirtualClock::create();
        foundation::RunLoop::main().discardPendingWork();
        foundation::RunLoop::main().setClock(m_clock);
    }
    void TearDown() override { foundation::RunLoop::main().discardPendingWork(); }

    void advance(double seconds) { foundation::RunLoop::main().advanceBy(foundation::Seconds(seconds)); }

    std::shared_ptr<foundation::VirtualClock> m_clock;
};

}
