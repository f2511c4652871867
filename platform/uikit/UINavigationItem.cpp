#include <uikit/UINavigationItem.h>

#include <uikit/UINavigationBar.h>
#include <uikit/UIView.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UINavigationItem)

runtime::Ref<UINavigationItem> UINavigationItem::create(std::optional<std::string> title)
{
    return runtime::adoptRef(*new UINavigationItem(std::move(title)));
}

UINavigationItem::UINavigationItem(std::optional<std::string> title)
    : m_title(std::move(title))
{
}

UINavigationItem::~UINavigationItem() = default;

void UINavigationItem::setTitle(std::optional<std::string> title)
{
    m_title = std::move(title);
    changed();
}

void UINavigationItem::setTitleView(runtime::RefPtr<UIView> view)
{
    m_titleView = std::move(view);
    changed();
}

void UINavigationItem::setLeftBarButtonItem(runtime::RefPtr<UIBarButtonItem> item, bool)
{
    m_leftItem = std::move(item);
    changed();
}

void UINavigationItem::setRightBarButtonItem(runtime::RefPtr<UIBarButtonItem> item, bool)
{
    m_rightItem = std::move(item);
    changed();
}

void UINavigationItem::setBackBarButtonItem(runtime::RefPtr<UIBarButtonItem> item)
{
    m_backItem = std::move(item);
    changed();
}

void UINavigationItem::setHidesBackButton(bool hides, bool)
{
    m_hidesBackButton = hides;
    changed();
}

std::string UINavigationItem::backButtonTitle() const
{
    if (m_backItem && !m_backItem->title().empty())
        return m_backItem->title();
    if (m_title && !m_title->empty())
        return *m_title;
    return "Back";
}

void UINavigationItem::changed()
{
    if (auto bar = m_bar.strong())
        bar->itemDidChange();
}

}
