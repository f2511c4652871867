// A preference bundle's executable for the Settings list's tests: loading it registers its
// principal class, and its load-time constructor appends a line to /var/log/bundle-loads on the
// device, so a test counts how often it was loaded.
#include <foundation/DeviceRoot.h>
#include <preferences/PSClassFactory.h>
#include <preferences/PSListController.h>

#include <cstdio>

namespace {

class TestBundleRootController final : public preferences::PSListController {
    TORVANE_OBJECT(TestBundleRootController, preferences::PSListController)
public:
    static runtime::Ref<TestBundleRootController> create() { return runtime::adoptRef(*new TestBundleRootController); }
    bool initForContentSize(preferences::CGSize size) override
    {
        PSListController::initForContentSize(size);
        setSpecifiers(loadSpecifiersFromPlistName("Root", this));
        return true;
    }
};

TORVANE_DEFINE_CLASS(TestBundleRootController)
PS_REGISTER_CONTROLLER_CLASS(TestBundleRootController)

__attribute__((constructor)) void recordLoad()
{
    if (auto record = foundation::DeviceRoot::resolve("/var/log/bundle-loads")) {
        if (FILE* file = std::fopen(record->c_str(), "a")) {
            std::fputs("loaded\n", file);
            std::fclose(file);
        }
    }
}

}
