#include "NimbrelCollector.h"

#include <foundation/NSData.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/RunLoop.h>
#include <notify/notify.h>
#include <springboard/SBFolder.h>
#include <springboard/SBIcon.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconViewMap.h>
#include <uikit/UIImage.h>

#include <algorithm>

namespace companion {

namespace {

// File names may not hold a slash; anything else a bundle identifier holds is kept.
std::string iconFileName(const std::string& identifier)
{
    std::string name = identifier;
    std::replace(name.begin(), name.end(), '/', '_');
    if (name.empty() || name == "." || name == "..")
        name = "_" + name;
    return name + ".png";
}

}

NimbrelCollector& NimbrelCollector::shared()
{
    static NimbrelCollector* collector = new NimbrelCollector;
    return *collector;
}

void NimbrelCollector::requestCollection()
{
    if (m_collecting) {
        m_again = true;
        return;
    }
    m_collecting = true;
    scheduleStep([this] { runStage(0); });
}

void NimbrelCollector::scheduleStep(foundation::RunLoop::Function step)
{
    if (m_stageInterval > foundation::Seconds(0))
        foundation::RunLoop::main().dispatchAfter(m_stageInterval, std::move(step));
    else
        foundation::RunLoop::main().dispatch(std::move(step));
}

void NimbrelCollector::runStage(size_t stage)
{
    switch (stage) {
    case 0:
        gather();
        break;
    case 5:
        writeData();
        break;
    default:
        writeIcons(stage - 1, stageCount - 2);
        break;
    }
    notify::notify_post(stageNotification);
    if (stage + 1 < stageCount) {
        scheduleStep([this, stage] { runStage(stage + 1); });
        return;
    }
    // Paced, the last stage shows for a step of its own before the collection is announced.
    if (m_stageInterval > foundation::Seconds(0))
        scheduleStep([this] { finishCollection(); });
    else
        finishCollection();
}

void NimbrelCollector::finishCollection()
{
    notify::notify_post(loadedNotification);
    m_items.clear();
    ++m_completed;
    m_collecting = false;
    if (m_again) {
        m_again = false;
        requestCollection();
    }
}

bool NimbrelCollector::collectNow()
{
    gather();
    writeIcons(0, 1);
    bool written = writeData();
    m_items.clear();
    ++m_completed;
    return written;
}

void NimbrelCollector::gather()
{
    m_items.clear();
    auto* map = springboard::SBIconViewMap::homescreenMap();
    auto* model = map ? map->iconModel() : nullptr;
    if (!model)
        return;
    auto add = [&](const springboard::SBIcon& icon) {
        Item item;
        item.identifier = icon.leafIdentifier();
        item.name = icon.displayName();
        item.isFolder = icon.isFolderIcon();
        item.iconPath = std::string(iconFolder) + "/" + iconFileName(item.identifier);
        item.image = icon.iconImage();
        m_items.push_back(std::move(item));
    };
    for (auto& page : model->pages()) {
        for (auto& icon : page)
            add(icon);
    }
    for (auto& icon : model->dock())
        add(icon);
    for (auto& folder : model->folders()) {
        for (auto& icon : folder->icons())
            add(icon);
    }
}

void NimbrelCollector::writeIcons(size_t part, size_t parts)
{
    foundation::NSFileManager::defaultManager().createDirectoryAtPath(iconFolder, true);
    size_t begin = m_items.size() * part / parts;
    size_t end = m_items.size() * (part + 1) / parts;
    for (size_t index = begin; index < end; ++index) {
        auto* image = runtime::dynamicCast<uikit::UIImage>(m_items[index].image);
        if (auto data = uikit::UIImagePNGRepresentation(image))
            data->writeToFile(m_items[index].iconPath, true);
    }
}

bool NimbrelCollector::writeData()
{
    foundation::NSArray::Storage records;
    for (auto& item : m_items) {
        records.push_back(foundation::NSDictionary::create({
            { "BundleID", foundation::NSString::create(item.identifier) },
            { "AppName", foundation::NSString::create(item.name) },
            { "IconPath", foundation::NSString::create(item.iconPath) },
            { "IsFolder", foundation::NSNumber::numberWithBool(item.isFolder) },
        }));
    }
    auto root = foundation::NSDictionary::create({ { "ApplicationData", foundation::NSArray::create(std::move(records)) } });
    foundation::NSFileManager::defaultManager().createDirectoryAtPath("/var/mobile/Library/Nimbrel", true);
    return root->writeToFile(dataPath, true);
}

}
