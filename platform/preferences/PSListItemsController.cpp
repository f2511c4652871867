#include <preferences/PSListItemsController.h>

#include <foundation/NSArray.h>
#include <preferences/PSClassFactory.h>
#include <uikit/NSIndexPath.h>

namespace preferences {

TORVANE_DEFINE_CLASS(PSListItemsController)
// Specifier files may name it as a row's detail.
PS_REGISTER_CONTROLLER_CLASS(PSListItemsController)

runtime::Ref<PSListItemsController> PSListItemsController::create()
{
    return runtime::adoptRef(*new PSListItemsController);
}

PSListItemsController::PSListItemsController() = default;

bool PSListItemsController::initForContentSize(CGSize size)
{
    return PSListController::initForContentSize(size);
}

void PSListItemsController::viewWillAppear(bool animated)
{
    // The opener sets the specifier after making the screen, so the items are built on the way in.
    if (specifiers().empty())
        buildItems();
    PSListController::viewWillAppear(animated);
}

void PSListItemsController::buildItems()
{
    auto* opener = specifier();
    if (!opener)
        return;
    auto* titles = runtime::dynamicCast<foundation::NSArray>(opener->propertyForKey("validTitles"));
    auto* values = runtime::dynamicCast<foundation::NSArray>(opener->propertyForKey("validValues"));
    if (!titles || !values)
        return;
    std::vector<runtime::Ref<PSSpecifier>> items;
    items.push_back(PSSpecifier::create({}, PSCellType::Group));
    for (size_t index = 0; index < titles->count() && index < values->count(); ++index) {
        auto* title = runtime::dynamicCast<foundation::NSString>(&titles->objectAtIndex(index));
        auto item = PSSpecifier::create(title ? title->string() : titles->objectAtIndex(index).description(), PSCellType::Button);
        item->setPropertyForKey(&values->objectAtIndex(index), "value");
        items.push_back(item);
    }
    setSpecifiers(std::move(items));
    updateCheckmarks();
}

void PSListItemsController::updateCheckmarks()
{
    auto* opener = specifier();
    auto current = opener ? opener->readValue() : nullptr;
    for (auto& item : specifiers()) {
        if (item->cellType() == PSCellType::Group)
            continue;
        auto indexPath = indexPathForSpecifier(item.get());
        auto cell = indexPath ? tableViewCellForRowAtIndexPath(table(), *indexPath) : nullptr;
        if (!cell)
            continue;
        bool checked = current && current->isEqual(item->propertyForKey("value"));
        cell->setAccessoryType(checked ? uikit::UITableViewCellAccessoryCheckmark : uikit::UITableViewCellAccessoryNone);
    }
}

void PSListItemsController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table, uikit::NSIndexPath& indexPath)
{
    runtime::Ref<PSListItemsController> protect(*this);
    table.deselectRowAtIndexPath(indexPath, true);
    auto* opener = specifier();
    if (!opener || !opener->isEnabled())
        return;
    for (auto& item : specifiers()) {
        auto path = indexPathForSpecifier(item.get());
        if (!path || !path->isEqual(&indexPath))
            continue;
        opener->writeValue(item->propertyForKey("value"));
        break;
    }
    updateCheckmarks();
    if (auto* parent = runtime::dynamicCast<PSListController>(parentController()))
        parent->reloadSpecifier(*opener);
}

}
