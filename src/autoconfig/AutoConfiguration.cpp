#include "autoconfig/AutoConfiguration.h"

#include <algorithm>

#include "base/UiText.h"

namespace {

using namespace wizard_status;

constexpr int kTpsStep = 12;  // the TPS threshold lies this far above the closed throttle

// Text ids of the findings.
constexpr int kCoilTextFirst = 415;   // coil types 0..6
constexpr int kTpsTextFirst = 427;    // TPS types 0..4
constexpr int kProbeTextFirst = 442;  // probe types 0..4

std::string Volts(std::uint8_t value) { return FormatParameterValue(value, kFormatVolts, 0.02) + " [V]"; }

std::uint8_t ToByte(std::int32_t value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// The probe type that a midpoint between the probe's extremes points to.
int ProbeTypeFor(std::uint8_t threshold) {
  if (threshold >= 16 && threshold <= 34) return 0;    // 0-1V
  if (threshold >= 51 && threshold <= 69) return 3;    // 0.8-1.6V
  if (threshold >= 101 && threshold <= 149) return 1;  // 0-5V
  return 4;                                            // none
}

}  // namespace

AutoConfiguration::AutoConfiguration(WizardHost& host, UserDialogs& dialogs)
    : host_(host), dialogs_(dialogs) {}

void AutoConfiguration::ClearLog() {
  host_.ClearLog();
  // The backup's file name stays in sight while the fitter follows the instructions.
  if (!backupLine_.empty()) host_.AddLogLine(backupLine_);
}

void AutoConfiguration::BeepAndSay(int textId) {
  dialogs_.Beep();
  ClearLog();
  host_.AddLogLine(UiText(textId));
}

// The steps and the statistics wait while the question is open: the box's own event loop
// goes on delivering ticks and replies.
MessageAnswer AutoConfiguration::Ask(int textId, MessageButtons buttons) {
  asking_ = true;
  const MessageAnswer answer = dialogs_.ShowMessage(UiText(textId), buttons);
  asking_ = false;
  return answer;
}

void AutoConfiguration::Add(int textId) { host_.AddLogLine(UiText(textId)); }

void AutoConfiguration::AskToSwitch() {
  if (Ask(771, MessageButtons::YesNo) == MessageAnswer::Yes) host_.RequestModeSwitch();
}

void AutoConfiguration::TakeBackup() {
  for (std::size_t i = 0; i < WizardBackup::kBytes.size(); ++i)
    state.backup.values[i] = Byte(WizardBackup::kBytes[i]);
  state.backup.taken = true;
}

void AutoConfiguration::ShowPosition(int row, Counter value) {
  host_.ShowFinding(row, std::to_string(value));
}

// ---------------------------------------------------------------------------------------
// Statistics of every configuration reply

void AutoConfiguration::OnConfigurationReply(std::uint8_t speed, std::uint8_t lambda, std::uint8_t stepper,
                                             std::uint8_t throttle) {
  if (asking_) return;
  const int step = state.WizardStep;
  if (step < 4 || step == 14) {
    state.lambdaMin = state.lambdaMax = lambda;
    state.tpsMin = state.tpsMax = throttle;
  }
  if (step >= 4) Thresholds(lambda, throttle);
  switch (step) {
    case 4: IdleSpeedBands(speed, throttle); break;
    case 5: RisingSpeed(speed, throttle); break;
    case 15: GasIdle(speed, lambda, stepper); break;
    case 16:
    case 17: {
      C(2) = (state.lambdaMin + state.lambdaMax) / 2;
      C(3) = state.lambdaMax;
      const bool counting = step == 16 ? speed <= 10 : speed > 28;
      if (counting) GasPositions(lambda, stepper);
      break;
    }
    default: break;
  }
}

void AutoConfiguration::Thresholds(std::uint8_t lambda, std::uint8_t throttle) {
  WizardState& s = state;
  s.tpsMin = std::min(s.tpsMin, throttle);
  s.tpsMax = std::max(s.tpsMax, throttle);
  s.results.tpsThreshold =
      s.tpsMax >= s.tpsMin + kTpsStep ? static_cast<std::uint8_t>(s.tpsMin + kTpsStep) : s.tpsMin;
  host_.ShowFinding(wizard_row::kTpsThreshold, Volts(s.results.tpsThreshold));
  s.lambdaMin = std::min(s.lambdaMin, lambda);
  s.lambdaMax = std::max(s.lambdaMax, lambda);
  s.results.probeThreshold = static_cast<std::uint8_t>((s.lambdaMin + s.lambdaMax) / 2);
  host_.ShowFinding(wizard_row::kProbeThreshold, Volts(s.results.probeThreshold));
}

// Petrol idle with the coil set to one cylinder: the speed reading tells the coil type.
void AutoConfiguration::IdleSpeedBands(std::uint8_t speed, std::uint8_t throttle) {
  struct Band {
    int above, upTo, counter;
  };
  static constexpr Band kBands[] = {{5, 10, 5},  {10, 20, 4}, {20, 30, 6}, {30, 40, 0},
                                    {40, 50, 1}, {50, 60, 2}, {60, 80, 3}};
  for (const Band& b : kBands) {
    if (speed > b.above && speed <= b.upTo) ++C(b.counter);
  }
  C(9) = (throttle + C(9)) / 2;
}

// Petrol, rising to 3000 rpm: the TPS readings on the way and at speed.
void AutoConfiguration::RisingSpeed(std::uint8_t speed, std::uint8_t throttle) {
  if (throttle > 50 && throttle < 75) ++C(2);
  if (throttle > 75 && throttle < 100) ++C(3);
  if (throttle > 100 && throttle < 125) ++C(4);
  if (speed <= 10) {
    C(0) = 3 * speed;
    C(1) = throttle / 2;
  } else if (speed < 25) {
    C(0) = 3 * speed;
  } else if (speed > 25) {
    ++C(0);
    C(5) = (throttle + C(5)) / 2;
  }
}

// Gas idle while the fitter adjusts the reducer: the stepper positions where the probe crosses
// its midpoint, averaged pairwise into a running mean that starts from 70.
void AutoConfiguration::GasIdle(std::uint8_t speed, std::uint8_t lambda, std::uint8_t stepper) {
  C(2) = (state.lambdaMin + state.lambdaMax) / 2;
  C(3) = state.lambdaMax;
  if (speed > 10) return;
  if (C(2) < C(1) && lambda < C(2)) {
    C(1) = lambda;
    ++C(0);
    C(4) = stepper;
    ++C(9);
  }
  if (C(1) < C(2) && lambda > C(2)) {
    C(1) = lambda;
    ++C(0);
    C(5) = stepper;
    ++C(9);
  }
  if (C(9) == 2 && C(0) > 0) {
    C(9) = 1;
    C(6) = (C(4) + C(5)) / 2;
    state.runningTotal += C(6);
    C(7) = state.runningTotal / C(0);
    ShowPosition(wizard_row::kPosition900, C(7));
    state.results.position900 = ToByte(C(7));
  }
}

// Steps 16 and 17: the positions of up to five crossings in C4..C8; all but the first (taken
// wherever the probe happened to be) make the position.
void AutoConfiguration::GasPositions(std::uint8_t lambda, std::uint8_t stepper) {
  auto store = [&] {
    C(1) = lambda;
    if (C(0) < kStoredCrossings) C(4 + C(0)) = stepper;
    ++C(0);
  };
  if (C(2) < C(1) && lambda < C(2)) store();
  if (C(1) < C(2) && lambda > C(2)) store();
  const int stored = std::min<int>(C(0), kStoredCrossings);
  if (stored < 2) return;
  Counter sum = 0;
  for (int n = 5; n <= stored + 3; ++n) sum += C(n);
  const Counter average = sum / (stored - 1);
  if (state.WizardStep == 16) {
    ShowPosition(wizard_row::kPosition900, average);
    state.results.position900 = ToByte(average);
  } else {
    ShowPosition(wizard_row::kPosition3000, average);
    state.results.position3000 = ToByte(average);
  }
}

// ---------------------------------------------------------------------------------------
// One step per transmit tick

void AutoConfiguration::OnTransmitTick(std::uint8_t status) {
  const bool runs = (status & kRunningMask) == kRunningMask;
  const std::uint8_t switchAt = status & kSwitchMask;
  const std::uint8_t steady = status & kStateMask;
  int& step = state.WizardStep;
  if (asking_) return;
  // No status has come since the link started: nothing to judge the engine by yet.
  if (status == kNoStatus && step != 0) return;
  switch (step) {
    case 0:
      ClearLog();
      for (int id : {760, 761, 762, 763}) Add(id);
      host_.SetGaugeVisible(false);
      for (int row = wizard_row::kCoilType; row <= wizard_row::kPosition3000; ++row)
        host_.ShowFinding(row, "");
      for (WizardButton b : {WizardButton::Ok, WizardButton::Cancel, WizardButton::Next})
        host_.EnableButton(b, false);
      break;
    case 1:
      host_.SelectRow(wizard_row::kCoilType);
      // The step moves on before the question: the transmit tick keeps running while it is open.
      step = 2;
      if (switchAt != kSwitchPetrol) {
        BeepAndSay(764);
        AskToSwitch();
      }
      break;
    case 2:
      if (switchAt == kSwitchPetrol) {
        if (!runs) BeepAndSay(765);
        step = 3;
      }
      break;
    case 3:
      if (!runs) break;
      if (steady != kPetrolAtPetrol) {
        BitBtnCancelClick();
        break;
      }
      BeepAndSay(766);
      host_.EnableButton(WizardButton::Ok, true);
      host_.EnableButton(WizardButton::Cancel, true);
      host_.EnableButton(WizardButton::Next, false);
      host_.SelectRow(wizard_row::kCoilType);
      ClearCounters();
      host_.SetGauge(kPeakCount, 0);
      host_.SetGaugeVisible(true);
      step = 4;
      break;
    case 4: StepIdleMeasured(status); break;
    case 5: StepRiseMeasured(); break;
    case 10:
      host_.SelectRow(wizard_row::kPosition900);
      step = 11;
      if (switchAt != kSwitchAuto) {
        BeepAndSay(774);
        AskToSwitch();
      }
      break;
    case 11:
      if (switchAt == kSwitchAuto) {
        if (!runs) BeepAndSay(775);
        step = 12;
      }
      break;
    case 12:
      if (runs) {
        if ((status & kFuelMask) == kWaitingForGas) BeepAndSay(776);
        step = 13;
      }
      break;
    case 13:
      if (steady == kGasAtAuto) step = 14;
      break;
    case 14:
      if (steady != kGasAtAuto) {
        BitBtnCancelClick();
        break;
      }
      BeepAndSay(777);
      for (int id : {781, 782, 783, 780}) Add(id);
      host_.SelectRow(wizard_row::kPosition900);
      ClearCounters();
      state.runningTotal = kRunningTotalStart;
      host_.SetGauge(kPeakCount, 0);
      host_.SetGaugeVisible(false);
      host_.EnableButton(WizardButton::Ok, false);
      host_.EnableButton(WizardButton::Cancel, true);
      host_.EnableButton(WizardButton::Next, true);
      step = 15;
      break;
    case 16:
      host_.SetGaugePosition(C(0));
      if (C(0) >= kCrossingCount) {
        BeepAndSay(778);
        host_.SelectRow(wizard_row::kPosition3000);
        ClearCounters();
        host_.SetGauge(kCrossingCount, 0);
        host_.SetGaugeVisible(true);
        step = 17;
      }
      break;
    case 17:
      host_.SetGaugePosition(C(0));
      if (C(0) >= kCrossingCount) {
        BeepAndSay(779);
        Add(780);
        host_.SetGaugeVisible(false);
        host_.EnableButton(WizardButton::Ok, true);
        host_.EnableButton(WizardButton::Cancel, true);
        step = 18;
        WizardResults& r = state.results;
        if (r.position900 >= r.position3000) {
          // One step above, as far as a byte goes.
          r.position3000 = static_cast<std::uint8_t>(std::min(r.position900 + 1, 255));
          ShowPosition(wizard_row::kPosition3000, r.position3000);
        }
      }
      break;
    default: break;  // 6, 15 and 18 wait for a button
  }
}

// Step 4: the first speed band to count 100 idle readings gives the coil type.
void AutoConfiguration::StepIdleMeasured(std::uint8_t status) {
  if ((status & kStateMask) != kPetrolAtPetrol) {
    BitBtnCancelClick();
    return;
  }
  Counter peak = 0;
  for (int n = 0; n <= 6; ++n) peak = std::max(peak, C(n));
  host_.SetGaugePosition(std::min(peak, Counter{kPeakCount}));
  struct Finding {
    int counter, coilType;
  };
  static constexpr Finding kFindings[] = {{6, 6}, {0, 0}, {1, 1}, {2, 2}, {3, 3}, {5, 5}, {4, 4}};
  for (const Finding& f : kFindings) {
    if (C(f.counter) < kPeakCount) continue;
    SetByte(wizard_byte::kCoilType, static_cast<std::uint8_t>(f.coilType));
    host_.ShowFinding(wizard_row::kCoilType, UiText(kCoilTextFirst + f.coilType));
  }
  if (peak < kPeakCount) return;
  BeepAndSay(767);
  host_.SelectRow(wizard_row::kTpsType);
  const Counter idleThrottle = C(9);
  std::fill_n(state.WizardCounters.begin(), 9, 0);
  C(1) = idleThrottle;
  host_.SetGauge(kPeakCount, 0);
  state.WizardStep = 5;
}

// Step 5: at speed, the TPS readings give the TPS type and the probe's midpoint its type.
void AutoConfiguration::StepRiseMeasured() {
  host_.SetGaugePosition(std::min(C(0), Counter{kPeakCount}));
  if (C(0) < kPeakCount) return;
  const bool moved = C(2) > 2 || C(3) > 2 || C(4) > 2;
  const Counter idle = C(1), high = C(5);
  int tpsType = 4;  // none
  if (idle < high && moved)
    tpsType = 0;  // 0-5V
  else if (high < idle && moved)
    tpsType = 1;  // 5-0V
  else if (idle < high)
    tpsType = 2;  // switch
  else if (high < idle)
    tpsType = 3;  // inverted switch
  SetByte(wizard_byte::kTpsType, static_cast<std::uint8_t>(tpsType));
  host_.ShowFinding(wizard_row::kTpsType, UiText(kTpsTextFirst + tpsType));
  const int probeType = ProbeTypeFor(state.results.probeThreshold);
  SetByte(wizard_byte::kProbeType, static_cast<std::uint8_t>(probeType));
  host_.ShowFinding(wizard_row::kProbeType, UiText(kProbeTextFirst + probeType));
  BeepAndSay(768);
  Add(769);
  Add(770);
  host_.AddLogLine("");
  host_.SelectRow(wizard_row::kPosition900);
  host_.EnableButton(WizardButton::Next, true);
  host_.SetGaugeVisible(false);
  state.WizardStep = 6;
}

// ---------------------------------------------------------------------------------------
// Buttons

// A phase starts: the backup of the bytes the phase may change and a file copy of all the
// parameters are taken before its first write. Pressing the button of the phase under way
// starts it again with the backup of its first start, since the bytes already hold what the
// phase set.
void AutoConfiguration::StartPhase(int firstStep, bool restart) {
  state.WizardStep = firstStep;
  if (!restart) {
    TakeBackup();
    backupLine_ = host_.MakeAutomaticBackup();
  }
  ClearLog();
  ClearResults();
}

void AutoConfiguration::BitBtnConBenClick() {
  if (asking_) return;
  const int step = state.WizardStep;
  StartPhase(1, step >= 1 && step <= 6 && state.backup.taken);
  Add(784);
  // The idle speed bands are those of a coil on one cylinder.
  SetByte(wizard_byte::kCoilType, 5);
}

void AutoConfiguration::BitBtnConGasClick() {
  if (asking_) return;
  const int step = state.WizardStep;
  // An unfinished petrol phase is given up: its coil setting for the measurement goes back.
  if (step >= 1 && step <= 5) RestoreBackup();
  StartPhase(10, step >= 10 && state.backup.taken);
  Add(785);
  const std::uint8_t coil = Byte(wizard_byte::kCoilType);
  const std::uint8_t tps = Byte(wizard_byte::kTpsType);
  const std::uint8_t probe = Byte(wizard_byte::kProbeType);
  host_.ShowFinding(wizard_row::kCoilType, coil <= 6 ? UiText(kCoilTextFirst + coil) : std::string());
  host_.ShowFinding(wizard_row::kTpsType, tps <= 3 ? UiText(kTpsTextFirst + tps) : std::string());
  host_.ShowFinding(wizard_row::kProbeType, probe <= 3 ? UiText(kProbeTextFirst + probe) : std::string());
}

void AutoConfiguration::BitBtnNextClick() {
  host_.EnableButton(WizardButton::Next, false);
  if (state.WizardStep == 6) {
    SetByte(wizard_byte::kTpsThreshold, state.results.tpsThreshold);
    SetByte(wizard_byte::kOpeningTpsThreshold, state.results.tpsThreshold);
    SetByte(wizard_byte::kProbeThreshold, state.results.probeThreshold);
    BitBtnConGasClick();
  } else if (state.WizardStep == 15) {
    ClearCounters();
    host_.SetGauge(kCrossingCount, 0);
    host_.SetGaugeVisible(true);
    state.WizardStep = 16;
  }
}

// The petrol phase has measured the coil type once its idle bands are counted (step 5), the
// TPS and probe types and both thresholds once the rise to 3000 rpm is done (step 6). The gas
// phase measures the thresholds again from its idle on gas (step 15) on, and the positions
// when it finds them. The thresholds the statistics show before are not measurements.
AutoConfiguration::Measured AutoConfiguration::MeasuredSoFar() const {
  const int step = state.WizardStep;
  const bool petrol = step >= 1 && step <= 6;
  Measured m;
  m.coil = petrol && step >= 5;
  m.types = petrol && step >= 6;
  m.thresholds = step == 6 || step >= 15;
  m.positions = !petrol && state.results.position900 != 0;
  return m;
}

bool AutoConfiguration::Measured::Has(int index) const {
  using namespace wizard_byte;
  switch (index) {
    case kCoilType: return coil;
    case kTpsType:
    case kProbeType: return types;
    case kTpsThreshold:
    case kOpeningTpsThreshold:
    case kProbeThreshold: return thresholds;
    case kPosition900:
    case kPosition3000: return positions;
    default: return false;
  }
}

void AutoConfiguration::BitBtnOkClick() {
  if (asking_) return;
  // Only a phase under way holds results; an idle wizard has nothing to apply.
  if (state.WizardStep == 0) return;
  WizardResults& r = state.results;
  const Measured measured = MeasuredSoFar();
  // Every byte the phase changed and did not measure returns to the backup, as a cancel does.
  if (state.backup.taken) {
    for (std::size_t i = 0; i < WizardBackup::kBytes.size(); ++i) {
      const int index = WizardBackup::kBytes[i];
      if (!measured.Has(index)) SetByte(index, state.backup.values[i]);
    }
  }
  if (measured.thresholds && r.tpsThreshold != 0) {
    SetByte(wizard_byte::kTpsThreshold, r.tpsThreshold);
    SetByte(wizard_byte::kOpeningTpsThreshold, r.tpsThreshold);
  }
  if (measured.thresholds && r.probeThreshold != 0) SetByte(wizard_byte::kProbeThreshold, r.probeThreshold);
  if (r.position3000 < r.position900) r.position3000 = r.position900;
  if (r.position900 != 0) {
    SetByte(wizard_byte::kPosition900, r.position900);
    SetByte(wizard_byte::kPosition3000, r.position3000);
  }
  state.backup.taken = false;  // applied: nothing is left to return to
  host_.RebuildEditor();
  state.WizardStep = 0;
  host_.ApplyConnectionMode(ConnectionMode::Controller);
}

void AutoConfiguration::RestoreBackup() {
  // Without a phase begun there is nothing to return to.
  if (!state.backup.taken) return;
  for (std::size_t i = 0; i < WizardBackup::kBytes.size(); ++i)
    SetByte(WizardBackup::kBytes[i], state.backup.values[i]);
  state.backup.taken = false;
}

void AutoConfiguration::BitBtnCancelClick() {
  if (asking_) return;
  RestoreBackup();
  host_.RebuildEditor();
  state.WizardStep = 0;
}

void AutoConfiguration::Abandon() {
  if (asking_ || !PhaseUnderWay()) return;
  BitBtnCancelClick();
}

void AutoConfiguration::Reset() {
  Abandon();
  state.WizardStep = 0;
  backupLine_.clear();
}

// Leaving the page after step 3 asks whether to apply; earlier, the phase has found nothing
// worth asking about and its backup returns silently.
void AutoConfiguration::LeavePage() {
  // A page change from inside the question (the link lost meanwhile) leaves the answer to it.
  if (asking_ || !PhaseUnderWay()) return;
  if (state.WizardStep <= 3) {
    BitBtnCancelClick();
    return;
  }
  const int step = state.WizardStep;
  const MessageAnswer answer = Ask(740, MessageButtons::OkCancel);
  // The step was held while the question was open; OK applies what the wizard still holds.
  if (state.WizardStep != step) return;
  if (answer == MessageAnswer::Ok)
    BitBtnOkClick();
  else
    BitBtnCancelClick();
}
