#pragma once

// Making screens and cells by the class names specifier files give (NSClassFromString, then
// alloc/init). A class becomes makeable by registering in its own .cpp file:
//     PS_REGISTER_CONTROLLER_CLASS(NeverShowApplicationsController)
//     PS_REGISTER_CELL_CLASS(PreviewTableCell)
// The registration runs when the library holding the class is loaded (a bundle's classes appear
// when the bundle is loaded). A controller class needs a static create() with no arguments; a cell
// class a static createWithSpecifier(style, reuseIdentifier, specifier).

#include <runtime/RefPtr.h>
#include <uikit/UITableViewCell.h>
#include <uikit/UIViewController.h>

#include <functional>
#include <string>
#include <string_view>

namespace preferences {

class PSSpecifier;
class PSTableCell;
class PSViewController;

class PSClassFactory {
public:
    // A controller class is a PSViewController or a PSSetupController (a navigation controller), so
    // the maker answers the common base.
    using ControllerMaker = std::function<runtime::RefPtr<uikit::UIViewController>()>;
    using CellMaker = std::function<runtime::RefPtr<PSTableCell>(uikit::UITableViewCellStyle, const std::string& reuseIdentifier, PSSpecifier*)>;

    static bool registerController(std::string_view className, ControllerMaker maker);
    static bool registerCell(std::string_view className, CellMaker maker);

    // nullptr when no class of that name was registered.
    static runtime::RefPtr<PSViewController> makeController(std::string_view className);
    // Any registered controller class, setup controllers included.
    static runtime::RefPtr<uikit::UIViewController> makeViewController(std::string_view className);
    static runtime::RefPtr<PSTableCell> makeCell(std::string_view className, uikit::UITableViewCellStyle style,
        const std::string& reuseIdentifier, PSSpecifier* specifier);
};

}

#define PS_REGISTER_CONTROLLER_CLASS(ClassName)                                                      \
    [[maybe_unused]] static const bool ClassName##_controllerRegistered = ::preferences::PSClassFactory::registerController( \
        #ClassName, [] { return ::runtime::RefPtr<::uikit::UIViewController>(ClassName::create()); });

#define PS_REGISTER_CELL_CLASS(ClassName)                                                            \
    [[maybe_unused]] static const bool ClassName##_cellRegistered = ::preferences::PSClassFactory::registerCell( \
        #ClassName, [](::uikit::UITableViewCellStyle style, const std::string& reuse, ::preferences::PSSpecifier* specifier) { \
            return ::runtime::RefPtr<::preferences::PSTableCell>(ClassName::createWithSpecifier(style, reuse, specifier)); });
