#pragma once

// The simulated car behind the controller: the engine with its speed, the throttle position
// sensor, the lambda probe and the gas stepper motor, and the controller's own fuel state as
// its mode switch and the engine make it. Plain C++ without a clock of its own: time moves
// only through Advance().
//
// The car is fitted with a coil, a TPS and a probe of the kinds given in CarOptions; the
// controller measures them as its parameter bytes 32 (coil), 33 and 34 configure it. So a
// controller set for a different coil reports a speed scaled by the ratio of ignition pulses,
// and the wizard can find the car's coil from the reading.
//
// The fitter's controls: start and stop the engine, ask for an engine speed (the engine moves
// toward it at a finite rate), return to idle, or let the driver rev the engine by himself
// every 30 s (the demonstration, the default).

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace sim {

// Position of the controller's mode switch.
enum class FuelMode { Petrol, Gas, Auto };
// What the engine burns as the controller sees it; Waiting is the automatic mode before the
// switch-over to gas.
enum class FuelState { Stopped, Petrol, Waiting, Gas };

struct CarOptions {
  int coilType = 0;   // as parameter byte 32: 0 four cylinders .. 6 three cylinders
  int tpsType = 0;    // as byte 33: 0 0-5V, 1 5-0V, 2 switch, 3 inverted switch, 4 none
  int probeType = 0;  // as byte 34: 0 0-1V, 1 0-5V, 2 5-0V, 3 0.8-1.6V, 4 none
  bool running = true;
  bool driverRevs = true;  // the demonstration: the driver revs the engine every 30 s
  // Stepper positions at which the gas mixture is right at 900 and at 3000 rpm; they follow
  // from how the reducer is set.
  int idlePosition = 72;
  int highPosition = 128;
};

// Option names of the simulator program for the car ("--coil", "--tps", "--probe",
// "--engine"); SetCarOption answers false for a value it does not take.
bool IsCarOption(std::string_view name);
bool SetCarOption(std::string_view name, std::string_view value, CarOptions& car);

class EngineModel {
 public:
  using Memory = std::array<std::uint8_t, 256>;

  static constexpr double kIdleRpm = 900.0;
  static constexpr double kHighRpm = 3000.0;
  static constexpr double kProbePeriodS = 1.3;

  explicit EngineModel(CarOptions car = {}, std::uint32_t seed = 1);

  // Moves the car to the time given (ms since start); `parameters` is the controller's memory.
  void Advance(long long timeMs, const Memory& parameters);

  // The fitter's controls.
  void Start();
  void Stop();
  void SetTargetRpm(double rpm);  // also ends the driver's own revving
  void Idle() { SetTargetRpm(kIdleRpm); }
  void SetDriverRevs(bool on) { car_.driverRevs = on; }
  // "engine start", "engine stop", "rpm N", "idle", "demo"; false for anything else.
  bool Command(std::string_view command);

  // The mode-switch request: petrol -> automatic -> gas -> petrol.
  void SwitchMode();

  FuelMode Switch() const { return switch_; }
  FuelState Fuel() const { return fuel_; }
  bool Running() const { return running_; }
  bool OnGas() const { return fuel_ == FuelState::Gas; }
  const CarOptions& Car() const { return car_; }
  double TrueRpm() const { return rpm_; }

  // The controller's readings, in its byte units.
  double MeasuredRpm(const Memory& parameters) const;  // by the coil type configured
  std::uint8_t StatusByte() const;
  std::uint8_t Throttle() const { return throttle_; }  // TPS voltage, 0.02 V per count
  std::uint8_t Lambda() const { return lambda_; }      // probe voltage, 0.02 V per count
  std::uint8_t Stepper() const { return stepper_; }
  double Load() const { return load_; }  // 0 idle .. about 1 at full speed

 private:
  void UpdateFuel(const Memory& parameters);

  CarOptions car_;
  std::mt19937 rng_;
  FuelMode switch_ = FuelMode::Petrol;
  FuelState fuel_ = FuelState::Stopped;
  bool running_ = false;
  bool switchedOver_ = false;
  bool throttleOpen_ = false;
  long long timeMs_ = 0;
  double rpm_ = 0.0;
  double target_ = kIdleRpm;
  double load_ = 0.0;
  std::uint8_t throttle_ = 0, lambda_ = 0, stepper_ = 0;
};

}  // namespace sim
