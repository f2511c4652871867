#include "UIKitTestSupport.h"

#include <foundation/NSData.h>
#include <foundation/NSString.h>
#include <graphics/Context.h>
#include <uikit/NSKeyedArchiver.h>
#include <uikit/UIButton.h>
#include <uikit/UIColor.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>

#include <functional>

using namespace uikit;

namespace {

// A host-style view subclass with state of its own, registered for archiving the way SpringBoard's
// icon views are.
class BadgedIconView : public UIView {
    TORVANE_OBJECT(BadgedIconView, UIView)
public:
    static runtime::Ref<BadgedIconView> create() { return runtime::adoptRef(*new BadgedIconView); }
    std::string badge;
    runtime::RefPtr<foundation::NSString> identifier;

    void encodeWithCoder(NSCoder& coder) const override
    {
        UIView::encodeWithCoder(coder);
        coder.encodeString(badge, "badge");
        coder.encodeObject(identifier.get(), "identifier");
    }
    void initWithCoder(NSCoder& coder) override
    {
        UIView::initWithCoder(coder);
        badge = coder.decodeString("badge");
        identifier = coder.decodeObjectOfClass<foundation::NSString>("identifier");
    }

private:
    BadgedIconView()
        : UIView(CGRectZero)
    {
    }
};

// A subclass nobody registered.
class UnregisteredView : public UIView {
    TORVANE_OBJECT(UnregisteredView, UIView)
public:
    static runtime::Ref<UnregisteredView> create() { return runtime::adoptRef(*new UnregisteredView); }

private:
    UnregisteredView()
        : UIView(CGRectZero)
    {
    }
};

TORVANE_DEFINE_CLASS(BadgedIconView)
TORVANE_ARCHIVABLE_CLASS(BadgedIconView, BadgedIconView::create())
TORVANE_DEFINE_CLASS(UnregisteredView)

runtime::Ref<UIImage> solidImage(float red, int pixels, CGFloat scale)
{
    auto context = graphics::CGBitmapContextCreate(pixels, pixels, 1);
    graphics::CGContextSetRGBFillColor(context, red, 0, 0, 1);
    graphics::CGContextFillRect(context, { { 0, 0 }, { float(pixels), float(pixels) } });
    return *UIImage::imageWithCGImage(graphics::CGBitmapContextCreateImage(context), scale);
}

runtime::RefPtr<UIView> copyOf(const UIView& view)
{
    auto data = NSKeyedArchiver::archivedDataWithRootObject(view);
    if (!data)
        return nullptr;
    return runtime::RefPtr<UIView>(runtime::dynamicCast<UIView>(NSKeyedUnarchiver::unarchiveObjectWithData(*data)));
}

// An icon view as the preview capture copies it: icon image in a container, a label image, a
// glow indicator behind, a label.
runtime::Ref<BadgedIconView> makeIconTree(runtime::Ref<UIImage> icon)
{
    auto iconView = BadgedIconView::create();
    iconView->setFrame({ { 16, 20 }, { 59, 62 } });
    iconView->badge = "3";
    iconView->identifier = foundation::NSString::create("com.apple.mobileslideshow");
    auto glow = UIImageView::create({ { -7.75f, -8.75f }, { 74.5f, 76 } });
    glow->setTag(567);
    glow->setAlpha(0.4f);
    glow->setImage(icon);
    auto container = UIView::create({ { 0, 0 }, { 59, 59 } });
    container->setClipsToBounds(true);
    auto image = UIImageView::create({ { 0, 0 }, { 57, 57 } });
    image->setImage(icon);
    container->addSubview(image);
    auto label = UILabel::create({ { 0, 60 }, { 59, 14 } });
    label->setText("Photos");
    label->setFont(UIFont::boldSystemFontOfSize(11));
    label->setTextColor(UIColor::whiteColor());
    label->setHidden(true);
    iconView->addSubview(container);
    iconView->addSubview(label);
    iconView->insertSubviewAtIndex(glow, 0);
    iconView->setBackgroundColor(UIColor::colorWithRed(0.2f, 0.3f, 0.4f, 0.5f));
    iconView->layer().setCornerRadius(6);
    return iconView;
}

void expectSameTree(const UIView& original, const UIView& copy)
{
    EXPECT_NE(&original, &copy);
    EXPECT_EQ(&original.objcClass(), &copy.objcClass()) << original.className() << " vs " << copy.className();
    EXPECT_EQ(original.frame(), copy.frame());
    EXPECT_EQ(original.tag(), copy.tag());
    EXPECT_FLOAT_EQ(original.alpha(), copy.alpha());
    EXPECT_EQ(original.isHidden(), copy.isHidden());
    EXPECT_EQ(original.clipsToBounds(), copy.clipsToBounds());
    EXPECT_FLOAT_EQ(original.layer().cornerRadius(), copy.layer().cornerRadius());
    EXPECT_EQ(original.isUserInteractionEnabled(), copy.isUserInteractionEnabled());
    if (original.backgroundColor())
        EXPECT_TRUE(original.backgroundColor()->isEqual(copy.backgroundColor()));
    else
        EXPECT_EQ(copy.backgroundColor(), nullptr);
    if (auto image = runtime::dynamicCast<UIImageView>(&original)) {
        auto copiedImage = runtime::dynamicCast<UIImageView>(&copy);
        ASSERT_TRUE(copiedImage);
        ASSERT_EQ(!image->image(), !copiedImage->image());
        if (image->image()) {
            EXPECT_NE(image->image(), copiedImage->image());
            EXPECT_EQ(image->image()->size(), copiedImage->image()->size());
            EXPECT_EQ(image->image()->scale(), copiedImage->image()->scale());
            EXPECT_EQ(image->image()->CGImage().pixelAt(1, 1), copiedImage->image()->CGImage().pixelAt(1, 1));
        }
    }
    if (auto label = runtime::dynamicCast<UILabel>(&original)) {
        auto copiedLabel = runtime::dynamicCast<UILabel>(&copy);
        ASSERT_TRUE(copiedLabel);
        EXPECT_EQ(label->text(), copiedLabel->text());
        EXPECT_TRUE(label->font().isEqual(&copiedLabel->font()));
        EXPECT_TRUE(label->textColor().isEqual(&copiedLabel->textColor()));
    }
    ASSERT_EQ(original.subviews().size(), copy.subviews().size());
    for (size_t i = 0; i < original.subviews().size(); ++i) {
        EXPECT_EQ(copy.subviews()[i]->superview(), &copy);
        expectSameTree(original.subviews()[i], copy.subviews()[i]);
    }
}

}

