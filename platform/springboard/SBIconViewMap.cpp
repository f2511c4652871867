#include <springboard/SBIconViewMap.h>

#include <springboard/SBIcon.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>

namespace springboard {

void SBIconViewMap::registerMethods(runtime::Class& cls)
{
    cls.addMethod(mappedIconViewOperation, mappedIconViewImplementation);
}

TORVANE_DEFINE_CLASS_WITH_METHODS(SBIconViewMap, SBIconViewMap::registerMethods)

namespace {
runtime::RefPtr<SBIconViewMap>& sharedHomescreen()
{
    static runtime::RefPtr<SBIconViewMap> map;
    return map;
}
runtime::RefPtr<SBIconViewMap>& sharedSwitcher()
{
    static runtime::RefPtr<SBIconViewMap> map;
    return map;
}
}

runtime::Ref<SBIconViewMap> SBIconViewMap::create(Kind kind, runtime::Ref<SBIconModel> model)
{
    return runtime::adoptRef(*new SBIconViewMap(kind, std::move(model)));
}

SBIconViewMap::SBIconViewMap(Kind kind, runtime::Ref<SBIconModel> model)
    : m_kind(kind)
    , m_model(std::move(model))
{
}

SBIconViewMap* SBIconViewMap::homescreenMap() { return sharedHomescreen().get(); }
SBIconViewMap* SBIconViewMap::switcherMap() { return sharedSwitcher().get(); }

void SBIconViewMap::setSharedMaps(runtime::RefPtr<SBIconViewMap> homescreen, runtime::RefPtr<SBIconViewMap> switcher)
{
    sharedHomescreen() = std::move(homescreen);
    sharedSwitcher() = std::move(switcher);
}

SBIconView* SBIconViewMap::iconViewForIcon(const SBIcon* icon) const
{
    auto it = m_views.find(icon);
    return it == m_views.end() ? nullptr : it->second.ptr();
}

SBIconView* SBIconViewMap::mappedIconViewForIcon(SBIcon* icon)
{
    if (!icon)
        return nullptr;
    auto* result = mappedIconViewOperation.send(this, icon);
    return runtime::dynamicCast<SBIconView>(result);
}

runtime::Object* SBIconViewMap::mappedIconViewImplementation(runtime::Object* self, runtime::Selector, runtime::Object* iconObject)
{
    auto* map = static_cast<SBIconViewMap*>(self);
    auto* icon = runtime::dynamicCast<SBIcon>(iconObject);
    if (!icon)
        return nullptr;
    auto it = map->m_views.find(icon);
    if (it == map->m_views.end()) {
        auto view = SBIconView::create(icon);
        it = map->m_views.emplace(icon, view).first;
        map->m_icons.emplace(icon, *icon);
    }
    SBIconView* view = it->second.ptr();
    view->setInDock(map->m_kind == Kind::HomeScreen && map->m_model->isIconInDock(*icon));
    return view;
}

void SBIconViewMap::purgeIconView(const SBIcon* icon)
{
    m_views.erase(icon);
    m_icons.erase(icon);
}

}
