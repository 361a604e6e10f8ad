#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "EngineModel.h"
#include "SimController.h"

namespace {

using sim::CarOptions;
using sim::EngineModel;
using sim::FuelMode;
using sim::FuelState;

EngineModel::Memory Parameters(int coil = 0) {
  EngineModel::Memory m{};
  m[32] = static_cast<std::uint8_t>(coil);
  m[62] = 25;  // over to gas from 2500 rpm
  m[64] = 70;
  return m;
}

CarOptions Car(int coil, int tps, int probe) {
  CarOptions car;
  car.coilType = coil;
  car.tpsType = tps;
  car.probeType = probe;
  car.driverRevs = false;
  return car;
}

struct Range {
  int low = 255, high = 0;
};

// Runs the car for `ms` in 100-ms steps from `fromMs`, collecting a reading.
template <typename Reading>
Range Watch(EngineModel& e, const EngineModel::Memory& p, long long& now, int ms, Reading reading) {
  Range r;
  for (int t = 0; t < ms; t += 100) {
    now += 100;
    e.Advance(now, p);
    const int v = reading();
    r.low = std::min(r.low, v);
    r.high = std::max(r.high, v);
  }
  return r;
}

TEST(EngineModel, speedReadingFollowsTheCarsCoilAgainstTheConfiguredOne) {
  // Configured for a coil on one cylinder, the idle reading falls in the band of the car's coil.
  struct Case {
    int coil, above, upTo;
  };
  const Case cases[] = {{5, 5, 10},  {4, 10, 20}, {6, 20, 30}, {0, 30, 40},
                        {1, 40, 50}, {2, 50, 60}, {3, 60, 80}};
  for (const Case& c : cases) {
    EngineModel e(Car(c.coil, 0, 0));
    long long now = 0;
    const auto p = Parameters(5);
    const Range r =
        Watch(e, p, now, 20000, [&] { return static_cast<int>(std::lround(e.MeasuredRpm(p) / 100.0)); });
    EXPECT_GT(r.low, c.above) << c.coil;
    EXPECT_LE(r.high, c.upTo) << c.coil;
  }
  // Configured right, the reading is the engine speed.
  EngineModel e(Car(2, 0, 0));
  e.Advance(100, Parameters(2));
  EXPECT_DOUBLE_EQ(e.MeasuredRpm(Parameters(2)), e.TrueRpm());
}

TEST(EngineModel, throttleSensorAndProbeReadAsTheirTypes) {
  struct Case {
    int tps, idle, high;
  };
  const Case tpsCases[] = {{0, 20, 163}, {1, 235, 92}, {2, 0, 250}, {3, 250, 0}, {4, 0, 0}};
  for (const Case& c : tpsCases) {
    EngineModel e(Car(0, c.tps, 0));
    long long now = 0;
    const auto p = Parameters();
    e.Advance(now += 100, p);
    EXPECT_NEAR(e.Throttle(), c.idle, 3) << c.tps;
    e.SetTargetRpm(3000);
    Watch(e, p, now, 4000, [] { return 0; });
    EXPECT_NEAR(e.Throttle(), c.high, 4) << c.tps;
  }
  struct Probe {
    int type, low, high;
  };
  const Probe probes[] = {{0, 5, 45}, {1, 15, 235}, {2, 15, 235}, {3, 41, 79}, {4, 0, 1}};
  for (const Probe& c : probes) {
    EngineModel e(Car(0, 0, c.type));
    long long now = 0;
    const Range r = Watch(e, Parameters(), now, 5000, [&] { return e.Lambda(); });
    EXPECT_NEAR(r.low, c.low, 4) << c.type;
    EXPECT_NEAR(r.high, c.high, 4) << c.type;
  }
}

TEST(EngineModel, switchCyclesPetrolAutoGasAndAutoChangesOverAtSpeed) {
  EngineModel e(Car(0, 0, 0));
  const auto p = Parameters();
  long long now = 0;
  e.Advance(now += 100, p);
  EXPECT_EQ(e.StatusByte() & 0xDF, 0xD2);
  e.SwitchMode();
  e.Advance(now += 100, p);
  EXPECT_EQ(e.Switch(), FuelMode::Auto);
  EXPECT_EQ(e.StatusByte() & 0xDF, 0xDB) << "waiting for the change-over";
  EXPECT_EQ(e.Stepper(), 70) << "parked at the idle position";
  e.SetTargetRpm(3000);
  Watch(e, p, now, 3000, [] { return 0; });
  EXPECT_EQ(e.StatusByte() & 0xDF, 0xC7);
  EXPECT_NE(e.StatusByte() & 0x20, 0) << "throttle open";
  e.Idle();
  Watch(e, p, now, 3000, [] { return 0; });
  EXPECT_EQ(e.StatusByte(), 0xC7) << "stays on gas at idle";
  e.Stop();
  e.Advance(now += 100, p);
  EXPECT_EQ(e.StatusByte(), 0x83) << "ignition on, engine stopped, switch at auto";
  e.Start();
  e.Advance(now += 100, p);
  EXPECT_EQ(e.Fuel(), FuelState::Waiting);
  e.SwitchMode();
  e.Advance(now += 100, p);
  EXPECT_EQ(e.StatusByte() & 0xDF, 0xC5);
  e.SwitchMode();
  EXPECT_EQ(e.Switch(), FuelMode::Petrol);
}

TEST(EngineModel, stepperAtTheProbesMidpointCrossingsAveragesToTheReducersPosition) {
  for (int rpm : {900, 3000}) {
    CarOptions car = Car(0, 0, 0);
    EngineModel e(car);
    const auto p = Parameters();
    long long now = 0;
    e.SwitchMode();
    e.SwitchMode();  // gas
    e.SetTargetRpm(rpm);
    Watch(e, p, now, 4000, [] { return 0; });
    std::vector<int> rising, falling;
    int last = e.Lambda();
    for (int i = 0; i < 100; ++i) {
      e.Advance(now += 100, p);
      const int l = e.Lambda();
      if (last <= 25 && l > 25) rising.push_back(e.Stepper());
      if (last >= 25 && l < 25) falling.push_back(e.Stepper());
      last = l;
    }
    ASSERT_GE(rising.size(), 5u);
    ASSERT_GE(falling.size(), 5u);
    const int wanted = rpm == 900 ? car.idlePosition : car.highPosition;
    for (int m : rising) EXPECT_NEAR(m, wanted + 5, 3) << rpm;  // opened while it was lean
    for (int m : falling) EXPECT_NEAR(m, wanted - 5, 3) << rpm;
  }
}

TEST(EngineModel, commandsAndOptions) {
  EngineModel e(Car(0, 0, 0));
  const auto p = Parameters();
  EXPECT_TRUE(e.Command("rpm 3000"));
  e.Advance(1000, p);
  EXPECT_NEAR(e.TrueRpm(), 1900, 30) << "1000 rpm a second";
  EXPECT_TRUE(e.Command("idle"));
  e.Advance(3000, p);
  EXPECT_NEAR(e.TrueRpm(), 900, 25);
  EXPECT_TRUE(e.Command("engine stop"));
  EXPECT_FALSE(e.Running());
  EXPECT_TRUE(e.Command("engine start"));
  EXPECT_TRUE(e.Running());
  for (const char* bad : {"rpm", "rpm x", "rpm 9000", "rpm -1", "engine", "fly"})
    EXPECT_FALSE(e.Command(bad)) << bad;

  CarOptions car;
  EXPECT_TRUE(sim::SetCarOption("--engine", "stopped", car));
  EXPECT_FALSE(car.running);
  for (auto [name, value] :
       {std::pair{"--coil", "7"}, {"--tps", "-1"}, {"--probe", "x"}, {"--engine", "fast"}})
    EXPECT_FALSE(sim::SetCarOption(name, value, car)) << name << " " << value;
}

// The controller answers with the speed as its coil setting reads it: a write of byte 32
// changes the configuration reply.
TEST(EngineModel, controllerReadsTheSpeedByItsCoilSetting) {
  sim::SimControllerOptions options;
  options.car = Car(0, 0, 0);
  sim::SimController c(options);
  auto config = [&] {
    const std::uint8_t poll[] = {0xAC, 0xAC};
    return c.Receive(poll, 2);
  };
  EXPECT_EQ(config()[3], 9);
  const std::uint8_t write[] = {0xAA, 32, 5, static_cast<std::uint8_t>(0xAA + 32 + 5)};
  c.Receive(write, 4);
  c.Advance(100);
  EXPECT_GE(config()[3], 35);
  EXPECT_TRUE(c.EngineCommand("engine stop"));
  EXPECT_EQ(config()[1], 0x82);
  EXPECT_FALSE(c.EngineCommand("warp"));
}

}  // namespace
