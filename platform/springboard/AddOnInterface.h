#pragma once

// What the SpringBoard host asks of a loaded add-on without linking against it: C functions the
// add-on may export, looked up with dlsym in the process's loaded libraries. A missing function
// means the add-on is not loaded (or does not offer it), and the host reports nothing.

#include <cstddef>

extern "C" {

// Calls `visit` once for every entry of the add-on's running-applications list, in its order, as
// the add-on holds it (unfiltered); returns the number of entries.
using TorvaneRunningApplicationsFunction = size_t (*)(void (*visit)(const char* bundleIdentifier, void* context), void* context);
inline constexpr const char* TorvaneRunningApplicationsSymbol = "TorvaneRunningApplications";

}

extern "C" {

// The quick-killer popup while it shows: `visit` gets its title (kind 0, in `text`), then each row in
// order (kind 1: the application's name in `text`, its bundle identifier and its memory label), then
// each button title (kind 2, in `text`). Unused strings are null. False, with nothing visited, when
// no popup shows.
enum TorvanePopupItemKind : int { TorvanePopupTitle = 0, TorvanePopupRow = 1, TorvanePopupButton = 2 };
using TorvanePopupVisitor = void (*)(int kind, const char* text, const char* bundleIdentifier, const char* memory, void* context);
using TorvaneQuickKillerPopupFunction = bool (*)(TorvanePopupVisitor visit, void* context);
inline constexpr const char* TorvaneQuickKillerPopupSymbol = "TorvaneQuickKillerPopup";

// Taps, as a finger would, the red Kill button of the popup's row for the application with that name.
enum TorvanePopupKillResult : int {
    TorvanePopupKillTapped = 0,
    TorvanePopupKillNoPopup = 1,
    TorvanePopupKillNoSuchRow = 2,
    // The button is still turning red and takes no touches yet.
    TorvanePopupKillButtonBusy = 3,
    // The row is scrolled out of the popup's view; no finger can reach its button.
    TorvanePopupKillRowOutOfView = 4,
};
using TorvaneQuickKillerKillFunction = int (*)(const char* applicationName);
inline constexpr const char* TorvaneQuickKillerKillSymbol = "TorvaneQuickKillerKill";

}
