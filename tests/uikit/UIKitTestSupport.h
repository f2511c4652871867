#pragma once

// Shared set-up of the uikit tests: the run loop on a virtual clock with nothing left over from
// earlier tests, and small helpers for geometry and pictures.

#include <foundation/Clock.h>
#include <foundation/RunLoop.h>
#include <graphics/Image.h>
#include <uikit/UIGeometry.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace graphics {

inline std::ostream& operator<<(std::ostream& out, const CGRect& r)
{
    return out << "{{" << r.origin.x << ", " << r.origin.y << "}, {" << r.size.width << ", " << r.size.height << "}}";
}

inline std::ostream& operator<<(std::ostream& out, const CGPoint& p)
{
    return out << "{" << p.x << ", " << p.y << "}";
}

inline std::ostream& operator<<(std::ostream& out, const CGSize& s)
{
    return out << "{" << s.width << ", " << s.height << "}";
}

}

namespace uikit::testing {

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
    void runPendingWork() { foundation::RunLoop::main().runUntilIdle(); }

    std::shared_ptr<foundation::VirtualClock> m_clock;
};

inline ::testing::AssertionResult pixelNear(graphics::PixelRGBA actual, graphics::PixelRGBA expected, int tolerance = 3)
{
    auto close = [&](int a, int b) { return std::abs(a - b) <= tolerance; };
    if (close(actual.red, expected.red) && close(actual.green, expected.green) && close(actual.blue, expected.blue)
        && close(actual.alpha, expected.alpha))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "rgba(" << int(actual.red) << ", " << int(actual.green) << ", " << int(actual.blue)
                                         << ", " << int(actual.alpha) << ")";
}

}
