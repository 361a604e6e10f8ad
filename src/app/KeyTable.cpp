#include "app/KeyTable.h"

namespace {

bool CompletesServiceSequence(int vk, const KeyHistory& history) {
  return vk == kServiceSequence[3] && history.keys[0] == kServiceSequence[2] &&
         history.keys[1] == kServiceSequence[1] && history.keys[2] == kServiceSequence[0];
}

KeyAction DecideCtrlKey(int vk) {
  switch (vk) {
    case VK_F11: return KeyAction::SwitchListOrder;
    case 'Q': return KeyAction::StopLink;
    case 'W': return KeyAction::ResetChannelColours;
    case 'S': return KeyAction::SaveRecording;
    case 'O': return KeyAction::OpenRecording;
    default: return KeyAction::None;
  }
}

KeyAction IfVisible(bool visible, KeyAction action) { return visible ? action : KeyAction::None; }

}  // namespace

void KeyHistory::Push(int vk) {
  keys[2] = keys[1];
  keys[1] = keys[0];
  keys[0] = vk;
}

bool KeyHistory::CtrlBefore() const { return keys[0] == VK_CONTROL; }

KeyAction DecideKey(int vk, const KeyHistory& history, const KeyContext& ctx) {
  if (CompletesServiceSequence(vk, history)) return KeyAction::ToggleServiceMode;
  if (history.CtrlBefore()) {
    const KeyAction action = DecideCtrlKey(vk);
    if (action != KeyAction::None) return action;
    if (vk == 'E' && ctx.currentPage == Page::Parameters) return KeyAction::ExportCsv;
    if (vk == 'P' && ctx.currentPage == Page::Parameters) return KeyAction::TogglePlay;
    if (vk == 'R' && ctx.currentPage == Page::Parameters) return KeyAction::ServiceReport;
  }
  switch (vk) {
    case VK_F1: return KeyAction::ShowKeyLabelsAndHelp;
    case VK_F2: return KeyAction::SelectSetup;
    case VK_F3: return IfVisible(ctx.tabParamVisible, KeyAction::SelectParam);
    case VK_F4: return IfVisible(ctx.tabConfigVisible, KeyAction::SelectConfig);
    case VK_F5: return IfVisible(ctx.tabMapVisible, KeyAction::SelectMap);
    case VK_F6: return IfVisible(ctx.tabUpgVisible, KeyAction::SelectUpg);
    case VK_F7: return KeyAction::FocusGrid;
    case VK_F8: return KeyAction::ModeSwitchOrReconnect;
    case VK_F9: return KeyAction::NextFontSize;
    case VK_F10: return KeyAction::Reconnect;
    case VK_RETURN:
      if (ctx.currentPage == Page::Parameters) return KeyAction::ToggleScope;
      if (ctx.currentPage == Page::Firmware) return KeyAction::StartProgramming;
      return KeyAction::None;
    case VK_LEFT:
    case VK_RIGHT:
      if (ctx.currentPage != Page::Parameters || ctx.connectionMode != ConnectionMode::Controller)
        return KeyAction::None;
      return vk == VK_LEFT ? KeyAction::StepDown : KeyAction::StepUp;
    default: return KeyAction::None;
  }
}

KeyAction HandleKeyDown(int vk, KeyHistory& history, const KeyContext& ctx) {
  const KeyAction action = DecideKey(vk, history, ctx);
  history.Push(vk);
  return action;
}

int NextFontIndex(int index) {
  if (index < 0 || index + 1 >= static_cast<int>(kFontSizes.size())) return 0;
  return index + 1;
}

int FontSizeForIndex(int index) {
  if (index < 0 || index >= static_cast<int>(kFontSizes.size())) return kFontSizes[0];
  return kFontSizes[static_cast<std::size_t>(index)];
}
