#include <preferences/PSListController.h>

#include <foundation/NSBundle.h>
#include <foundation/NSLog.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <preferences/PSClassFactory.h>
#include <preferences/PSListItemsController.h>
#include <preferences/PSSetupController.h>
#include <preferences/PSSliderTableCell.h>
#include <preferences/PSSwitchTableCell.h>
#include <uikit/NSIndexPath.h>
#include <uikit/UINavigationBar.h>

namespace preferences {

TORVANE_DEFINE_CLASS(PSListController)

runtime::Ref<PSListController> PSListController::create()
{
    return runtime::adoptRef(*new PSListController);
}

PSListController::PSListController() = default;

PSListController::~PSListController()
{
    if (m_table) {
        m_table->setDataSource(nullptr);
        m_table->setDelegate(nullptr);
    }
}

bool PSListController::initForContentSize(CGSize size)
{
    return PSViewController::initForContentSize(size);
}

void PSListController::loadView()
{
    m_table = uikit::UITableView::create({ { 0, 0 }, contentSize() }, uikit::UITableViewStyleGrouped);
    m_table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    setView(m_table);
}

void PSListController::viewWillAppear(bool animated)
{
    PSViewController::viewWillAppear(animated);
    // The rows on screen get their cells now, so a subclass finds them cached when it decorates
    // them on appearing (as the Settings application's lists do before they show).
    table().setNeedsLayout();
    table().layoutIfNeeded();
    // Values may have changed on a screen above this one.
    for (auto& [specifier, cell] : m_cells)
        cell->refreshCellContentsWithSpecifier(*const_cast<PSSpecifier*>(specifier));
    if (auto selected = table().indexPathForSelectedRow())
        table().deselectRowAtIndexPath(*selected, animated);
}

void PSListController::setBundle(foundation::NSBundle* bundle)
{
    m_bundle = bundle;
}

std::vector<runtime::Ref<PSSpecifier>> PSListController::loadSpecifiersFromPlistName(std::string_view name, runtime::Object* target)
{
    std::vector<runtime::Ref<PSSpecifier>> loaded;
    std::string path = m_bundle ? m_bundle->pathForResource(name, "plist") : std::string();
    auto file = path.empty() ? nullptr : foundation::NSDictionary::dictionaryWithContentsOfFile(path);
    if (!file) {
        foundation::NSLog("specifier file %@.plist is missing or malformed", std::string(name));
        return loaded;
    }
    if (auto title = file->stringForKey("title"))
        setTitle(title->string());
    auto items = file->arrayForKey("items");
    if (!items) {
        foundation::NSLog("specifier file %@.plist has no items", std::string(name));
        return loaded;
    }
    for (auto& item : *items) {
        if (auto specifier = PSSpecifier::createFromItem(item.get(), target))
            loaded.push_back(*specifier);
    }
    return loaded;
}

void PSListController::setSpecifiers(std::vector<runtime::Ref<PSSpecifier>> specifiers)
{
    m_specifiers = std::move(specifiers);
    // Cells of specifiers no longer shown go; the others keep theirs.
    std::erase_if(m_cells, [this](const auto& entry) {
        for (auto& specifier : m_specifiers) {
            if (specifier.ptr() == entry.first)
                return false;
        }
        return true;
    });
    rebuildSections();
    if (m_table)
        m_table->reloadData();
}

void PSListController::rebuildSections()
{
    m_sections.clear();
    for (auto& specifier : m_specifiers) {
        if (specifier->cellType() == PSCellType::Group) {
            m_sections.push_back({ specifier.ptr(), {} });
            continue;
        }
        if (m_sections.empty())
            m_sections.push_back({});
        m_sections.back().rows.push_back(specifier.ptr());
    }
}

PSSpecifier* PSListController::specifierForID(std::string_view identifier) const
{
    for (auto& specifier : m_specifiers) {
        if (!specifier->identifier().empty() && specifier->identifier() == identifier)
            return specifier.ptr();
    }
    return nullptr;
}

PSSpecifier* PSListController::specifierWithProperty(std::string_view key, std::string_view value) const
{
    for (auto& specifier : m_specifiers) {
        if (auto text = specifier->stringProperty(key); text && *text == value)
            return specifier.ptr();
    }
    return nullptr;
}

void PSListController::reloadSpecifier(PSSpecifier& specifier)
{
    auto found = m_cells.find(&specifier);
    if (found != m_cells.end()) {
        found->second->refreshCellContentsWithSpecifier(specifier);
        found->second->setNeedsLayout();
    }
    if (m_table)
        m_table->reloadData();
}

void PSListController::reloadSpecifierID(std::string_view identifier)
{
    if (auto* specifier = specifierForID(identifier))
        reloadSpecifier(*specifier);
}

PSTableCell* PSListController::cachedCellForSpecifierID(std::string_view identifier) const
{
    auto* specifier = specifierForID(identifier);
    if (!specifier)
        return nullptr;
    auto found = m_cells.find(specifier);
    return found == m_cells.end() ? nullptr : found->second.ptr();
}

uikit::UITableView& PSListController::table()
{
    view();
    return *m_table;
}

runtime::RefPtr<uikit::NSIndexPath> PSListController::indexPathForSpecifier(const PSSpecifier& specifier) const
{
    for (size_t section = 0; section < m_sections.size(); ++section) {
        auto& rows = m_sections[section].rows;
        for (size_t row = 0; row < rows.size(); ++row) {
            if (rows[row] == &specifier)
                return uikit::NSIndexPath::indexPathForRow(int(row), int(section));
        }
    }
    return nullptr;
}

PSSpecifier* PSListController::specifierAt(const uikit::NSIndexPath& indexPath) const
{
    if (indexPath.section() < 0 || size_t(indexPath.section()) >= m_sections.size())
        return nullptr;
    auto& rows = m_sections[indexPath.section()].rows;
    if (indexPath.row() < 0 || size_t(indexPath.row()) >= rows.size())
        return nullptr;
    return rows[indexPath.row()];
}

runtime::Ref<PSTableCell> PSListController::cellForSpecifier(PSSpecifier& specifier)
{
    auto found = m_cells.find(&specifier);
    if (found != m_cells.end())
        return found->second;

    std::string reuse = "PSCell" + std::to_string(int(specifier.cellType()));
    runtime::RefPtr<PSTableCell> cell;
    if (auto cellClass = specifier.stringProperty("cellClass")) {
        cell = PSClassFactory::makeCell(*cellClass, uikit::UITableViewCellStyleDefault, reuse, &specifier);
        if (!cell)
            foundation::NSLog("cell class %@ is not known; a plain row is shown", *cellClass);
    }
    if (!cell) {
        switch (specifier.cellType()) {
        case PSCellType::Switch:
            cell = PSSwitchTableCell::createWithSpecifier(uikit::UITableViewCellStyleDefault, reuse, &specifier);
            break;
        case PSCellType::Slider:
            cell = PSSliderTableCell::createWithSpecifier(uikit::UITableViewCellStyleDefault, reuse, &specifier);
            break;
        case PSCellType::LinkList:
            cell = PSTableCell::createWithSpecifier(uikit::UITableViewCellStyleValue1, reuse, &specifier);
            break;
        default:
            cell = PSTableCell::createWithSpecifier(uikit::UITableViewCellStyleDefault, reuse, &specifier);
            break;
        }
    }
    if (specifier.cellType() == PSCellType::Link || specifier.cellType() == PSCellType::LinkList)
        cell->setAccessoryType(uikit::UITableViewCellAccessoryDisclosureIndicator);
    if (specifier.cellType() == PSCellType::StaticText)
        cell->setSelectionStyle(uikit::UITableViewCellSelectionStyleNone);
    cell->refreshCellContentsWithSpecifier(specifier);
    m_cells.emplace(&specifier, *cell);
    return *cell;
}

int PSListController::numberOfSectionsInTableView(uikit::UITableView&)
{
    return int(m_sections.size());
}

int PSListController::tableViewNumberOfRowsInSection(uikit::UITableView&, int section)
{
    if (section < 0 || size_t(section) >= m_sections.size())
        return 0;
    return int(m_sections[section].rows.size());
}

runtime::RefPtr<uikit::UITableViewCell> PSListController::tableViewCellForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath& indexPath)
{
    auto* specifier = specifierAt(indexPath);
    if (!specifier)
        return uikit::UITableViewCell::create();
    return cellForSpecifier(*specifier);
}

