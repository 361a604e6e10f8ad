#include "EngineModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace sim {

namespace {

constexpr double kPi = std::numbers::pi;
// Ignition pulses per revolution, relative, for each coil type of byte 32.
constexpr std::array<int, 7> kCoilPulses = {4, 5, 6, 8, 2, 1, 3};
constexpr double kRiseRpmPerS = 1000.0;
constexpr double kFallRpmPerS = 1500.0;
constexpr double kStepperSwing = 6.0;
constexpr double kThrottleAtFullLoad = 0.65;
constexpr double kThrottleOpen = 0.05;

// Switch position in bits 1..0 of the status byte.
constexpr std::uint8_t kSwitchGas = 1, kSwitchPetrol = 2, kSwitchAuto = 3;
// Fuel state in bits 4..2; bits 7 and 6: ignition on and engine running.
constexpr std::uint8_t kFuelGas = 0x04, kFuelWaiting = 0x18, kFuelPetrol = 0x10;
constexpr std::uint8_t kIgnitionOn = 0x80, kEngineRuns = 0x40, kThrottleOpenBit = 0x20;

std::uint8_t Byte(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= 255.0) return 255;
  return static_cast<std::uint8_t>(std::lround(v));
}

bool ParseInt(std::string_view text, int& value) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() && !text.empty();
}

}  // namespace

bool IsCarOption(std::string_view name) {
  return name == "--coil" || name == "--tps" || name == "--probe" || name == "--engine";
}

bool SetCarOption(std::string_view name, std::string_view value, CarOptions& car) {
  int n = 0;
  if (name == "--engine") {
    if (value == "demo") {
      car.running = car.driverRevs = true;
    } else if (value == "idle") {
      car.running = true;
      car.driverRevs = false;
    } else if (value == "stopped") {
      car.running = car.driverRevs = false;
    } else {
      return false;
    }
    return true;
  }
  if (!ParseInt(value, n) || n < 0) return false;
  if (name == "--coil" && n <= 6) {
    car.coilType = n;
  } else if (name == "--tps" && n <= 4) {
    car.tpsType = n;
  } else if (name == "--probe" && n <= 4) {
    car.probeType = n;
  } else {
    return false;
  }
  return true;
}

EngineModel::EngineModel(CarOptions car, std::uint32_t seed) : car_(car), rng_(seed) {
  if (car_.running) Start();
}

void EngineModel::Start() {
  if (running_) return;
  running_ = true;
  rpm_ = kIdleRpm;
  target_ = kIdleRpm;
}

void EngineModel::Stop() {
  running_ = false;
  car_.driverRevs = false;
  rpm_ = 0.0;
}

void EngineModel::SetTargetRpm(double rpm) {
  car_.driverRevs = false;
  target_ = std::clamp(rpm, kIdleRpm, 8000.0);
}

bool EngineModel::Command(std::string_view command) {
  if (command == "engine start") {
    Start();
  } else if (command == "engine stop") {
    Stop();
  } else if (command == "idle") {
    Idle();
  } else if (command == "demo") {
    Start();
    car_.driverRevs = true;
  } else if (command.starts_with("rpm ")) {
    int rpm = 0;
    if (!ParseInt(command.substr(4), rpm) || rpm < 0 || rpm > 8000) return false;
    SetTargetRpm(rpm);
  } else {
    return false;
  }
  return true;
}

void EngineModel::SwitchMode() {
  switch (switch_) {
    case FuelMode::Petrol: switch_ = FuelMode::Auto; break;
    case FuelMode::Auto: switch_ = FuelMode::Gas; break;
    case FuelMode::Gas: switch_ = FuelMode::Petrol; break;
  }
  switchedOver_ = false;
}

double EngineModel::MeasuredRpm(const Memory& parameters) const {
  const int configured = parameters[32] < kCoilPulses.size() ? parameters[32] : car_.coilType;
  return rpm_ * kCoilPulses[static_cast<std::size_t>(car_.coilType)] / kCoilPulses[configured];
}

std::uint8_t EngineModel::StatusByte() const {
  std::uint8_t status = kIgnitionOn;
  switch (switch_) {
    case FuelMode::Petrol: status |= kSwitchPetrol; break;
    case FuelMode::Auto: status |= kSwitchAuto; break;
    case FuelMode::Gas: status |= kSwitchGas; break;
  }
  if (!running_) return status;
  status |= kEngineRuns;
  if (throttleOpen_) status |= kThrottleOpenBit;
  switch (fuel_) {
    case FuelState::Petrol: status |= kFuelPetrol; break;
    case FuelState::Waiting: status |= kFuelWaiting; break;
    case FuelState::Gas: status |= kFuelGas; break;
    case FuelState::Stopped: break;
  }
  return status;
}

