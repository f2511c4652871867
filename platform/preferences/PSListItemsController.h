#pragma once

// The multiple-choice screen a link-list row opens: one row per entry of the row's validTitles,
// a checkmark on the one whose validValues entry equals the row's value; tapping a row writes its
// value through the opening specifier's setter and moves the checkmark.

#include <preferences/PSListController.h>

namespace preferences {

class PSListItemsController : public PSListController {
    TORVANE_OBJECT(PSListItemsController, PSListController)
public:
    static runtime::Ref<PSListItemsController> create();

    bool initForContentSize(CGSize size) override;
    void viewWillAppear(bool animated) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;

protected:
    PSListItemsController();

private:
    void buildItems();
    void updateCheckmarks();
};

}