std::optional<std::string> PSListController::tableViewTitleForHeaderInSection(uikit::UITableView&, int section)
{
    if (section < 0 || size_t(section) >= m_sections.size() || !m_sections[section].group)
        return std::nullopt;
    auto& name = m_sections[section].group->name();
    if (name.empty())
        return std::nullopt;
    return name;
}

std::optional<std::string> PSListController::tableViewTitleForFooterInSection(uikit::UITableView&, int section)
{
    if (section < 0 || size_t(section) >= m_sections.size() || !m_sections[section].group)
        return std::nullopt;
    return m_sections[section].group->stringProperty("footerText");
}

CGFloat PSListController::tableViewHeightForRowAtIndexPath(uikit::UITableView& table, uikit::NSIndexPath& indexPath)
{
    if (auto* specifier = specifierAt(indexPath)) {
        if (auto* height = runtime::dynamicCast<foundation::NSNumber>(specifier->propertyForKey("height")))
            return CGFloat(height->doubleValue());
    }
    return table.rowHeight();
}

void PSListController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table, uikit::NSIndexPath& indexPath)
{
    runtime::Ref<PSListController> protect(*this);
    auto* specifier = specifierAt(indexPath);
    if (!specifier || !specifier->isEnabled()) {
        table.deselectRowAtIndexPath(indexPath, false);
        return;
    }
    runtime::Ref<PSSpecifier> protectSpecifier(*specifier);
    switch (specifier->cellType()) {
    case PSCellType::Link:
    case PSCellType::LinkList:
        openDetailOfSpecifier(*specifier);
        break;
    default:
        table.deselectRowAtIndexPath(indexPath, true);
        break;
    }
}

