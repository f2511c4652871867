#pragma once

namespace springboard {
class SBAppSwitcherController;
class SBApplication;
class SBApplicationController;
class SBApplicationIcon;
class SBAwayController;
class SBFolder;
class SBFolderIcon;
class SBIcon;
class SBIconController;
class SBIconModel;
class SBIconView;
class SBIconViewMap;
class SBShowcaseController;
class SpringBoard;
}
