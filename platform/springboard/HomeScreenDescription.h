#pragma once

// What the home screen holds when SpringBoard starts: the installed applications and where their
// icons go. The host reads it from the device (see the host's DeviceDescription); tests build it
// directly.

#include <string>
#include <utility>
#include <vector>

namespace springboard {

struct HomeScreenDescription {
    struct Application {
        std::string bundleIdentifier;
        std::string name;
        int badge { 0 };
    };

    std::vector<Application> applications;
    // Each page's items in order: bundle identifiers, and "folder:<Name>" for a folder's icon.
    std::vector<std::vector<std::string>> pages;
    std::vector<std::string> dock;
    // Folder name → the bundle identifiers inside, in order.
    std::vector<std::pair<std::string, std::vector<std::string>>> folders;

    // The standard device: Phone, Mail and Safari in the dock; Photos, a "Utilities" folder
    // (Calendar, Clock, Notes), Camera, Maps, Cydia and iFile on the first page.
    static HomeScreenDescription standard();

    static constexpr const char* folderPrefix = "folder:";
};

}
