#pragma once

#include <array>

#include "link/KeyLabels.h"
#include "model/PageAndMode.h"

// The main window's keyboard: which action a key-down asks for, given the keys pressed just
// before it and the page shown. Key codes are Windows virtual-key codes; the window maps its
// toolkit's keys to them in one place (VirtualKeysQt) and then calls HandleKeyDown.

inline constexpr int VK_BACK = 8;
inline constexpr int VK_TAB = 9;
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_SHIFT = 16;
inline constexpr int VK_CONTROL = 17;
inline constexpr int VK_MENU = 18;  // Alt
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_PRIOR = 33;  // Page Up
inline constexpr int VK_NEXT = 34;   // Page Down
inline constexpr int VK_END = 35;
inline constexpr int VK_HOME = 36;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_INSERT = 45;
inline constexpr int VK_DELETE = 46;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_F2 = 0x71;
inline constexpr int VK_F3 = 0x72;
inline constexpr int VK_F4 = 0x73;
inline constexpr int VK_F5 = 0x74;
inline constexpr int VK_F6 = 0x75;
inline constexpr int VK_F7 = 0x76;
inline constexpr int VK_F8 = 0x77;
inline constexpr int VK_F9 = 0x78;
inline constexpr int VK_F10 = 0x79;
inline constexpr int VK_F11 = 0x7A;
inline constexpr int VK_F12 = 0x7B;
// Digits '0'..'9' are 0x30..0x39 and letters 'A'..'Z' are 65..90: the upper-case character
// itself is the key code ('Q' == 81).

// The hidden service mode is switched on and off by typing O, R, V, S one after the other
// (the maker's initials and "service"). The last letter is the key being pressed; the three
// before it are in KeyHistory, newest first.
inline constexpr std::array<int, 4> kServiceSequence{'O', 'R', 'V', 'S'};

// The previous three key codes, newest first; all 0 at start.
struct KeyHistory {
  std::array<int, 3> keys{};

  // Records a key-down; the oldest entry is dropped.
  void Push(int vk);
  // True when the key pressed just before the current one was Ctrl: "Ctrl+X".
  bool CtrlBefore() const;
};

// What the main window shows, as far as the keys care.
struct KeyContext {
  Page currentPage = Page::Setup;
  ConnectionMode connectionMode = ConnectionMode::None;
  bool tabParamVisible = false;
  bool tabConfigVisible = false;
  bool tabMapVisible = false;
  bool tabUpgVisible = false;
};

enum class KeyAction {
  None,
  ShowKeyLabelsAndHelp,   // F1
  SelectSetup,            // F2
  SelectParam,            // F3, TabParam visible
  SelectConfig,           // F4, TabConfig visible
  SelectMap,              // F5, TabMap visible
  SelectUpg,              // F6, TabUpg visible
  FocusGrid,              // F7
  ModeSwitchOrReconnect,  // F8, as a click on PanelInfo
  NextFontSize,           // F9
  Reconnect,              // F10
  SwitchListOrder,        // Ctrl+F11
  StopLink,               // Ctrl+Q
  ResetChannelColours,    // Ctrl+W
  SaveRecording,          // Ctrl+S
  OpenRecording,          // Ctrl+O
  ToggleScope,            // Enter on page 1
  StartProgramming,       // Enter on page 7
  StepDown,               // Left on page 1 with a controller connected
  StepUp,                 // Right on page 1 with a controller connected
  ToggleServiceMode,      // the service sequence completed
  ExportCsv,              // Ctrl+E on page 1: the history shown as CSV
  TogglePlay,             // Ctrl+P on page 1: play or pause the stopped history
  ServiceReport,          // Ctrl+R on page 1: the report of the parameters in view
};

// The action for key-down vk; history holds the keys before it. Does not record vk.
KeyAction DecideKey(int vk, const KeyHistory& history, const KeyContext& ctx);

// Decides, then records vk in history whether or not it was handled.
KeyAction HandleKeyDown(int vk, KeyHistory& history, const KeyContext& ctx);

// CBFont's items: 10, 12, 14. F9 moves to the next one, after 14 back to 10.
inline constexpr std::array<int, 3> kFontSizes{10, 12, 14};

// The item after index; an index outside the list (no selection) gives the first item.
int NextFontIndex(int index);
// The font size of an item; an index outside the list gives the first size.
int FontSizeForIndex(int index);
