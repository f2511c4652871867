#pragma once

#include <runtime/Object.h>

#include <string>
#include <string_view>

namespace activator {

// Where the device was when an event fired; assignments here do not depend on it, it is only
// passed on to listeners.
inline constexpr std::string_view LAEventModeSpringBoard = "springboard";
inline constexpr std::string_view LAEventModeApplication = "application";
inline constexpr std::string_view LAEventModeLockScreen = "lockscreen";

// One firing of an event ("a double tap on the status bar"). A listener that acts on it marks it
// handled, which tells the system not to do its own thing for the gesture.
class LAEvent final : public runtime::Object {
    TORVANE_OBJECT(LAEvent, runtime::Object)
public:
    static runtime::Ref<LAEvent> eventWithName(std::string name, std::string mode = std::string(LAEventModeSpringBoard));

    const std::string& name() const { return m_name; }
    const std::string& mode() const { return m_mode; }
    bool isHandled() const { return m_handled; }
    void setHandled(bool handled) { m_handled = handled; }

    std::string description() const override;

private:
    LAEvent(std::string name, std::string mode)
        : m_name(std::move(name))
        , m_mode(std::move(mode))
    {
    }

    std::string m_name;
    std::string m_mode;
    bool m_handled { false };
};

}
