#include "app/VirtualKeysQt.h"

#include <Qt>
#include <array>

#include "app/KeyTable.h"

namespace {

// X key codes (the kernel's key number + 8) of the letter keys, by their Latin letter.
constexpr std::array<std::uint8_t, 26> kLetterKeyCodes{
    38, 56, 54, 40, 26, 41, 42, 43, 31, 44, 45, 46, 58,  // A .. M
    57, 32, 33, 24, 27, 39, 28, 30, 55, 25, 53, 29, 52,  // N .. Z
};

// The Russian layout's capital letter on each Latin letter key, A .. Z.
constexpr std::array<char16_t, 26> kRussianLetters{
    u'Ф', u'И', u'С', u'В', u'У', u'А', u'П', u'Р', u'Ш', u'О', u'Л', u'Д', u'Ь',
    u'Т', u'Щ', u'З', u'Й', u'К', u'Ы', u'Е', u'Г', u'М', u'Ц', u'Ч', u'Н', u'Я',
};

int LetterByKeyCode(std::uint32_t keyCode) {
  for (std::size_t i = 0; i < kLetterKeyCodes.size(); ++i)
    if (kLetterKeyCodes[i] == keyCode) return 'A' + static_cast<int>(i);
  return 0;
}

int LetterByRussianLayout(int qtKey) {
  if (qtKey >= 0x430 && qtKey <= 0x44F) qtKey -= 0x20;  // small letters, should a platform send them
  for (std::size_t i = 0; i < kRussianLetters.size(); ++i)
    if (kRussianLetters[i] == qtKey) return 'A' + static_cast<int>(i);
  return 0;
}

// A letter of another script than Latin: Qt numbers those keys by their Unicode letter.
bool IsNonLatinLetter(int qtKey) { return qtKey > 0xFF && qtKey < Qt::Key_Escape; }

}  // namespace

int VirtualKeyFromQt(int qtKey, std::uint32_t nativeScanCode) {
  // Qt numbers letters and digits by their upper-case character, as the virtual keys do.
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
  if (IsNonLatinLetter(qtKey)) {
    if (const int letter = LetterByKeyCode(nativeScanCode)) return letter;
    return LetterByRussianLayout(qtKey);
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
  }
}
