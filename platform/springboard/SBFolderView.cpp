#include <springboard/SBFolderView.h>

#include <springboard/SBDrawing.h>

#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

namespace springboard {

// The linen panel with the folder's name.
class SBFolderView::Panel : public uikit::UIView {
public:
    static runtime::Ref<Panel> create() { return runtime::adoptRef(*new Panel); }
    void setTitle(std::string title)
    {
        m_title = std::move(title);
        setNeedsDisplay();
    }
    void drawRect(uikit::CGRect rect) override
    {
        auto context = uikit::UIGraphicsGetCurrentContext();
        fillLinen(context, rect);
        fillVerticalGradient(context, { { 0, 0 }, { rect.size.width, 6 } }, { 0, 0, 0, 0.55 }, { 0, 0, 0, 0 });
        fillVerticalGradient(context, { { 0, rect.size.height - 6 }, { rect.size.width, 6 } }, { 0, 0, 0, 0 }, { 0, 0, 0, 0.55 });
        auto font = uikit::UIFont::boldSystemFontOfSize(17);
        uikit::UIColor::colorWithWhite(0, 0.8)->set();
        uikit::drawAtPoint(m_title, { 19, 7 }, font);
        uikit::UIColor::whiteColor()->set();
        uikit::drawAtPoint(m_title, { 19, 6 }, font);
    }

private:
    Panel()
        : UIView(uikit::CGRectZero)
    {
    }
    std::string m_title;
};

TORVANE_DEFINE_CLASS(SBFolderView)

runtime::Ref<SBFolderView> SBFolderView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SBFolderView(frame));
}

SBFolderView::SBFolderView(uikit::CGRect frame)
    : UIView(frame)
    , m_panel(Panel::create())
    , m_iconList(SBIconListView::create(SBIconListLayout::Style::Folder, uikit::CGRectZero))
{
    setOpaque(false);
    m_panel->addSubview(m_iconList);
    addSubview(m_panel);
}

void SBFolderView::showFolder(const std::string& name, const std::vector<SBIconView*>& views, uikit::CGFloat anchorTop, uikit::CGFloat anchorBottom)
{
    auto height = SBIconListLayout::folderPanelHeight(views.size());
    uikit::CGFloat top = anchorBottom + 2;
    if (top + height > SBIconListLayout::dockTop)
        top = std::max<uikit::CGFloat>(20, anchorTop - height - 2);
    m_panel->setFrame({ { 0, top }, { bounds().size.width, height } });
    static_cast<Panel&>(m_panel.get()).setTitle(name);
    m_iconList->setFrame({ { 0, 0 }, { bounds().size.width, height } });
    m_iconList->setIconViews(views);
    setNeedsDisplay();
}

void SBFolderView::drawRect(uikit::CGRect rect)
{
    // Everything but the panel darkens; the touches there are taken and go nowhere.
    auto context = uikit::UIGraphicsGetCurrentContext();
    graphics::CGContextSetRGBFillColor(context, 0, 0, 0, 0.45);
    graphics::CGContextFillRect(context, rect);
}

}
