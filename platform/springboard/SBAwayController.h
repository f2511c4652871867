#pragma once

// The lock. lock is hookable; its own implementation covers the screen with the lock screen.
// unlock takes it away (not hookable).

#include <springboard/HookedOperations.h>

#include <runtime/Object.h>
#include <runtime/RefPtr.h>

#include <functional>

namespace springboard {

class SBAwayController : public runtime::Object {
    TORVANE_OBJECT(SBAwayController, runtime::Object)
public:
    static runtime::Ref<SBAwayController> create();
    static SBAwayController* sharedInstance();
    static void setSharedInstance(runtime::RefPtr<SBAwayController>);

    void lock();
    void unlock();
    bool isLocked() const { return m_locked; }

    // What locking and unlocking do to the screen; SpringBoard installs it.
    void setPresenter(std::function<void(bool locked)> presenter) { m_presenter = std::move(presenter); }

private:
    SBAwayController() = default;
    static void registerMethods(runtime::Class&);
    static void lockImplementation(runtime::Object* self, runtime::Selector);

    bool m_locked { false };
    std::function<void(bool)> m_presenter;
};

}
