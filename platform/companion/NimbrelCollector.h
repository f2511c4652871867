#pragma once

// Nimbrel's one job: gather the home screen's applications and folders into
// /var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist, with an icon PNG of each in
// /var/mobile/Library/Nimbrel/Icons/, so other processes can show them.
//
// The file's root dictionary holds ApplicationData: one record per home-screen item (pages, dock
// and folder contents, in that order; folders themselves too):
//   BundleID  the bundle identifier (a folder's own node identifier for folders)
//   AppName   the name under the icon
//   IconPath  device path of the icon PNG
//   IsFolder  YES for folders
//
// A collection runs in six stages, one per main run-loop turn, and posts the Darwin notification
// qelvo.nimbrel.check.on.apps after each, then qelvo.nimbrel.apps.loaded once the file is in
// place. A request arriving while a collection runs is folded into it (the collection starts over
// when it is done). Darwin notifications of one name may be merged on the way, so an observer can
// see fewer than six stage posts; it always sees the final one after the file is written.

#include <foundation/NSMutableArray.h>
#include <foundation/RunLoop.h>
#include <foundation/Seconds.h>
#include <runtime/RefPtr.h>

#include <cstddef>
#include <string>
#include <vector>

namespace companion {

class NimbrelCollector {
public:
    static constexpr const char* dataPath = "/var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist";
    static constexpr const char* iconFolder = "/var/mobile/Library/Nimbrel/Icons";
    static constexpr const char* reloadNotification = "qelvo.nmbl.reloadinfo";
    static constexpr const char* stageNotification = "qelvo.nimbrel.check.on.apps";
    static constexpr const char* loadedNotification = "qelvo.nimbrel.apps.loaded";
    static constexpr size_t stageCount = 6;

    static NimbrelCollector& shared();

    // Starts a collection on the next run-loop turn (or marks one to follow the running one).
    void requestCollection();
    bool isCollecting() const { return m_collecting; }
    // How many collections have finished (for tests).
    size_t completedCollections() const { return m_completed; }

    // Runs every stage at once, without the run loop and without posting (tests).
    bool collectNow();

    // Time each step of a collection waits for (its six stages and the final announcement); zero,
    // the default, runs one step per run-loop turn. A simulated device sets it so that a scenario
    // can watch the stages go by on the virtual clock.
    void setStageInterval(foundation::Seconds interval) { m_stageInterval = interval; }

private:
    NimbrelCollector() = default;
    struct Item {
        std::string identifier;
        std::string name;
        std::string iconPath;
        bool isFolder { false };
        runtime::RefPtr<runtime::Object> image; // uikit::UIImage
    };
    void scheduleStep(foundation::RunLoop::Function step);
    void runStage(size_t stage);
    void finishCollection();
    void gather();
    void writeIcons(size_t part, size_t parts);
    bool writeData();

    std::vector<Item> m_items;
    bool m_collecting { false };
    bool m_again { false };
    size_t m_completed { 0 };
    foundation::Seconds m_stageInterval { 0 };
};

}
