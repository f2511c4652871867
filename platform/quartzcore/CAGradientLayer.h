#pragma once

// A layer filled with an axial gradient between startPoint and endPoint (unit coordinates of the
// bounds; top centre to bottom centre by default). Without locations the colours are spread evenly.
// The gradient is rounded by the corner radius, like the layer's background.

#include <quartzcore/CALayer.h>

#include <vector>

namespace quartzcore {

class CAGradientLayer : public CALayer {
    TORVANE_OBJECT(CAGradientLayer, CALayer)
public:
    static runtime::Ref<CAGradientLayer> create();

    const std::vector<CGColor>& colors() const { return m_colors; }
    void setColors(std::vector<CGColor> colors)
    {
        m_colors = std::move(colors);
        setNeedsDisplay();
    }
    // Ignored unless there is one location per colour.
    const std::vector<CGFloat>& locations() const { return m_locations; }
    void setLocations(std::vector<CGFloat> locations)
    {
        m_locations = std::move(locations);
        setNeedsDisplay();
    }
    CGPoint startPoint() const { return m_startPoint; }
    void setStartPoint(CGPoint point)
    {
        m_startPoint = point;
        setNeedsDisplay();
    }
    CGPoint endPoint() const { return m_endPoint; }
    void setEndPoint(CGPoint point)
    {
        m_endPoint = point;
        setNeedsDisplay();
    }

    void drawInContext(const graphics::CGContext& context) override;

protected:
    CAGradientLayer() = default;

private:
    std::vector<CGColor> m_colors;
    std::vector<CGFloat> m_locations;
    CGPoint m_startPoint { 0.5f, 0 };
    CGPoint m_endPoint { 0.5f, 1 };
};

}