TEST(ViewArchive, CopyHasTheSameStructureClassesFramesTagsAndImages)
{
    auto original = makeIconTree(solidImage(1, 4, 2));
    auto window = UIView::create({ { 0, 0 }, { 320, 480 } });
    window->addSubview(original);

    auto copy = copyOf(original);
    ASSERT_TRUE(copy);
    expectSameTree(original, *copy);
    auto icon = runtime::dynamicCast<BadgedIconView>(copy);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->badge, "3");
    ASSERT_TRUE(icon->identifier);
    EXPECT_EQ(icon->identifier->string(), "com.apple.mobileslideshow");
    EXPECT_EQ(copy->viewWithTag(567)->className(), "UIImageView");
}

TEST(ViewArchive, CopyIsDetachedFromTheOriginal)
{
    auto parent = UIView::create();
    auto original = makeIconTree(solidImage(1, 4, 1));
    parent->addSubview(original);
    auto copy = copyOf(original);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->superview(), nullptr);
    EXPECT_EQ(copy->layer().superlayer(), nullptr);

    copy->setFrame({ { 0, 0 }, { 1, 1 } });
    copy->viewWithTag(567)->setAlpha(1);
    runtime::dynamicCast<UILabel>(copy->subviews()[2])->setText("Changed");
    copy->subviews()[1]->removeFromSuperview();
    EXPECT_EQ(original->frame(), (CGRect { { 16, 20 }, { 59, 62 } }));
    EXPECT_FLOAT_EQ(original->viewWithTag(567)->alpha(), 0.4f);
    EXPECT_EQ(runtime::dynamicCast<UILabel>(original->subviews()[2])->text(), "Photos");
    EXPECT_EQ(original->subviews().size(), 3u);

    original->addSubview(UIView::create());
    EXPECT_EQ(copy->subviews().size(), 2u);
}

