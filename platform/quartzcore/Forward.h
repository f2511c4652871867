#pragma once

namespace quartzcore {
class CALayer;
class CALayerDelegate;
class CAGradientLayer;
class CABasicAnimation;
class CATransaction;
}
