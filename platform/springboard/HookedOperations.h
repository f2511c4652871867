#pragma once

// The eight SpringBoard operations an add-on may replace with MSHookMessageEx. Each class registers
// its own implementation in its method table and every call goes through runtime::msgSend, so a
// replacement installed at any time runs on the next call. A replacement has exactly the signature
// below (receiver, selector, then the operation's arguments) and calls the implementation it was
// handed back with the same arguments.
//
// Objects cross as `runtime::Object*` (Objective-C's id), so a replacement can check what it was
// given (isKindOfClass) before using it:
//
//   SBIconController      openFolder:animated:      void (Object* self, Selector, Object* folder, bool animated)
//   SBApplication         setApplicationState:      void (Object* self, Selector, int state)
//   SBApplication         willActivate              void (Object* self, Selector)
//   SBIconView            touchesBegan:withEvent:   void (Object* self, Selector, Object* touches, Object* event)
//   SBIconView            touchesMoved:withEvent:   void (Object* self, Selector, Object* touches, Object* event)
//   SBIconViewMap         mappedIconViewForIcon:    Object* (Object* self, Selector, Object* icon)
//                                                   (the map keeps the view; the result is borrowed)
//   SBShowcaseController  setHidden:                void (Object* self, Selector, bool hidden)
//   SBAwayController      lock                      void (Object* self, Selector)

#include <runtime/MessageSend.h>

namespace springboard {

using OpenFolderIMP = runtime::Implementation<void, runtime::Object*, bool>;
using SetApplicationStateIMP = runtime::Implementation<void, int>;
using WillActivateIMP = runtime::Implementation<void>;
using TouchesIMP = runtime::Implementation<void, runtime::Object*, runtime::Object*>;
using MappedIconViewIMP = runtime::Implementation<runtime::Object*, runtime::Object*>;
using SetHiddenIMP = runtime::Implementation<void, bool>;
using LockIMP = runtime::Implementation<void>;

inline constexpr const char* openFolderSelector = "openFolder:animated:";
inline constexpr const char* setApplicationStateSelector = "setApplicationState:";
inline constexpr const char* willActivateSelector = "willActivate";
inline constexpr const char* touchesBeganSelector = "touchesBegan:withEvent:";
inline constexpr const char* touchesMovedSelector = "touchesMoved:withEvent:";
inline constexpr const char* mappedIconViewSelector = "mappedIconViewForIcon:";
inline constexpr const char* setHiddenSelector = "setHidden:";
inline constexpr const char* lockSelector = "lock";

}
