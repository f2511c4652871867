#include <uikit/UIBarButtonItem.h>

#include <uikit/UINavigationBar.h>
#include <uikit/UIView.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UIBarButtonItem)

runtime::Ref<UIBarButtonItem> UIBarButtonItem::create(std::string title, UIBarButtonItemStyle style,
    const runtime::Object* target, Action action)
{
    return runtime::adoptRef(*new UIBarButtonItem(std::move(title), style, target, std::move(action)));
}

runtime::Ref<UIBarButtonItem> UIBarButtonItem::createWithCustomView(runtime::Ref<UIView> view)
{
    auto item = runtime::adoptRef(*new UIBarButtonItem({}, UIBarButtonItemStylePlain, nullptr, {}));
    item->m_customView = std::move(view);
    return item;
}

UIBarButtonItem::UIBarButtonItem(std::string title, UIBarButtonItemStyle style, const runtime::Object* target, Action action)
    : m_title(std::move(title))
    , m_style(style)
    , m_hasTarget(target != nullptr)
    , m_target(target)
    , m_action(std::move(action))
{
}

UIBarButtonItem::~UIBarButtonItem() = default;

void UIBarButtonItem::setTitle(std::string title)
{
    m_title = std::move(title);
    changed();
}

void UIBarButtonItem::setStyle(UIBarButtonItemStyle style)
{
    m_style = style;
    changed();
}

void UIBarButtonItem::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    changed();
}

bool UIBarButtonItem::performAction()
{
    if (!m_enabled || !m_action)
        return false;
    runtime::Ref<UIBarButtonItem> protect(*this);
    runtime::RefPtr<runtime::Object> target = m_target.get();
    if (m_hasTarget && !target)
        return false;
    m_action(*this);
    return true;
}

void UIBarButtonItem::changed()
{
    if (auto bar = m_bar.strong())
        bar->itemDidChange();
}

}
