#pragma once

// A preference screen that is a grouped list of specifiers. Specifiers come from a specifier file
// of the screen's bundle (loadSpecifiersFromPlistName) and are installed with setSpecifiers; group
// specifiers start sections (their label the header, "footerText" the footer), every other one is
// a row whose cell is made once and cached.
//
// Rows do what their cell type says: a switch or slider sends the specifier's setter when the user
// changes it; a link row opens its `detail` class (pushed on the root controller, or, for a
// PSSetupController, presented modally over it); a link-list row opens a PSListItemsController of
// its validTitles. Disabled rows ("enabled" NO) are greyed and cannot be used.

#include <foundation/NSArray.h>
#include <preferences/PSSpecifier.h>
#include <preferences/PSTableCell.h>
#include <preferences/PSViewController.h>
#include <runtime/Ref.h>
#include <uikit/UITableView.h>
#include <uikit/UITableViewProtocols.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {
class NSBundle;
}

namespace preferences {

class PSListController : public PSViewController, public uikit::UITableViewDataSource, public uikit::UITableViewDelegate {
    TORVANE_OBJECT(PSListController, PSViewController)
    TORVANE_ADOPTS(uikit::UITableViewDataSource, uikit::UITableViewDelegate)
public:
    static runtime::Ref<PSListController> create();
    ~PSListController() override;

    bool initForContentSize(CGSize size) override;
    void loadView() override;
    void viewWillAppear(bool animated) override;

    // The bundle the screen's specifier files and images come from. A screen opened from a row
    // shares its opener's bundle.
    foundation::NSBundle* bundle() const { return m_bundle.get(); }
    void setBundle(foundation::NSBundle* bundle);

    // loadSpecifiersFromPlistName:target: — the specifiers of "<bundle>/<name>.plist", each with
    // `target` as its target; the file's `title` becomes the screen's title. Empty (and a log line)
    // when the file is missing or malformed; items that are not understood are skipped.
    std::vector<runtime::Ref<PSSpecifier>> loadSpecifiersFromPlistName(std::string_view name, runtime::Object* target);
    const std::vector<runtime::Ref<PSSpecifier>>& specifiers() const { return m_specifiers; }
    void setSpecifiers(std::vector<runtime::Ref<PSSpecifier>> specifiers);

    // specifierForID: — nullptr when no specifier has that identifier.
    PSSpecifier* specifierForID(std::string_view identifier) const;
    // The first specifier whose property `key` has the text `value`, nullptr for none.
    PSSpecifier* specifierWithProperty(std::string_view key, std::string_view value) const;
    // reloadSpecifier: / reloadSpecifierID: — the row re-reads its specifier (and a custom cell
    // rebuilds itself through its layout).
    void reloadSpecifier(PSSpecifier& specifier);
    void reloadSpecifierID(std::string_view identifier);
    // cachedCellForSpecifierID: — the row's cell if it has been made, else nullptr.
    PSTableCell* cachedCellForSpecifierID(std::string_view identifier) const;

    uikit::UITableView& table();

    // The row of a specifier in the table, nullptr for a group or an unknown specifier.
    runtime::RefPtr<uikit::NSIndexPath> indexPathForSpecifier(const PSSpecifier& specifier) const;
    // Opens the screen a link row leads to, as a tap on the row does.
    void openDetailOfSpecifier(PSSpecifier& specifier);

    // The default getter and setter (readPreferenceValue: / setPreferenceValue:specifier:): the
    // specifier's `key` in its `defaults` domain.
    static runtime::RefPtr<runtime::Object> readPreferenceValue(PSSpecifier& specifier);
    static void setPreferenceValue(runtime::Object* value, PSSpecifier& specifier);

    // UITableViewDataSource / UITableViewDelegate
    int numberOfSectionsInTableView(uikit::UITableView&) override;
    int tableViewNumberOfRowsInSection(uikit::UITableView&, int section) override;
    runtime::RefPtr<uikit::UITableViewCell> tableViewCellForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView&, int section) override;
    std::optional<std::string> tableViewTitleForFooterInSection(uikit::UITableView&, int section) override;
    CGFloat tableViewHeightForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;

protected:
    PSListController();

private:
    struct Section {
        PSSpecifier* group { nullptr };
        std::vector<PSSpecifier*> rows;
    };
    void rebuildSections();
    PSSpecifier* specifierAt(const uikit::NSIndexPath&) const;
    runtime::Ref<PSTableCell> cellForSpecifier(PSSpecifier&);

    runtime::RefPtr<foundation::NSBundle> m_bundle;
    std::vector<runtime::Ref<PSSpecifier>> m_specifiers;
    std::vector<Section> m_sections;
    std::map<const PSSpecifier*, runtime::Ref<PSTableCell>> m_cells;
    runtime::RefPtr<uikit::UITableView> m_table;
};

}
