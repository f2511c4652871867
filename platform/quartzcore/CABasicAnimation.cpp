#include <quartzcore/CABasicAnimation.h>

namespace quartzcore {

TORVANE_DEFINE_CLASS(CABasicAnimation)

runtime::Ref<CABasicAnimation> CABasicAnimation::animationWithKeyPath(std::string keyPath)
{
    return runtime::adoptRef(*new CABasicAnimation(std::move(keyPath)));
}

runtime::Ref<CABasicAnimation> CABasicAnimation::copy() const
{
    auto copy = animationWithKeyPath(m_keyPath);
    copy->m_fromValue = m_fromValue;
    copy->m_toValue = m_toValue;
    copy->m_duration = m_duration;
    copy->m_fillMode = m_fillMode;
    copy->m_removedOnCompletion = m_removedOnCompletion;
    return copy;
}

}
