#pragma once

// Icon views by icon, one map per place that shows icons: the home screen (pages, dock and open
// folders) and the switcher bar. A map keeps the views it made, so mapping an icon again gives the
// same view (mappedIconViewForIcon:), while iconViewForIcon: only looks.
//
// mappedIconViewForIcon: is hookable. SpringBoard maps a view again every time it lays out a page,
// the dock, an open folder or the switcher bar, so whoever hooks it sees every view each time it is
// placed.

#include <springboard/Forward.h>
#include <springboard/HookedOperations.h>

#include <runtime/Object.h>
#include <runtime/RefPtr.h>

#include <map>

namespace springboard {

class SBIconViewMap : public runtime::Object {
    TORVANE_OBJECT(SBIconViewMap, runtime::Object)
public:
    enum class Kind { HomeScreen, Switcher };
    static runtime::Ref<SBIconViewMap> create(Kind, runtime::Ref<SBIconModel> model);

    // The process's two maps (installed by SpringBoard when it builds the home screen; nullptr
    // before that).
    static SBIconViewMap* homescreenMap();
    static SBIconViewMap* switcherMap();
    static void setSharedMaps(runtime::RefPtr<SBIconViewMap> homescreen, runtime::RefPtr<SBIconViewMap> switcher);

    Kind kind() const { return m_kind; }
    SBIconModel* iconModel() const { return m_model.ptr(); }
    // The icon's view in this map, or nullptr; never makes one.
    SBIconView* iconViewForIcon(const SBIcon* icon) const;
    // Makes or reuses the icon's view (hookable). nullptr for a null icon.
    SBIconView* mappedIconViewForIcon(SBIcon* icon);
    // Forgets the icon's view (it leaves the switcher bar); the view goes when nobody else holds it.
    void purgeIconView(const SBIcon* icon);

private:
    SBIconViewMap(Kind kind, runtime::Ref<SBIconModel> model);
    static void registerMethods(runtime::Class&);
    static runtime::Object* mappedIconViewImplementation(runtime::Object* self, runtime::Selector, runtime::Object* icon);

    Kind m_kind;
    runtime::Ref<SBIconModel> m_model;
    std::map<const SBIcon*, runtime::Ref<SBIconView>> m_views;
    // Keeps the icons of m_views' keys alive while their views are kept.
    std::map<const SBIcon*, runtime::Ref<SBIcon>> m_icons;
};

}