void EngineModel::UpdateFuel(const Memory& parameters) {
  if (!running_) {
    fuel_ = FuelState::Stopped;
    switchedOver_ = false;
    return;
  }
  switch (switch_) {
    case FuelMode::Petrol: fuel_ = FuelState::Petrol; break;
    case FuelMode::Gas: fuel_ = FuelState::Gas; break;
    case FuelMode::Auto:
      // Over to gas once the switch-over speed (byte 62) is reached; it stays on gas at idle.
      if (MeasuredRpm(parameters) >= parameters[62] * 100.0) switchedOver_ = true;
      fuel_ = switchedOver_ ? FuelState::Gas : FuelState::Waiting;
      break;
  }
}

void EngineModel::Advance(long long timeMs, const Memory& parameters) {
  const double dt = static_cast<double>(std::max(0LL, timeMs - timeMs_)) / 1000.0;
  timeMs_ = std::max(timeMs_, timeMs);
  const double t = static_cast<double>(timeMs_) / 1000.0;
  const double wobble = 20.0 * std::sin(2.0 * kPi * t / 7.0);

  if (!running_) {
    rpm_ = 0.0;
  } else if (car_.driverRevs) {
    // Idle, and every 30 s the driver revs the engine for 6 s.
    const double cycle = std::fmod(t, 30.0);
    double rev = 0.0;
    if (cycle >= 20.0 && cycle < 26.0) {
      const double s = std::sin(kPi * (cycle - 20.0) / 6.0);
      rev = s * s;
    }
    rpm_ = kIdleRpm + wobble + 2150.0 * rev;
    target_ = kIdleRpm;
  } else {
    const double base = rpm_ - wobble;  // the speed without its idle wobble
    double next = base;
    if (base < target_) next = std::min(target_, base + kRiseRpmPerS * dt);
    if (base > target_) next = std::max(target_, base - kFallRpmPerS * dt);
    rpm_ = next + wobble;
  }
  load_ = running_ ? std::clamp((rpm_ - kIdleRpm) / (kHighRpm - kIdleRpm), 0.0, 1.2) : 0.0;
  UpdateFuel(parameters);

  // The throttle, seen through the car's sensor.
  const double opening = load_ * kThrottleAtFullLoad;
  const bool open = opening > kThrottleOpen;
  throttleOpen_ = open;
  switch (car_.tpsType) {
    case 0: throttle_ = Byte(20.0 + 220.0 * opening); break;
    case 1: throttle_ = Byte(235.0 - 220.0 * opening); break;
    case 2: throttle_ = open ? 250 : 0; break;
    case 3: throttle_ = open ? 0 : 250; break;
    default: throttle_ = 0; break;
  }

  // The probe swings around the right mixture; the controller's stepper follows it, opening
  // while the mixture is lean and closing while it is rich, a quarter period behind.
  const double phase = running_ ? 2.0 * kPi * t / kProbePeriodS : -kPi / 2.0;
  const double swing = std::sin(phase);
  const int jitter = static_cast<int>(rng_() % 3) - 1;
  switch (car_.probeType) {
    case 0: lambda_ = Byte(std::clamp(25.0 + 19.0 * swing + jitter, 5.0, 45.0)); break;
    case 1: lambda_ = Byte(125.0 + 110.0 * swing + 2 * jitter); break;
    case 2: lambda_ = Byte(125.0 - 110.0 * swing + 2 * jitter); break;
    case 3: lambda_ = Byte(60.0 + 19.0 * swing + jitter); break;
    default: lambda_ = static_cast<std::uint8_t>(rng_() % 2); break;
  }
  switch (fuel_) {
    case FuelState::Stopped:
    case FuelState::Petrol: stepper_ = 0; break;
    case FuelState::Waiting: stepper_ = parameters[64]; break;
    case FuelState::Gas: {
      const double share = std::clamp((rpm_ - kIdleRpm) / (kHighRpm - kIdleRpm), 0.0, 1.2);
      const double needed = car_.idlePosition + (car_.highPosition - car_.idlePosition) * share;
      stepper_ = Byte(needed + kStepperSwing * std::cos(phase));
      break;
    }
  }
}

}  // namespace sim
