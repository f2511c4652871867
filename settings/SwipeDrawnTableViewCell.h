#pragma once

// A table cell drawn in one pass: one opaque view over the whole cell, above the stock content
// view, whose drawing is the cell's drawContentView. A long list then scrolls one view per row
// instead of a stack of labels and images. Subclasses draw the row in drawContentView and ask for a
// redraw with setNeedsDisplay when what they show changes.

#include <runtime/Ref.h>
#include <uikit/UITableViewCell.h>

#include <string>

class SwipeDrawnTableViewCellView;

class SwipeDrawnTableViewCell : public uikit::UITableViewCell {
    TORVANE_OBJECT(SwipeDrawnTableViewCell, uikit::UITableViewCell)
public:
    // initWithStyle:reuseIdentifier:
    static runtime::Ref<SwipeDrawnTableViewCell> create(uikit::UITableViewCellStyle style = uikit::UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});
    ~SwipeDrawnTableViewCell() override;

    // The cell's own drawing view (not the stock contentView, which lies below it).
    SwipeDrawnTableViewCellView& drawingView() const { return m_drawingView.get(); }

    // Dims (or restores) everything the row draws, as the disabled-applications list does for the
    // applications it leaves alone.
    void changeContentAlpha(uikit::CGFloat alpha);

    // The drawing view follows the cell one point short, so the separator line below stays visible.
    void setFrame(uikit::CGRect frame) override;
    void setNeedsDisplay() override;
    void willTransitionToState(unsigned state) override;

    // Draws the whole row, in the drawing view's coordinates. Nothing here.
    virtual void drawContentView(uikit::CGRect rect);

protected:
    SwipeDrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier);

private:
    runtime::Ref<SwipeDrawnTableViewCellView> m_drawingView;
};
