#pragma once

// The guided auto-configuration of the configuration page. With the engine running it finds,
// on petrol, the ignition coil type, the TPS type and threshold and the lambda probe type and
// threshold, and on gas the stepper positions for 900 and 3000 rpm while the fitter adjusts
// the reducer. It is driven by one call per configuration reply (the statistics) and one per
// transmit tick (the step); the fitter answers through the page's five buttons.

#include <array>
#include <cstdint>
#include <string>

#include "base/UserDialogs.h"
#include "model/PageAndMode.h"
#include "model/ParameterBlock.h"

// Parameter bytes the wizard finds and sets.
namespace wizard_byte {
inline constexpr int kCoilType = 32;
inline constexpr int kTpsType = 33;
inline constexpr int kProbeType = 34;
inline constexpr int kOpeningTpsThreshold = 46;
inline constexpr int kTpsThreshold = 57;
inline constexpr int kProbeThreshold = 58;
inline constexpr int kPosition900 = 64;
inline constexpr int kPosition3000 = 65;
}  // namespace wizard_byte

// Rows of the parameter grid on the configuration page.
namespace wizard_row {
inline constexpr int kCoilType = 1;
inline constexpr int kTpsType = 2;
inline constexpr int kTpsThreshold = 3;
inline constexpr int kProbeType = 4;
inline constexpr int kProbeThreshold = 5;
inline constexpr int kPosition900 = 6;
inline constexpr int kPosition3000 = 7;
}  // namespace wizard_row

enum class WizardButton { Next, Ok, Cancel };

// What the wizard asks of the window: the parameter image, the mode-switch request, the
// message log, the progress gauge CGRead, the value cells of the parameter grid and the
// page's buttons.
class WizardHost {
 public:
  virtual ~WizardHost() = default;
  virtual const ParameterBlock& Parameters() const = 0;
  virtual void SetParameter(int index, std::uint8_t value) = 0;  // a finding the wizard applies
  virtual void RequestModeSwitch() = 0;  // ModeSwitchRequest: the next poll switches the mode
  virtual void ClearLog() = 0;
  virtual void AddLogLine(const std::string& line) = 0;
  virtual void SetGauge(int maximum, int position) = 0;
  virtual void SetGaugePosition(int position) = 0;
  virtual void SetGaugeVisible(bool visible) = 0;
  virtual void ShowFinding(int row, const std::string& text) = 0;  // value cell of the row
  virtual void SelectRow(int row) = 0;
  virtual void EnableButton(WizardButton button, bool enabled) = 0;
  virtual void RebuildEditor() = 0;
  virtual void ApplyConnectionMode(ConnectionMode mode) = 0;
  // A file copy of the parameters as a phase starts; returns the log line that names the file
  // (empty when no controller is connected and nothing was written).
  virtual std::string MakeAutomaticBackup() = 0;
};

// Bits of the controller status byte the wizard reads.
namespace wizard_status {
inline constexpr std::uint8_t kSwitchMask = 0x03;
inline constexpr std::uint8_t kSwitchPetrol = 2;
inline constexpr std::uint8_t kSwitchAuto = 3;
inline constexpr std::uint8_t kRunningMask = 0xC0;  // both set: the engine runs
inline constexpr std::uint8_t kStateMask = 0xDF;    // all but the throttle bit
inline constexpr std::uint8_t kPetrolAtPetrol = 0xD2;
inline constexpr std::uint8_t kGasAtAuto = 0xC7;
inline constexpr std::uint8_t kFuelMask = 0x1C;
inline constexpr std::uint8_t kWaitingForGas = 0x18;
inline constexpr std::uint8_t kNoStatus = 255;  // ControllerStatus before the first reply
}  // namespace wizard_status

// Results: 0 means not found.
struct WizardResults {
  std::uint8_t tpsThreshold = 0;
  std::uint8_t probeThreshold = 0;
  std::uint8_t position900 = 0;
  std::uint8_t position3000 = 0;
};

