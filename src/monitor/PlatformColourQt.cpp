#include "monitor/PlatformColourQt.h"

#include <QApplication>
#include <QPalette>

namespace {

QPalette::ColorRole SystemColourRole(int index) {
  switch (index) {
    case 0: return QPalette::Button;           // scroll bar
    case 1: return QPalette::Dark;             // desktop
    case 2: return QPalette::Highlight;        // active caption
    case 3: return QPalette::Mid;              // inactive caption
    case 4: return QPalette::Window;           // menu
    case 5: return QPalette::Base;             // window background
    case 6: return QPalette::Shadow;           // window frame
    case 7: return QPalette::WindowText;       // menu text
    case 8: return QPalette::Text;             // window text
    case 9: return QPalette::HighlightedText;  // caption text
    case 10:
    case 11: return QPalette::Button;  // borders
    case 12: return QPalette::Dark;    // application workspace
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;           // button face
    case 16: return QPalette::Dark;             // button shadow
    case 17: return QPalette::PlaceholderText;  // grey text
    case 18: return QPalette::ButtonText;
    case 19: return QPalette::WindowText;   // inactive caption text
    case 20: return QPalette::Light;        // button highlight
    case 21: return QPalette::Shadow;       // 3D dark shadow
    case 22: return QPalette::Midlight;     // 3D light
    case 23: return QPalette::ToolTipText;  // info text
    case 24: return QPalette::ToolTipBase;  // info background
    case 26: return QPalette::Link;         // hot light
    case 27: return QPalette::Highlight;    // gradient of the active caption
    case 28: return QPalette::Mid;          // gradient of the inactive caption
    case 29: return QPalette::Highlight;    // menu highlight
    default: return QPalette::Window;       // menu bar and the rest
  }
}

}  // namespace

QColor PlatformColour(std::int32_t colour) {
  const auto value = static_cast<std::uint32_t>(colour);
  if ((value >> 24) == 0x80)
    return QApplication::palette().color(SystemColourRole(static_cast<int>(value & 0xFF)));
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}
