// The settings file reader with any file content: the store reads it, the settings are taken
// from it, corrected and fitted to a screen. The result must be usable, and what the store
// writes must read back as the same values.

#include <cstdint>
#include <string>

#include "app/AppSettings.h"
#include "app/SettingsStore.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  SettingsStore store("/nonexistent/ORV/LPG2.reg");
  store.LoadText(in.Rest());

  AppSettings settings = DefaultAppSettings("/opt/orv");
  LoadSettings(store, settings);
  AppSettings corrected = settings;
  FUZZ_CHECK(SanitiseSettings(corrected).empty());  // nothing left to correct
  FitSettingsToScreens(settings, {{0, 0, 1366, 728}}, 35);
  FUZZ_CHECK(settings.WSize >= kMinUpperPanelHeight);
  FUZZ_CHECK(settings.WSize <= UpperPanelLimit(settings.WState == 2 ? 728 : settings.WHeight - 35));
  if (settings.boundsRead) {
    FUZZ_CHECK(settings.WLeft >= 0 && settings.WLeft + settings.WWidth <= 1366);
    FUZZ_CHECK(settings.WTop >= 0 && settings.WTop + settings.WHeight <= 728);
  }

  // What is written reads back as written.
  SaveSettings(store, settings, "/opt/orv", false, false);
  SettingsStore again("/nonexistent/ORV/LPG2.reg");
  again.LoadText(store.ToText());
  FUZZ_CHECK(again.ValueNames() == store.ValueNames());
  for (const std::string& name : store.ValueNames()) {
    FUZZ_CHECK(again.TypeOf(name) == store.TypeOf(name));
    if (store.TypeOf(name) == SettingsStore::ValueType::Text)
      FUZZ_CHECK(again.ReadString(name) == store.ReadString(name));
    else
      FUZZ_CHECK(again.ReadInteger(name) == store.ReadInteger(name));
  }
  AppSettings reread = DefaultAppSettings("/opt/orv");
  LoadSettings(again, reread);
  reread.boundsRead = settings.boundsRead;  // design bounds are written, and read, as bounds
  FUZZ_CHECK(reread == settings);
  return 0;
}
