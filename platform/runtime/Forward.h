#pragma once

namespace runtime {
class Object;
class Class;
class Selector;
template<typename Signature> class Operation;
template<typename T> class Ref;
template<typename T> class RefPtr;
template<typename T> class WeakPtr;
}
