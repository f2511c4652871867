#include <graphics/Gradient.h>

#include <algorithm>

namespace graphics {

const std::vector<GradientStop>& CGGradient::stops() const
{
    static const std::vector<GradientStop> none;
    return m_stops ? *m_stops : none;
}

CGGradient makeGradient(std::vector<GradientStop> stops)
{
    if (stops.empty())
        return {};
    std::stable_sort(stops.begin(), stops.end(),
        [](const GradientStop& a, const GradientStop& b) { return a.location < b.location; });
    return CGGradient(std::make_shared<const std::vector<GradientStop>>(std::move(stops)));
}

namespace {

CGFloat locationAt(const CGFloat* locations, std::size_t index, std::size_t count)
{
    if (locations)
        return locations[index];
    return count > 1 ? static_cast<CGFloat>(index) / static_cast<CGFloat>(count - 1) : 0;
}

} // namespace

CGGradient CGGradientCreateWithColorComponents(const CGColorSpace& space, const CGFloat* components,
    const CGFloat* locations, std::size_t count)
{
    if (!space || !components || count == 0)
        return {};
    std::size_t stride = space.numberOfComponents() + 1;
    std::vector<GradientStop> stops;
    stops.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        stops.push_back({ locationAt(locations, i, count), rgbaFromComponents(space, components + i * stride) });
    return makeGradient(std::move(stops));
}

CGGradient CGGradientCreateWithColors(const CGColorSpace&, const std::vector<CGColor>& colors,
    const CGFloat* locations)
{
    std::vector<GradientStop> stops;
    stops.reserve(colors.size());
    for (std::size_t i = 0; i < colors.size(); ++i)
        stops.push_back({ locationAt(locations, i, colors.size()), colors[i].rgba() });
    return makeGradient(std::move(stops));
}

} // namespace graphics
