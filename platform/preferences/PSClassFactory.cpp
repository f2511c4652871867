#include <preferences/PSClassFactory.h>

#include <preferences/PSTableCell.h>
#include <preferences/PSViewController.h>

#include <map>

namespace preferences {

namespace {

// Function-local so registrations from other libraries' static initialisers find them made.
std::map<std::string, PSClassFactory::ControllerMaker, std::less<>>& controllerMakers()
{
    static std::map<std::string, PSClassFactory::ControllerMaker, std::less<>> makers;
    return makers;
}

std::map<std::string, PSClassFactory::CellMaker, std::less<>>& cellMakers()
{
    static std::map<std::string, PSClassFactory::CellMaker, std::less<>> makers;
    return makers;
}

}

bool PSClassFactory::registerController(std::string_view className, ControllerMaker maker)
{
    controllerMakers().insert_or_assign(std::string(className), std::move(maker));
    return true;
}

bool PSClassFactory::registerCell(std::string_view className, CellMaker maker)
{
    cellMakers().insert_or_assign(std::string(className), std::move(maker));
    return true;
}

runtime::RefPtr<uikit::UIViewController> PSClassFactory::makeViewController(std::string_view className)
{
    auto found = controllerMakers().find(className);
    if (found == controllerMakers().end())
        return nullptr;
    return found->second();
}

runtime::RefPtr<PSViewController> PSClassFactory::makeController(std::string_view className)
{
    return runtime::dynamicCast<PSViewController>(makeViewController(className));
}

runtime::RefPtr<PSTableCell> PSClassFactory::makeCell(std::string_view className, uikit::UITableViewCellStyle style,
    const std::string& reuseIdentifier, PSSpecifier* specifier)
{
    auto found = cellMakers().find(className);
    if (found == cellMakers().end())
        return nullptr;
    return found->second(style, reuseIdentifier, specifier);
}

}
