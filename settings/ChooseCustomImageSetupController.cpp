#include "ChooseCustomImageSetupController.h"

#include <algorithm>

#include "CustomPassAlertViewS.h"
#include "DashmereDelegate.h"
#include "FatPreviewCell.h"
#include "PreferenceValues.h"
#include "PreferencesFile.h"
#include "PreviewComposer.h"

#include <foundation/Format.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSNumber.h>
#include <graphics/GeometryText.h>
#include <preferences/PSClassFactory.h>
#include <preferences/SettingsApplication.h>
#include <uikit/UIBarButtonItem.h>
#include <uikit/UIColor.h>
#include <uikit/UIImage.h>
#include <uikit/UILabel.h>

namespace pane {

using foundation::NSArray;
using foundation::NSDictionary;
using foundation::NSMutableDictionary;
using foundation::NSStr;
using foundation::NSString;
using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

namespace {

constexpr const char themesFooter[] = "Themes are located in /Library/Application Support/Torvane/Themes. Adding your own theme is supported, please check out current themes to understand format. You can also just add images to the current themes, check the list.plist for sizes.";

constexpr const char themesInformation[] = "    Themes are located in /Library/Application Support/Torvane/Themes. Here you can place your own theme, or add images to current themes. In each theme folder is a list.plist which contains all the information needed to use the theme successfully. \n \n    In the list.plist you can change the frame of the image (which is its position behind icon, and its size) to give you the best customization. \n \n    If you have any questions, contact the maker at @qelvo on Twitter.";

// "%@/%@/%@" of the themes root, a folder name and a file name.
std::string themeFilePath(const std::string& folder, const std::string& file)
{
    return std::string(ChooseCustomImageSetupController::themesRoot) + "/" + folder + "/" + file;
}

// An image view framed by the rectangle text `frame` (zero when there is none), showing the file at
// `path`; an empty image view when the file is missing.
Ref<uikit::UIImageView> themeImageView(const Object* frame, const std::string& path)
{
    auto view = uikit::UIImageView::create(frame ? graphics::CGRectFromString(foundation::format("%@", frame)) : uikit::CGRectZero);
    view->setImage(uikit::UIImage::imageWithContentsOfFile(path));
    return view;
}

}

TORVANE_DEFINE_CLASS(ChooseCustomImageSetupController)
PS_REGISTER_CONTROLLER_CLASS(ChooseCustomImageSetupController)

Ref<ChooseCustomImageSetupController> ChooseCustomImageSetupController::create()
{
    return runtime::adoptRef(*new ChooseCustomImageSetupController);
}

ChooseCustomImageSetupController::ChooseCustomImageSetupController()
    : m_themeDict(NSMutableDictionary::create())
    , m_themeArray(NSArray::create())
    , m_currentImageView(uikit::UIImageView::create())
    , m_willSaveDict(NSMutableDictionary::create())
{
}

ChooseCustomImageSetupController::~ChooseCustomImageSetupController() = default;

void ChooseCustomImageSetupController::popAllControllers()
{
    if (auto* application = preferences::SettingsApplication::shared())
        application->rootController().dismissModalViewControllerAnimated(false);
}

bool ChooseCustomImageSetupController::initForContentSize(uikit::CGSize size)
{
    if (!Super::initForContentSize(size))
        return false;

    m_willSaveDict = NSMutableDictionary::create();
    m_themeDict = NSMutableDictionary::create();

    // The listing's order is the sections' order; nothing sorts or filters it.
    auto listing = foundation::NSFileManager::defaultManager().contentsOfDirectoryAtPath(themesRoot);
    m_themeArray = listing ? listing->copy() : NSArray::create();
    for (auto& folder : *m_themeArray) {
        if (auto list = NSDictionary::dictionaryWithContentsOfFile(themeFilePath(foundation::format("%@", folder.ptr()), "list.plist")))
            m_themeDict->setObjectForKey(*list, foundation::format("%@", folder.ptr()));
    }

    auto saved = runtime::dynamicCast<NSDictionary>(DashmereDelegate::getObjectWithKey("SelectedTheme", false));
    RefPtr<Object> savedPath = saved ? saved->objectForKey("ImagePath") : nullptr;
    m_currentImageView = themeImageView(saved ? saved->objectForKey("Frame").get() : nullptr,
        savedPath ? foundation::format("%@", savedPath) : std::string());
    if (auto name = saved ? saved->objectForKey("ImageName") : nullptr)
        m_currentImageName = NSString::create(foundation::format("%@", name));

    m_backView = uikit::UIView::create({ { 0, 0 }, size });
    m_backView->setBackgroundColor(uikit::UIColor::whiteColor());
    m_imageTable = uikit::UITableView::create({ { 0, 0 }, { 320, 120 } }, uikit::UITableViewStyleGrouped);
    m_imageTable->setDataSource(this);
    m_imageTable->setDelegate(this);
    m_imageTable->setScrollEnabled(false);
    // 385 points below the preview reach past the bottom of a 416-point screen, where the last rows
    // could never be scrolled into sight; the table ends with the screen instead.
    uikit::CGFloat selectionHeight = std::min<uikit::CGFloat>(385, std::max<uikit::CGFloat>(0, size.height - 120));
    m_selectionTable = uikit::UITableView::create({ { 0, 120 }, { 320, selectionHeight } }, uikit::UITableViewStyleGrouped);
    m_selectionTable->setDataSource(this);
    m_selectionTable->setDelegate(this);
    m_backView->addSubview(*m_imageTable);
    m_backView->addSubview(*m_selectionTable);
    setView(m_backView);

    navigationItem().setTitle(navigationTitle());
    navigationItem().setLeftBarButtonItem(uikit::UIBarButtonItem::create("Cancel", uikit::UIBarButtonItemStyleBordered, this,
        [this](uikit::UIBarButtonItem&) { doneWithPage(); }));
    navigationItem().setRightBarButtonItem(uikit::UIBarButtonItem::create("Save", uikit::UIBarButtonItemStyleDone, this,
        [this](uikit::UIBarButtonItem&) { saveImages(); }));

    showThemesInformationOnce();
    return true;
}

void ChooseCustomImageSetupController::loadView()
{
    // The screen's views are made at creation; this runs only if they never were.
    if (!m_backView)
        Super::loadView();
}

void ChooseCustomImageSetupController::showThemesInformationOnce()
{
    if (DashmereDelegate::getObjectWithKey("ThemeAlertNew", false))
        return;
    DashmereDelegate::writeDictToSave(NSDictionary::create({ { "ThemeAlertNew", NSStr("Informed") } }).ptr());
    CustomPassAlertViewS::create(std::string("Themes"), std::string(themesInformation), nullptr, std::string("Dismiss"))->show();
}

void ChooseCustomImageSetupController::doneWithPage()
{
    if (auto* root = rootController())
        root->dismissModalViewControllerAnimated(true);
}

void ChooseCustomImageSetupController::saveImages()
{
    // Closing may release the chooser; it must outlive this call.
    Ref<ChooseCustomImageSetupController> protectedThis { *this };
    if (m_willSaveDict->count()) {
        bool movedAbove = torvane::PreferencesFile::boolValueOf(DashmereDelegate::getObjectWithKey("MoveImageAboveIcon", true).get());
        if (movedAbove && !PreferenceValues::themeOffersImageAboveIcon(PreferenceValues::textOf(*m_willSaveDict, "Name")))
            DashmereDelegate::writeDictToSave(NSDictionary::create({ { "MoveImageAboveIcon", foundation::NSNumber::numberWithBool(false) } }).ptr());
        DashmereDelegate::writeDictToSave(NSDictionary::create({ { "SelectedTheme", m_willSaveDict->copy() } }).ptr());
    }
    doneWithPage();
}

NSDictionary* ChooseCustomImageSetupController::themeOfSection(int section) const
{
    if (section < 0 || static_cast<size_t>(section) >= m_themeArray->count())
        return nullptr;
    auto folder = foundation::format("%@", &m_themeArray->objectAtIndex(section));
    return runtime::dynamicCast<NSDictionary>(m_themeDict->objectForKey(folder).get());
}

NSArray* ChooseCustomImageSetupController::imagesOfSection(int section) const
{
    auto* theme = themeOfSection(section);
    return theme ? runtime::dynamicCast<NSArray>(theme->objectForKey("Names").get()) : nullptr;
}

int ChooseCustomImageSetupController::numberOfSectionsInTableView(uikit::UITableView& table)
{
    if (&table == m_imageTable.get())
        return 1;
    return static_cast<int>(m_themeArray->count());
}

int ChooseCustomImageSetupController::tableViewNumberOfRowsInSection(uikit::UITableView& table, int section)
{
    if (&table == m_imageTable.get())
        return 1;
    auto* images = imagesOfSection(section);
    return images ? static_cast<int>(images->count()) : 0;
}

std::optional<std::string> ChooseCustomImageSetupController::tableViewTitleForHeaderInSection(uikit::UITableView& table, int section)
{
    if (&table == m_imageTable.get())
        return std::nullopt;
    auto* theme = themeOfSection(section);
    auto name = theme ? theme->objectForKey("ThemeFolderName") : nullptr;
    if (!name)
        return std::nullopt;
    return foundation::format("%@", name);
}

std::optional<std::string> ChooseCustomImageSetupController::tableViewTitleForFooterInSection(uikit::UITableView& table, int section)
{
    if (&table == m_imageTable.get() || section != static_cast<int>(m_themeArray->count()) - 1)
        return std::nullopt;
    return std::string(themesFooter);
}

RefPtr<uikit::UITableViewCell> ChooseCustomImageSetupController::tableViewCellForRowAtIndexPath(uikit::UITableView& table, uikit::NSIndexPath& indexPath)
{
    if (&table == m_imageTable.get()) {
        RefPtr<uikit::UITableViewCell> cell = table.dequeueReusableCellWithIdentifier("ImageCell");
        if (!cell)
            cell = FatPreviewCell::create(uikit::UITableViewCellStyleDefault, "ImageCell");
        PreviewComposer::compose(*cell, m_currentImageView);
        cell->setSelectionStyle(uikit::UITableViewCellSelectionStyleNone);
        return cell;
    }

    RefPtr<uikit::UITableViewCell> cell = table.dequeueReusableCellWithIdentifier("ImageCellS");
    if (!cell)
        cell = uikit::UITableViewCell::create(uikit::UITableViewCellStyleDefault, "ImageCellS");
    cell->textLabel().setText("");
    cell->setAccessoryType(uikit::UITableViewCellAccessoryNone);

    auto* images = imagesOfSection(indexPath.section());
    if (!images || indexPath.row() < 0 || static_cast<size_t>(indexPath.row()) >= images->count())
        return cell;
    auto* image = runtime::dynamicCast<NSDictionary>(&images->objectAtIndex(indexPath.row()));
    if (!image)
        return cell;
    cell->textLabel().setText(PreferenceValues::textOf(*image, "DisplayName"));
    // File names only: an image of the same name in another theme carries the checkmark too.
    if (m_currentImageName && PreferenceValues::textOf(*image, "RealName") == m_currentImageName->string())
        cell->setAccessoryType(uikit::UITableViewCellAccessoryCheckmark);
    return cell;
}

void ChooseCustomImageSetupController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table, uikit::NSIndexPath& indexPath)
{
    table.deselectRowAtIndexPath(indexPath, true);
    if (&table != m_selectionTable.get())
        return;

    auto* theme = themeOfSection(indexPath.section());
    auto* images = imagesOfSection(indexPath.section());
    if (!theme || !images || indexPath.row() < 0 || static_cast<size_t>(indexPath.row()) >= images->count())
        return;
    auto* image = runtime::dynamicCast<NSDictionary>(&images->objectAtIndex(indexPath.row()));
    if (!image)
        return;

    std::string name = PreferenceValues::textOf(*image, "RealName");
    if (m_currentImageName && name == m_currentImageName->string())
        return;
    m_currentImageName = NSString::create(name);

    auto folder = foundation::format("%@", &m_themeArray->objectAtIndex(indexPath.section()));
    auto path = themeFilePath(folder, name);
    auto frame = theme->objectForKey("ImageFrame");
    m_currentImageView = themeImageView(frame.get(), path);

    // Entries the theme lacks are left out rather than stored empty.
    auto selection = NSMutableDictionary::create();
    if (frame)
        selection->setObjectForKey(*frame, "Frame");
    selection->setObjectForKey(NSStr(path), "ImagePath");
    selection->setObjectForKey(*m_currentImageName, "ImageName");
    if (auto displayName = image->objectForKey("DisplayName"))
        selection->setObjectForKey(*displayName, "DisplayName");
    if (auto themeName = theme->objectForKey("ThemeFolderName"))
        selection->setObjectForKey(*themeName, "Name");
    m_willSaveDict = selection;

    m_imageTable->reloadData();
    m_selectionTable->reloadData();
}

}