TEST(ViewArchive, SharedObjectsStaySharedInTheCopy)
{
    auto image = solidImage(0.5f, 2, 1);
    auto root = UIView::create();
    auto first = UIImageView::create();
    auto second = UIImageView::create();
    first->setImage(image);
    second->setImage(image);
    root->addSubview(first);
    root->addSubview(second);
    auto copy = copyOf(root);
    ASSERT_TRUE(copy);
    auto a = runtime::dynamicCast<UIImageView>(copy->subviews()[0]);
    auto b = runtime::dynamicCast<UIImageView>(copy->subviews()[1]);
    ASSERT_TRUE(a && b && a->image());
    EXPECT_EQ(a->image(), b->image());
    EXPECT_NE(a->image(), image.ptr());
}

TEST(ViewArchive, ButtonsKeepOneTitleLabelAndTheirTitles)
{
    auto button = UIButton::buttonWithType(UIButtonTypeRoundedRect);
    button->setTitle("Kill", UIControlStateNormal);
    button->setTitleColor(UIColor::redColor(), UIControlStateHighlighted);
    auto copiedView = copyOf(button);
    auto copy = runtime::dynamicCast<UIButton>(copiedView);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->subviews().size(), button->subviews().size());
    EXPECT_EQ(copy->titleLabel().superview(), copy);
    EXPECT_EQ(copy->titleForState(UIControlStateNormal), "Kill");
    EXPECT_TRUE(copy->titleColorForState(UIControlStateHighlighted)->isEqual(UIColor::redColor().ptr()));
    EXPECT_EQ(copy->buttonType(), UIButtonTypeRoundedRect);
}

TEST(ViewArchive, RefusesClassesThatCouldNotBeMadeAgain)
{
    auto root = UIView::create();
    root->addSubview(UnregisteredView::create());
    EXPECT_FALSE(NSKeyedArchiver::archivedDataWithRootObject(root));
}

TEST(ViewArchive, MalformedDataReadsAsNil)
{
    auto tree = makeIconTree(solidImage(1, 4, 1));
    auto data = NSKeyedArchiver::archivedDataWithRootObject(tree);
    ASSERT_TRUE(data);
    const auto& bytes = data->vector();

    EXPECT_FALSE(NSKeyedUnarchiver::unarchiveObjectWithData(foundation::NSData::create()));
    // Every truncation fails cleanly.
    for (size_t length = 0; length < bytes.size(); length += std::max<size_t>(1, bytes.size() / 97)) {
        auto cut = foundation::NSData::create(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(length)));
        EXPECT_FALSE(NSKeyedUnarchiver::unarchiveObjectWithData(cut)) << "length " << length;
    }
    // Flipped bytes must never crash; whatever still parses must be a view tree or nil.
    for (size_t i = 0; i < bytes.size(); i += 7) {
        auto damaged = bytes;
        damaged[i] ^= 0xFF;
        auto object = NSKeyedUnarchiver::unarchiveObjectWithData(foundation::NSData::create(damaged));
        (void)object;
    }
    // A huge declared object count with nothing behind it.
    std::vector<uint8_t> lying { 'T', 'V', 'K', 'A', 1, 0xFF, 0xFF, 0xFF, 0x7F };
    EXPECT_FALSE(NSKeyedUnarchiver::unarchiveObjectWithData(foundation::NSData::create(lying)));
    // Trailing garbage.
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(NSKeyedUnarchiver::unarchiveObjectWithData(foundation::NSData::create(longer)));
}
