#pragma once

// The theme chooser, shown modally over the pane: a preview of the chosen image around the sample
// icon on top, and below it every theme of the themes folder as a section of its images. Tapping an
// image moves the checkmark and the preview to it; Save writes it as the SelectedTheme, Cancel
// (and the Settings application leaving the foreground) closes without writing.
//
// The theme list is read once per opening, so changes to the folders show at the next one.

#include <foundation/NSArray.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSString.h>
#include <preferences/PSViewController.h>
#include <runtime/Ref.h>
#include <runtime/RefPtr.h>
#include <uikit/UIImageView.h>
#include <uikit/UITableView.h>
#include <uikit/UITableViewProtocols.h>

#include <optional>
#include <string>

namespace pane {

class ChooseCustomImageSetupController : public preferences::PSViewController,
                                         public uikit::UITableViewDataSource,
                                         public uikit::UITableViewDelegate {
    TORVANE_OBJECT(ChooseCustomImageSetupController, preferences::PSViewController)
    TORVANE_ADOPTS(uikit::UITableViewDataSource, uikit::UITableViewDelegate)
public:
    static constexpr const char themesRoot[] = "/Library/Application Support/Torvane/Themes";

    static runtime::Ref<ChooseCustomImageSetupController> create();
    ~ChooseCustomImageSetupController() override;

    // Closes an open chooser without saving (the root list calls it when Settings leaves the front).
    static void popAllControllers();

    bool initForContentSize(uikit::CGSize size) override;
    void loadView() override;
    std::string navigationTitle() const override { return "Images"; }

    // Closes the chooser; the Cancel action, and the end of Save.
    void doneWithPage();
    // Writes the picked image (if the user picked one other than the saved one), then closes.
    void saveImages();

    // UITableViewDataSource / UITableViewDelegate, for both tables.
    int numberOfSectionsInTableView(uikit::UITableView&) override;
    int tableViewNumberOfRowsInSection(uikit::UITableView&, int section) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView&, int section) override;
    std::optional<std::string> tableViewTitleForFooterInSection(uikit::UITableView&, int section) override;
    runtime::RefPtr<uikit::UITableViewCell> tableViewCellForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;

    uikit::UITableView* imageTable() const { return m_imageTable.get(); }
    uikit::UITableView* selectionTable() const { return m_selectionTable.get(); }
    // What Save will write; empty until the user picks another image.
    const foundation::NSMutableDictionary& willSaveDict() const { return m_willSaveDict.get(); }

private:
    ChooseCustomImageSetupController();

    // The parsed list.plist of section s, or nullptr for a theme without a readable one.
    foundation::NSDictionary* themeOfSection(int section) const;
    // The image dictionaries of section s, or nullptr.
    foundation::NSArray* imagesOfSection(int section) const;
    void showThemesInformationOnce();

    // Declared so that they go in the reverse order: the saved selection first, the views last.
    runtime::RefPtr<uikit::UITableView> m_imageTable;
    runtime::RefPtr<uikit::UIView> m_backView;
    runtime::RefPtr<uikit::UITableView> m_selectionTable;
    runtime::Ref<foundation::NSMutableDictionary> m_themeDict;
    runtime::Ref<foundation::NSArray> m_themeArray;
    runtime::Ref<uikit::UIImageView> m_currentImageView;
    // nullptr while no image is chosen: then no row carries the checkmark.
    runtime::RefPtr<foundation::NSString> m_currentImageName;
    runtime::Ref<foundation::NSMutableDictionary> m_willSaveDict;
};

}