void PSListController::openDetailOfSpecifier(PSSpecifier& specifier)
{
    auto* root = rootController() ? rootController() : navigationController();
    if (!root || !specifier.isEnabled())
        return;
    runtime::RefPtr<uikit::UIViewController> made;
    auto detail = specifier.stringProperty("detail");
    if (detail) {
        made = PSClassFactory::makeViewController(*detail);
        if (!made) {
            foundation::NSLog("detail class %@ is not known; the row opens nothing", *detail);
            return;
        }
    } else if (specifier.cellType() == PSCellType::LinkList) {
        made = PSListItemsController::create();
    } else {
        return;
    }

    if (auto* setup = runtime::dynamicCast<PSSetupController>(made)) {
        setup->setupWithSpecifier(specifier, *root, this);
        root->presentModalViewController(*setup, true);
        return;
    }
    auto* screen = runtime::dynamicCast<PSViewController>(made);
    if (!screen) {
        foundation::NSLog("detail class %@ is not a preference screen; the row opens nothing", detail.value_or(""));
        return;
    }
    if (auto* list = runtime::dynamicCast<PSListController>(screen))
        list->setBundle(m_bundle.get());
    if (!screen->initForContentSize(contentSize()))
        return;
    screen->setRootController(root);
    screen->setParentController(this);
    screen->setSpecifier(&specifier);
    root->pushViewController(*screen, true);
}

runtime::RefPtr<runtime::Object> PSListController::readPreferenceValue(PSSpecifier& specifier)
{
    return specifier.readDefaultsValue();
}

void PSListController::setPreferenceValue(runtime::Object* value, PSSpecifier& specifier)
{
    specifier.writeDefaultsValue(value);
}

}
