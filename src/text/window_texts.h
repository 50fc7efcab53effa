// Texts of the main window: toolbar, menus, the captions its show handler
// sets (rows of the text table) and the captions of the layout. The window
// binds each row to the control of the same name.
#pragma once

#include <span>

#include "text/text_id.h"

struct TToolButtonText {
  const char* Name;
  TTextId Caption;      // set by the show handler
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

// A caption the show handler sets: a row of the text table.
struct TStartupCaption {
  const char* Name;
  TTextId Text;
};

// The toolbar, left to right.
extern const std::span<const TToolButtonText> kToolbarButtons;
// The menu bar, left to right, and the two pop-up menus.
extern const std::span<const TMenuText> kMainMenu;
extern const TMenuText kLogPopupMenu;  // on the log memo
extern const TMenuText kEepPopupMenu;  // on the data-flash viewer

// Captions the show handler sets (besides the toolbar's), and the reset items.
extern const std::span<const TStartupCaption> kStartupCaptions;
extern const std::span<const TTextId> kResetItems;
// Captions and texts that stay as the layout has them.
extern const std::span<const TControlText> kLayoutCaptions;
extern const std::span<const char* const> kVoltageItems;
extern const std::span<const char* const> kSpeedItems;
extern const std::span<const char* const> kInterfaceItems;

inline constexpr const char* kResultFileName = "ResDW.Txt";

// Captions of the windows that live for the whole run.
inline constexpr const char* kAboutCaption = "About";
inline constexpr const char* kConstantFillCaption = "Config S/N Constant";
inline constexpr const char* kLogConfigCaption = "Config Log File.";
