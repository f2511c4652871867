#pragma once

// The Settings application's own first screen: a list with an entry for every preference bundle
// installed in /System/Library/PreferenceBundles. A bundle is a folder "<Name>.bundle" with an
// Info.plist naming CFBundleExecutable, NSPrincipalClass and, for the entry's text,
// CFBundleDisplayName (else the folder's name). Tapping an entry loads the bundle's executable once
// per process (its load-time functions run then), makes its principal class (a PSListController)
// for the content size and pushes it. An entry whose bundle cannot be loaded shows an alert saying
// so and opens nothing.

#include <preferences/PSListController.h>

#include <string>
#include <string_view>

namespace preferences {

class PrefsListController : public PSListController {
    TORVANE_OBJECT(PrefsListController, PSListController)
public:
    static runtime::Ref<PrefsListController> create();

    bool initForContentSize(CGSize size) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;

    // Opens the entry with this text as a tap does; false when there is no such entry or its bundle
    // could not be opened.
    bool openEntryNamed(std::string_view displayName);

protected:
    PrefsListController();

private:
    bool openBundle(PSSpecifier& entry);
};

}
