#pragma once

// A table cell drawn in one pass: one opaque view over the whole cell, above the stock content
// view, whose drawing is the cell's drawContentView. A long list then composites one view per row
// instead of a stack of labels and images. Subclasses draw the row in drawContentView and ask for
// a redraw with setNeedsDisplay when what they show changes.
//
// Both deliverables compile this design on their own; each names its classes (the add-on's
// SMDrawnTableViewCell, the pane's SwipeDrawnTableViewCell), which register with the runtime.

#include <runtime/Ref.h>
#include <uikit/UITableViewCell.h>

#include <string>

namespace torvane {

class DrawnTableViewCell : public uikit::UITableViewCell {
public:
    ~DrawnTableViewCell() override;

    // The cell's own drawing view (not the stock contentView, which lies below it).
    uikit::UIView& drawingView() const { return m_drawingView.get(); }

    // The drawing view follows the cell one point short, so the separator line below stays visible.
    void setFrame(uikit::CGRect frame) override;
    void setNeedsDisplay() override;
    void willTransitionToState(unsigned state) override;

    // Draws the whole row, in the drawing view's coordinates. Nothing here.
    virtual void drawContentView(uikit::CGRect rect);

protected:
    // `drawingView` is the subclass's own view class; it is marked opaque and added on top.
    DrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier, runtime::Ref<uikit::UIView> drawingView);

    // The rows' shared look: fills `rect` white (clear while the row is highlighted or selected)
    // and sets the text colour to match, black (or white).
    void fillRowBackground(uikit::CGRect rect) const;

private:
    runtime::Ref<uikit::UIView> m_drawingView;
};

}
