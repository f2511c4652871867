#include "WaitingDisplay.h"

#include <uikit/UIColor.h>

namespace pane {

namespace {

struct Stage {
    float progress;
    const char* text;
};

constexpr Stage stages[] = {
    { 0.1f, "Gathering Applications." },
    { 0.25f, "Updating Database.." },
    { 0.4f, "Updating Database..." },
    { 0.6f, "Saving Icons." },
    { 0.8f, "Creating Table.." },
    { 0.95f, "Loading Table..." },
};

}

void WaitingDisplay::showInView(uikit::UIView& view)
{
    waitHud = uikit::UIProgressHUD::create({ { 60, 100 }, { 200, 205 } });
    waitHud->setText("Please Wait... Loading Applications");
    waitHud->showInView(view);

    loadingLabel = uikit::UILabel::create({ { 5, 164 }, { 190, 20 } });
    loadingLabel->setTextAlignment(uikit::UITextAlignmentCenter);
    loadingLabel->setBackgroundColor(uikit::UIColor::clearColor());
    loadingLabel->setTextColor(uikit::UIColor::whiteColor());
    loadingLabel->setText("Initializing...");
    waitHud->addSubview(*loadingLabel);

    loadingView = uikit::UIProgressView::create(uikit::UIProgressViewStyleDefault);
    waitHud->addSubview(*loadingView);
    loadingView->setFrame({ { 5, 185 }, { 190, 25 } });
    loadingView->setProgress(0);
}

void WaitingDisplay::showStage(int32_t count)
{
    if (count < 1 || count > static_cast<int32_t>(std::size(stages)) || !loadingView || !loadingLabel)
        return;
    const Stage& stage = stages[count - 1];
    loadingView->setProgress(stage.progress);
    loadingLabel->setText(stage.text);
}

void WaitingDisplay::finish()
{
    if (waitHud) {
        waitHud->done();
        waitHud->removeFromSuperview();
    }
    waitHud = nullptr;
    loadingView = nullptr;
    loadingLabel = nullptr;
}

}
