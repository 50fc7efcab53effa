// Texts of the main window: toolbar, menus, the captions its show handler
// sets, the captions of the layout, and the start-up messages. The window
// binds each row to the control of the same name.
#pragma once

#include <span>

struct TToolButtonText {
  const char* Name;
  const char* Caption;  // set by the show handler
  const char* Hint;     // from the layout
};

struct TMenuItemText {
  const char* Name;
  const char* Caption;
  const char* Shortcut;  // in the "Ctrl+F2" form; empty for none
  bool Hidden;           // not visible at start
  bool SeparatorAfter;
};

// A menu of the menu bar (or a pop-up menu); one without items is a
// top-level command of its own.
struct TMenuText {
  const char* Name;
  const char* Caption;
  std::span<const TMenuItemText> Items;
};

struct TControlText {
  const char* Name;
  const char* Text;
};

// The toolbar, left to right.
extern const std::span<const TToolButtonText> kToolbarButtons;
// The menu bar, left to right, and the two pop-up menus.
extern const std::span<const TMenuText> kMainMenu;
extern const TMenuText kLogPopupMenu;  // on the log memo
extern const TMenuText kEepPopupMenu;  // on the data-flash viewer

// Captions the show handler sets (besides the toolbar's), and the reset items.
extern const std::span<const TControlText> kStartupCaptions;
extern const std::span<const char* const> kResetItems;
// Captions and texts that stay as the layout has them.
extern const std::span<const TControlText> kLayoutCaptions;
extern const std::span<const char* const> kVoltageItems;
extern const std::span<const char* const> kSpeedItems;
extern const std::span<const char* const> kInterfaceItems;

inline constexpr const char* kFileChecksumPanel = "File CheckSum: ";
inline constexpr const char* kChipChecksumPanel = "Chip CheckSum: ";
inline constexpr const char* kSelectChipPrompt = "Please select Chip....";
inline constexpr const char* kGreeting = "Hello Velmot200IND User! ------ ";
inline constexpr const char* kFileNotFoundFormat = "File \"%s\" not found, Please confirm!";
inline constexpr const char* kResultFileName = "ResDW.Txt";

// The port combo once its last port has hung up.
inline constexpr const char* kPleaseConnectDeviceText = "Please Connect device......";
// "Do Firmware Upgrade" without a programmer to upgrade, or with a firmware
// file that fails its checks.
inline constexpr const char* kNoDeviceConnectedText = "No Device is Connected!";
inline constexpr const char* kBadFirmwareFileText = "Firmware Data Check Error, File may be corrupted!";

// Captions of the windows that live for the whole run.
inline constexpr const char* kAboutCaption = "About";
inline constexpr const char* kOffsetAddressCaption = "Set Binary Offset Address";
inline constexpr const char* kConstantFillCaption = "Config S/N Constant";
inline constexpr const char* kLogConfigCaption = "Config Log File.";
