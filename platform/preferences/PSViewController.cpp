#include <preferences/PSViewController.h>

#include <preferences/PSSpecifier.h>
#include <uikit/UINavigationBar.h>
#include <uikit/UIScreen.h>

#include <algorithm>

namespace preferences {

TORVANE_DEFINE_CLASS(PSViewController)

runtime::Ref<PSViewController> PSViewController::create()
{
    return runtime::adoptRef(*new PSViewController);
}

PSViewController::PSViewController() = default;

CGSize PSViewController::screenContentSize()
{
    CGSize screen = uikit::UIScreen::mainScreen().bounds().size;
    return { screen.width, std::max<CGFloat>(0, screen.height - uikit::UINavigationBar::height) };
}

bool PSViewController::initForContentSize(CGSize size)
{
    m_contentSize = size;
    return true;
}

void PSViewController::setSpecifier(runtime::RefPtr<PSSpecifier> specifier)
{
    m_specifier = std::move(specifier);
    if (m_specifier && !title() && navigationTitle().empty())
        setTitle(m_specifier->name());
}

}
