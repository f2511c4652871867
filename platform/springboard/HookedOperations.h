#pragma once

// The eight SpringBoard operations an add-on may replace with MSHookMessageEx. Each is one
// runtime::Operation below, holding its selector and its signature: the class registers its own
// implementation with it and every call is sent through it, so a replacement installed at any time
// runs on the next call, and an implementation or replacement of another signature does not compile.
// A replacement has exactly the signature below (receiver, selector, then the operation's arguments)
// and calls the implementation it was handed back with the same arguments.
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

inline constinit const runtime::Operation<void(runtime::Object* folder, bool animated)> openFolderOperation { "openFolder:animated:" };
inline constinit const runtime::Operation<void(int state)> setApplicationStateOperation { "setApplicationState:" };
inline constinit const runtime::Operation<void()> willActivateOperation { "willActivate" };
inline constinit const runtime::Operation<void(runtime::Object* touches, runtime::Object* event)> touchesBeganOperation { "touchesBegan:withEvent:" };
inline constinit const runtime::Operation<void(runtime::Object* touches, runtime::Object* event)> touchesMovedOperation { "touchesMoved:withEvent:" };
inline constinit const runtime::Operation<runtime::Object*(runtime::Object* icon)> mappedIconViewOperation { "mappedIconViewForIcon:" };
inline constinit const runtime::Operation<void(bool hidden)> setHiddenOperation { "setHidden:" };
inline constinit const runtime::Operation<void()> lockOperation { "lock" };

// The implementation types, for whoever keeps the original a hook hands back.
using OpenFolderIMP = decltype(openFolderOperation)::Implementation;
using SetApplicationStateIMP = decltype(setApplicationStateOperation)::Implementation;
using WillActivateIMP = decltype(willActivateOperation)::Implementation;
using TouchesIMP = decltype(touchesBeganOperation)::Implementation;
using MappedIconViewIMP = decltype(mappedIconViewOperation)::Implementation;
using SetHiddenIMP = decltype(setHiddenOperation)::Implementation;
using LockIMP = decltype(lockOperation)::Implementation;

}
