#pragma once

// One row of a table.
//
// Subviews, bottom to top: the background (backgroundView when set; otherwise the table's own look:
// white for plain tables, the rounded group piece for grouped ones), the selected background
// (shown while highlighted or selected, unless the selection style is None), the plain table's
// separator line along the bottom point, the contentView (holding imageView, textLabel and
// detailTextLabel) and the accessory. Subclasses add their own views to contentView, or directly to
// the cell above it (a cell that draws all of its content in one view of its own).
//
// Styles lay out the labels as iOS 6 does: Default (bold 20 text, no detail label), Value1 (text on
// the left, blue-grey detail right-aligned), Value2 (small blue right-aligned text, bold detail),
// Subtitle (text above grey detail).
//
// States: highlighted (finger down) and selected; both turn the labels and the checkmark white.
// A subclass that overrides setSelected(bool, bool) (or setHighlighted, setEditing) brings the
// one-argument form back with `using UITableViewCell::setSelected;`.
// Editing: setEditing sends willTransitionToState with the new state mask, then lays out (the
// content moves right to make room for the edit control), then didTransitionToState.

#include <runtime/RefPtr.h>
#include <uikit/UITableViewProtocols.h>
#include <uikit/UIView.h>

#include <string>

namespace uikit {

class UIImageView;
class UILabel;

enum UITableViewCellStyle : int {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

enum UITableViewCellSelectionStyle : int {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue = 1,
    UITableViewCellSelectionStyleGray = 2,
};

enum UITableViewCellAccessoryType : int {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryDetailDisclosureButton = 2,
    UITableViewCellAccessoryCheckmark = 3,
};

enum UITableViewCellStateMask : unsigned {
    UITableViewCellStateDefaultMask = 0,
    UITableViewCellStateShowingEditControlMask = 1u << 0,
    UITableViewCellStateShowingDeleteConfirmationMask = 1u << 1,
};

// Where a cell sits in its section, which decides the rounded corners of a grouped table's piece.
enum class UITableViewCellGroupPosition { Single, Top, Middle, Bottom };

class UITableViewCell : public UIView {
    TORVANE_OBJECT(UITableViewCell, UIView)
public:
    // initWithStyle:reuseIdentifier: (320 x 44 until the table places it).
    static runtime::Ref<UITableViewCell> create(UITableViewCellStyle style = UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});
    ~UITableViewCell() override;

    UITableViewCellStyle style() const { return m_style; }
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }

    UIView& contentView() const { return m_contentView.get(); }
    UILabel& textLabel() const { return m_textLabel.get(); }
    // The text a reader of the screen hears for the row: the textLabel's text. A cell that draws its
    // own text instead of using textLabel answers that text.
    virtual std::string accessibilityLabel() const;
    // What the row currently holds, read after its label ("12 MB", "On"); empty when nothing. A cell
    // that draws its own content answers it.
    virtual std::string accessibilityValue() const { return {}; }
    // A name for the row that is never shown or spoken, which testing tools find the row by (a
    // record's key, say); empty unless set.
    const std::string& accessibilityIdentifier() const { return m_accessibilityIdentifier; }
    void setAccessibilityIdentifier(std::string identifier) { m_accessibilityIdentifier = std::move(identifier); }
    // nullptr for the Default style, which has none.
    UILabel* detailTextLabel() const { return m_detailTextLabel.get(); }
    UIImageView& imageView() const { return m_imageView.get(); }

    UIView* backgroundView() const { return m_backgroundView.get(); }
    void setBackgroundView(runtime::RefPtr<UIView> view);
    UIView* selectedBackgroundView() const { return m_selectedBackgroundView.get(); }
    void setSelectedBackgroundView(runtime::RefPtr<UIView> view);

    UITableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(UITableViewCellSelectionStyle style);
    UITableViewCellAccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(UITableViewCellAccessoryType type);
    UIView* accessoryView() const { return m_accessoryView.get(); }
    // A custom accessory replaces the drawn one.
    void setAccessoryView(runtime::RefPtr<UIView> view);

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected) { setSelected(selected, false); }
    virtual void setSelected(bool selected, bool animated);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted) { setHighlighted(highlighted, false); }
    virtual void setHighlighted(bool highlighted, bool animated);

    bool isEditing() const { return m_editing; }
    void setEditing(bool editing) { setEditing(editing, false); }
    virtual void setEditing(bool editing, bool animated);
    bool showingDeleteConfirmation() const { return m_stateMask & UITableViewCellStateShowingDeleteConfirmationMask; }
    // Editing state changes, with the mask of UITableViewCellStateMask bits the cell moves to.
    virtual void willTransitionToState(unsigned state);
    virtual void didTransitionToState(unsigned state);

    // Called by the table when the cell is taken from the reuse queue: clears highlight, selection
    // and editing. Subclasses reset their own content (calling this first).
    virtual void prepareForReuse();

    void layoutSubviews() override;

    // Set by the table when it places the cell: its style, the cell's place in its section and the
    // separator it draws.
    void setTableLook(UITableViewStyle style, UITableViewCellGroupPosition position,
        UITableViewCellSeparatorStyle separatorStyle, runtime::RefPtr<UIColor> separatorColor);
    UITableViewStyle tableStyle() const { return m_tableStyle; }
    UITableViewCellGroupPosition groupPosition() const { return m_groupPosition; }

protected:
    UITableViewCell(UITableViewCellStyle style, std::string reuseIdentifier);

private:
    void updateStateLooks();
    void updateSystemBackground();
    void layoutLabels(CGRect content);
    UIView* effectiveAccessory() const;

    UITableViewCellStyle m_style;
    std::string m_reuseIdentifier;
    std::string m_accessibilityIdentifier;
    runtime::Ref<UIView> m_contentView;
    runtime::Ref<UILabel> m_textLabel;
    runtime::RefPtr<UILabel> m_detailTextLabel;
    runtime::Ref<UIImageView> m_imageView;
    runtime::RefPtr<UIView> m_backgroundView;
    runtime::RefPtr<UIView> m_selectedBackgroundView;
    // The table's own looks, used while the owner has set none.
    runtime::RefPtr<UIView> m_systemBackgroundView;
    runtime::RefPtr<UIView> m_systemSelectedBackgroundView;
    runtime::Ref<UIView> m_separatorView;
    runtime::RefPtr<UIView> m_accessoryView;
    runtime::RefPtr<UIView> m_accessoryMarkView;
    UITableViewCellSelectionStyle m_selectionStyle { UITableViewCellSelectionStyleBlue };
    UITableViewCellAccessoryType m_accessoryType { UITableViewCellAccessoryNone };
    UITableViewStyle m_tableStyle { UITableViewStylePlain };
    UITableViewCellGroupPosition m_groupPosition { UITableViewCellGroupPosition::Single };
    UITableViewCellSeparatorStyle m_separatorStyle { UITableViewCellSeparatorStyleSingleLine };
    unsigned m_stateMask { UITableViewCellStateDefaultMask };
    bool m_selected { false };
    bool m_highlighted { false };
    bool m_editing { false };
};

}
