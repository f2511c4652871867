#pragma once

#include <runtime/Ref.h>
#include <uikit/UITableViewCell.h>

#include <string>

namespace tweak {

class SMDrawnTableViewCellView;

// A table cell drawn in one pass: a single opaque view over the whole cell, above the stock
// content view, whose drawing is the cell's drawContentView. Scrolling then composites one view per
// row instead of a stack of labels. Subclasses override drawContentView and ask for a redraw with
// setNeedsDisplay when their content changes.
class SMDrawnTableViewCell : public uikit::UITableViewCell {
    TORVANE_OBJECT(SMDrawnTableViewCell, uikit::UITableViewCell)
public:
    // initWithStyle:reuseIdentifier:
    static runtime::Ref<SMDrawnTableViewCell> create(uikit::UITableViewCellStyle style = uikit::UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});
    ~SMDrawnTableViewCell() override;

    // The cell's own drawing view (not the stock contentView, which lies below it).
    SMDrawnTableViewCellView& drawingView() const { return m_drawingView.get(); }

    // The drawing view follows the cell one point short, so the separator line below stays visible.
    void setFrame(uikit::CGRect frame) override;
    void setNeedsDisplay() override;
    void willTransitionToState(unsigned state) override;

    // Draws the whole row, in the drawing view's coordinates. Nothing here.
    virtual void drawContentView(uikit::CGRect rect);

protected:
    SMDrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier);

private:
    runtime::Ref<SMDrawnTableViewCellView> m_drawingView;
};

}
