#include <springboard/SBIconView.h>

#include <springboard/SBCloseBoxView.h>
#include <springboard/SBIcon.h>
#include <springboard/SBIconBadgeView.h>
#include <springboard/SBIconImageContainerView.h>
#include <springboard/SBIconImageView.h>
#include <springboard/SBIconLabelImageView.h>

#include <foundation/NSSet.h>
#include <uikit/NSCoding.h>
#include <uikit/UIEvent.h>

#include <string>

namespace springboard {

void SBIconView::registerMethods(runtime::Class& cls)
{
    cls.addMethod(touchesBeganOperation, touchesBeganImplementation);
    cls.addMethod(touchesMovedOperation, touchesMovedImplementation);
}

TORVANE_DEFINE_CLASS_WITH_METHODS(SBIconView, SBIconView::registerMethods)
TORVANE_ARCHIVABLE_CLASS(SBIconView, SBIconView::createForArchive())

runtime::Ref<SBIconView> SBIconView::create(runtime::RefPtr<SBIcon> icon)
{
    auto view = runtime::adoptRef(*new SBIconView(Parts::Yes));
    view->setIcon(std::move(icon));
    return view;
}

runtime::Ref<SBIconView> SBIconView::createForArchive()
{
    return runtime::adoptRef(*new SBIconView(Parts::No));
}

SBIconView::SBIconView(Parts parts)
    : UIView({ { 0, 0 }, viewSize })
{
    if (parts == Parts::No)
        return;
    auto container = SBIconImageContainerView::create({ { 0, 0 }, { iconImageSize, iconImageSize } });
    auto imageView = SBIconImageView::create({ { 0, 0 }, { iconImageSize, iconImageSize } });
    container->addSubview(imageView);
    addSubview(container);
    auto label = SBIconLabelImageView::create({ { 0, labelTop }, { 0, 0 } });
    addSubview(label);
    m_imageContainer = container.ptr();
    m_imageView = imageView.ptr();
    m_labelView = label.ptr();
}

SBIconView::~SBIconView() = default;

void SBIconView::setIcon(runtime::RefPtr<SBIcon> icon)
{
    if (icon == m_icon)
        return;
    m_iconObservation.reset();
    m_icon = std::move(icon);
    if (m_icon) {
        runtime::WeakPtr<SBIconView> weakThis(this);
        m_iconObservation = m_icon->observeChanges([weakThis] {
            if (auto* view = weakThis.get())
                view->refresh();
        });
    }
    refresh();
}

void SBIconView::setGhostly(bool ghostly)
{
    m_ghostly = ghostly;
    setAlpha(ghostly ? 0.3 : 1);
}

void SBIconView::refresh()
{
    if (!m_imageView)
        return;
    m_imageView->setImage(m_icon ? runtime::RefPtr<uikit::UIImage>(m_icon->iconImage()) : nullptr);
    auto labelImage = m_icon ? SBIconLabelImageView::labelImageForText(m_icon->displayName()) : nullptr;
    m_labelView->setImage(labelImage);
    uikit::CGSize labelSize = labelImage ? labelImage->size() : uikit::CGSize { 0, 0 };
    m_labelView->setFrame({ { (iconImageSize - labelSize.width) / 2, labelTop }, labelSize });
    updateBadge();
    updateCloseBox();
}

void SBIconView::setEditing(bool editing)
{
    if (editing == m_editing)
        return;
    m_editing = editing;
    updateCloseBox();
}

void SBIconView::updateCloseBox()
{
    // A copy made by archiving has no parts of its own to add to.
    bool shows = m_imageView && m_editing && m_icon && m_icon->isRemovable();
    if (!shows) {
        if (m_closeBoxView) {
            m_closeBoxView->removeFromSuperview();
            m_closeBoxView = nullptr;
        }
        return;
    }
    if (m_closeBoxView)
        return;
    auto closeBox = SBCloseBoxView::create();
    closeBox->setFrame({ { -8, -8 }, { SBCloseBoxView::size, SBCloseBoxView::size } });
    addSubview(closeBox);
    m_closeBoxView = closeBox.ptr();
}

void SBIconView::updateBadge()
{
    int value = m_icon ? m_icon->badgeValue() : 0;
    if (value <= 0) {
        if (m_badgeView) {
            m_badgeView->removeFromSuperview();
            m_badgeView = nullptr;
        }
        return;
    }
    if (!m_badgeView) {
        auto badge = SBIconBadgeView::create();
        badge->setFrame({ { iconImageSize + 10 - SBIconBadgeView::height, -8 }, { SBIconBadgeView::height, SBIconBadgeView::height } });
        addSubview(badge);
        m_badgeView = badge.ptr();
    }
    m_badgeView->setText(std::to_string(value));
}

void SBIconView::touchesBegan(foundation::NSSet& touches, uikit::UIEvent* event)
{
    touchesBeganOperation.send(this, &touches, event);
}

void SBIconView::touchesMoved(foundation::NSSet& touches, uikit::UIEvent* event)
{
    touchesMovedOperation.send(this, &touches, event);
}

void SBIconView::touchesBeganImplementation(runtime::Object* self, runtime::Selector, runtime::Object* touches, runtime::Object* event)
{
    auto* set = runtime::dynamicCast<foundation::NSSet>(touches);
    if (!set)
        return;
    static_cast<SBIconView*>(self)->UIView::touchesBegan(*set, runtime::dynamicCast<uikit::UIEvent>(event));
}

void SBIconView::touchesMovedImplementation(runtime::Object* self, runtime::Selector, runtime::Object* touches, runtime::Object* event)
{
    auto* set = runtime::dynamicCast<foundation::NSSet>(touches);
    if (!set)
        return;
    static_cast<SBIconView*>(self)->UIView::touchesMoved(*set, runtime::dynamicCast<uikit::UIEvent>(event));
}

void SBIconView::encodeWithCoder(uikit::NSCoder& coder) const
{
    UIView::encodeWithCoder(coder);
    coder.encodeBool(m_ghostly, "SBIconViewGhostly");
    coder.encodeBool(m_inDock, "SBIconViewInDock");
}

void SBIconView::initWithCoder(uikit::NSCoder& coder)
{
    UIView::initWithCoder(coder);
    m_ghostly = coder.decodeBool("SBIconViewGhostly");
    m_inDock = coder.decodeBool("SBIconViewInDock");
}

}
