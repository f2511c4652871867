#pragma once

// The system's waiting display: a dark rounded panel with a spinning mark and a line of text,
// shown over a view while work goes on. done() turns the spinner into a checkmark; hide() takes
// the panel away. The owner may add its own subviews (a stage label, a progress bar) to it.
//
// The spinner's phase follows the main run loop's clock, so a picture taken at a given (virtual)
// time always looks the same.

#include <uikit/UIView.h>

#include <string>

namespace uikit {

class UIProgressHUD : public UIView {
    TORVANE_OBJECT(UIProgressHUD, UIView)
public:
    // initWithFrame:
    static runtime::Ref<UIProgressHUD> create(CGRect frame = CGRectZero);

    const std::string& text() const { return m_text; }
    void setText(std::string text);

    // Adds the panel on top of `view` and shows it (spinning).
    void showInView(UIView& view);
    // The work is finished: the spinner becomes a checkmark.
    void done();
    // Takes the panel out of its superview.
    void hide();

    bool isShowing() const { return m_showing; }
    bool isDone() const { return m_done; }

    void drawRect(CGRect rect) override;

protected:
    explicit UIProgressHUD(CGRect frame);

private:
    std::string m_text;
    bool m_showing { false };
    bool m_done { false };
};

}
