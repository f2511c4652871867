#pragma once

// The view of one icon in one icon-view map: the image (in an SBIconImageContainerView holding an
// SBIconImageView), the name under it (SBIconLabelImageView), while the icon has one a badge, and
// while icons are edited a close box if the icon may be deleted.
//
// Geometry, in the icon view's own coordinates (y down), as on iOS 6:
//   the view is 59 x 74 points; the image is 59 x 59 at (0, 0);
//   the label image is centred under the image with its top at y = 62 (at most 72 points wide,
//   so a long name may reach past the view's sides);
//   the badge's right edge is at x = 69 and its top at y = -8, overlapping the image's corner;
//   the close box's top-left corner is at (-8, -8), so its circle's centre sits just inside the
//   image's top-left corner.
//
// Touches: touchesBegan:withEvent: and touchesMoved:withEvent: are hookable; UIKit's virtual touch
// methods send them through the class's method table, whose own implementations hand the touches
// on as any UIView does. Ended and cancelled touches do nothing special (a tap does not launch an
// application here; the driver launches applications itself).

#include <springboard/Forward.h>
#include <springboard/HookedOperations.h>

#include <foundation/ObserverToken.h>
#include <runtime/RefPtr.h>
#include <uikit/UIView.h>

namespace springboard {

class SBCloseBoxView;
class SBIconBadgeView;
class SBIconImageContainerView;
class SBIconImageView;
class SBIconLabelImageView;

class SBIconView : public uikit::UIView {
    TORVANE_OBJECT(SBIconView, uikit::UIView)
public:
    static runtime::Ref<SBIconView> create(runtime::RefPtr<SBIcon> icon = nullptr);
    ~SBIconView() override;

    static constexpr uikit::CGFloat iconImageSize = 59;
    static constexpr uikit::CGSize viewSize { 59, 74 };
    static constexpr uikit::CGFloat labelTop = 62;

    SBIcon* icon() const { return m_icon.get(); }
    void setIcon(runtime::RefPtr<SBIcon> icon);

    // Dimmed (while another icon is dragged, or while a folder opens over it).
    bool isGhostly() const { return m_ghostly; }
    void setGhostly(bool ghostly);
    bool isInDock() const { return m_inDock; }
    void setInDock(bool inDock) { m_inDock = inDock; }
    // While icons are edited; a removable icon then shows its close box.
    bool isEditing() const { return m_editing; }
    void setEditing(bool editing);

    // The parts, for whoever needs to look inside (nullptr in a copy made by archiving).
    SBIconImageView* iconImageView() const { return m_imageView.get(); }
    SBIconLabelImageView* labelView() const { return m_labelView.get(); }
    SBIconBadgeView* badgeView() const { return m_badgeView.get(); }
    SBCloseBoxView* closeBoxView() const { return m_closeBoxView.get(); }

    // Re-reads the icon's image, name, badge and whether it may be deleted.
    void refresh();

    void touchesBegan(foundation::NSSet& touches, uikit::UIEvent* event) override;
    void touchesMoved(foundation::NSSet& touches, uikit::UIEvent* event) override;

    void encodeWithCoder(uikit::NSCoder& coder) const override;
    void initWithCoder(uikit::NSCoder& coder) override;

    // A view without parts, into which an archive copy is read.
    static runtime::Ref<SBIconView> createForArchive();

protected:
    enum class Parts { No, Yes };
    SBIconView(Parts);

private:
    static void registerMethods(runtime::Class&);
    static void touchesBeganImplementation(runtime::Object* self, runtime::Selector, runtime::Object* touches, runtime::Object* event);
    static void touchesMovedImplementation(runtime::Object* self, runtime::Selector, runtime::Object* touches, runtime::Object* event);
    void updateBadge();
    void updateCloseBox();

    runtime::RefPtr<SBIcon> m_icon;
    foundation::ObserverToken m_iconObservation;
    runtime::RefPtr<SBIconImageContainerView> m_imageContainer;
    runtime::RefPtr<SBIconImageView> m_imageView;
    runtime::RefPtr<SBIconLabelImageView> m_labelView;
    runtime::RefPtr<SBIconBadgeView> m_badgeView;
    runtime::RefPtr<SBCloseBoxView> m_closeBoxView;
    bool m_ghostly { false };
    bool m_inDock { false };
    bool m_editing { false };
};

}