// Bytes 32, 33, 34, 57, 58, 46, 64 and 65 as they were when the current phase started.
struct WizardBackup {
  static constexpr std::array<int, 8> kBytes = {32, 33, 34, 57, 58, 46, 64, 65};
  std::array<std::uint8_t, 8> values{};
  bool taken = false;
};

struct WizardState {
  int WizardStep = 0;  // 0 idle, 1..6 the petrol phase, 10..18 the gas phase
  std::array<std::int32_t, 10> WizardCounters{};
  std::uint8_t lambdaMin = 0, lambdaMax = 0, tpsMin = 0, tpsMax = 0;
  WizardResults results;
  WizardBackup backup;
  std::int32_t runningTotal = 0;  // for the gas idle average
};

class AutoConfiguration {
 public:
  static constexpr int kPeakCount = 100;      // idle readings in one speed band; step 5 progress
  static constexpr int kCrossingCount = 5;    // midpoint crossings of the probe per position
  static constexpr int kStoredCrossings = 5;  // positions kept in C4..C8
  static constexpr std::int32_t kRunningTotalStart = 70;

  AutoConfiguration(WizardHost& host, UserDialogs& dialogs);

  WizardState state;

  int Step() const { return state.WizardStep; }
  // Selecting the page starts again at step 0; a phase still under way is given up silently.
  void Reset();
  // A phase is under way: the controller may hold values the wizard set and not yet applied.
  bool PhaseUnderWay() const { return state.WizardStep != 0; }
  // A way out of the page that neither applies nor asks (the program closing): the
  // parameters return to the backup of the phase under way.
  void Abandon();
  // One of the wizard's questions is open: its steps and statistics are held.
  bool Asking() const { return asking_; }
  // The log line of the last automatic backup, shown at the head of the log.
  const std::string& BackupLine() const { return backupLine_; }

  // Statistics of one configuration reply: engine speed S (hundreds of rpm), lambda voltage L,
  // stepper position M, TPS voltage T.
  void OnConfigurationReply(std::uint8_t speed, std::uint8_t lambda, std::uint8_t stepper,
                            std::uint8_t throttle);
  // One step, run after each configuration poll; status is the last ControllerStatus.
  void OnTransmitTick(std::uint8_t status);

  void BitBtnConBenClick();
  void BitBtnConGasClick();
  void BitBtnNextClick();
  void BitBtnOkClick();
  void BitBtnCancelClick();

  // Leaving the page: after step 3 asks whether to apply the findings (OK) or drop them.
  void LeavePage();

 private:
  using Counter = std::int32_t;
  struct Measured {
    bool coil = false, types = false, thresholds = false, positions = false;
    bool Has(int index) const;  // a byte of the backup the phase has measured
  };
  Measured MeasuredSoFar() const;
  Counter& C(int n) { return state.WizardCounters[static_cast<std::size_t>(n)]; }
  void ClearCounters() { state.WizardCounters.fill(0); }
  void BeepAndSay(int textId);
  void Add(int textId);
  void AskToSwitch();
  void TakeBackup();
  void StartPhase(int firstStep, bool restart);
  void RestoreBackup();
  void ClearLog();
  MessageAnswer Ask(int textId, MessageButtons buttons);
  void ClearResults() { state.results = {}; }
  void SetByte(int index, std::uint8_t value) { host_.SetParameter(index, value); }
  std::uint8_t Byte(int index) const { return host_.Parameters()[static_cast<std::size_t>(index)]; }
  void ShowPosition(int row, Counter value);
  void Thresholds(std::uint8_t lambda, std::uint8_t throttle);
  void IdleSpeedBands(std::uint8_t speed, std::uint8_t throttle);
  void RisingSpeed(std::uint8_t speed, std::uint8_t throttle);
  void GasIdle(std::uint8_t speed, std::uint8_t lambda, std::uint8_t stepper);
  void GasPositions(std::uint8_t lambda, std::uint8_t stepper);
  void StepIdleMeasured(std::uint8_t status);
  void StepRiseMeasured();

  WizardHost& host_;
  UserDialogs& dialogs_;
  bool asking_ = false;
  std::string backupLine_;
};
