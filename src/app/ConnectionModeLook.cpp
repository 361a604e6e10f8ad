#include "app/ConnectionModeLook.h"

#include "base/UiText.h"

namespace {

constexpr int kVersionWarningFrom = 176;

}  // namespace

ConnectionModeLook LookOfConnectionMode(ConnectionMode mode, const ParameterBlock& block, bool serviceMode,
                                        const std::string& openedFileName) {
  using Mode = ConnectionMode;
  ConnectionModeLook look;
  const ModelDescription model = ModelText(block[kTypeByte]);
  const std::string deviceText = model.deviceTextId ? UiText(model.deviceTextId) : std::string();
  const std::string version = VersionText(block);
  look.caption = kBaseCaption;
  switch (mode) {
    case Mode::File: look.caption += " - [" + openedFileName + "] -" + model.model + " V" + version; break;
    case Mode::Controller:
    case Mode::Tester: look.caption += deviceText + model.model + " V" + version; break;
    case Mode::Loader: look.caption += deviceText + model.model; break;
    default: break;
  }

  const bool mapForbidden = (block[kPresenceMaskByte] & 0x04) && !serviceMode;
  const bool upgForbidden = (block[kPresenceMaskByte] & 0x08) && !serviceMode;
  look.paramVisible = mode == Mode::File || mode == Mode::Controller;
  look.configVisible = mode == Mode::Controller;
  look.mapVisible = mode == Mode::Controller && !mapForbidden;
  look.upgVisible =
      (mode == Mode::Controller && !upgForbidden) || mode == Mode::Tester || mode == Mode::Loader;
  look.procVisible = mode == Mode::Controller && serviceMode;

  if (mode == Mode::Controller)
    look.page = Page::Parameters;
  else if (mode == Mode::Tester || mode == Mode::Loader)
    look.page = Page::Firmware;

  if ((mode == Mode::File || mode == Mode::Controller) && block[kVersionByte] >= kVersionWarningFrom)
    look.versionWarning = UiText(741) + std::to_string(block[kVersionByte] & 0xF0) + " .\n\r";
  return look;
}
