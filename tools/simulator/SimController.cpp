#include "SimController.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace sim {

namespace {

constexpr std::uint8_t kParamRead = 0x55;
constexpr std::uint8_t kLive = 0x33;
constexpr std::uint8_t kPrefix = 0x35;
constexpr std::uint8_t kRegisterRead = 0x5A;
constexpr std::uint8_t kConfig = 0xAC;
constexpr std::uint8_t kColumn = 0xC5;
constexpr std::uint8_t kEeprom = 0x5C;
constexpr std::uint8_t kPort = 0xCA;
constexpr std::uint8_t kParamWrite = 0xAA;
constexpr std::uint8_t kMapRead = 0xA3;
constexpr std::uint8_t kMapWrite = 0xC3;
constexpr std::uint8_t kMapErase = 0x53;
constexpr std::uint8_t kStart = 0x3A;
constexpr std::uint8_t kProgramFrame = 0x07;
constexpr std::array<std::uint8_t, 4> kStartFrame = {0x3A, 0x75, 0x70, 0x1F};

std::uint8_t Sum(const std::uint8_t* f, std::size_t n) {
  unsigned s = 0;
  for (std::size_t i = 0; i < n; ++i) s += f[i];
  return static_cast<std::uint8_t>(s);
}

std::uint8_t Clamp8(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= 255.0) return 255;
  return static_cast<std::uint8_t>(std::lround(v));
}

bool IsPollCode(std::uint8_t c) { return c == kLive || c == kConfig || c == kPort; }

// A TELK100's factory configuration.
SimController::Memory FactoryConfiguration(std::uint8_t type, std::uint8_t version) {
  SimController::Memory m{};
  m[0] = type;
  m[1] = version;
  // Option bits: simulation, gas level, temperature, vacuum allowed, injection time.
  m[2] = 0x01 | 0x04 | 0x08 | 0x20 | 0x40;
  // PresenceMask: parameters 32..90 except 75 (two-way probe input) and 87 (level direction,
  // only on controllers without byte 68). Byte 3 keeps the map and firmware views offered.
  for (int n = 32; n <= 90; ++n) {
    if (n == 75 || n == 87) continue;
    m[3 + n / 8] = static_cast<std::uint8_t>(m[3 + n / 8] | (1u << (n % 8)));
  }
  const std::pair<int, int> values[] = {
      {32, 0},   {33, 0},  {34, 0},  {35, 3},   {36, 25}, {37, 25}, {38, 10}, {39, 5},  {40, 12}, {41, 180},
      {42, 20},  {43, 50}, {44, 1},  {45, 60},  {46, 40}, {47, 1},  {48, 18}, {49, 30}, {50, 5},  {51, 4},
      {52, 1},   {53, 1},  {54, 1},  {55, 1},   {56, 99}, {57, 40}, {58, 23}, {59, 10}, {60, 10}, {61, 10},
      {62, 25},  {63, 60}, {64, 70}, {65, 140}, {66, 4},  {67, 0},  {68, 0},  {69, 40}, {70, 80}, {71, 120},
      {72, 160}, {73, 0},  {74, 10}, {75, 0},   {76, 3},  {77, 3},  {78, 2},  {79, 0},  {80, 1},  {81, 1},
      {82, 0},   {83, 10}, {84, 10}, {85, 3},   {86, 0},  {87, 0},  {88, 5},  {89, 1},  {90, 0}};
  for (auto [index, value] : values) m[index] = static_cast<std::uint8_t>(value);
  return m;
}

}  // namespace

std::string HexBytes(const std::uint8_t* data, std::size_t n) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s;
  s.reserve(n * 3);
  for (std::size_t i = 0; i < n; ++i) {
    if (i) s += ' ';
    s += kDigits[data[i] >> 4];
    s += kDigits[data[i] & 0x0F];
  }
  return s;
}

SimController::SimController(SimControllerOptions options)
    : options_(std::move(options)), rng_(options_.seed), engine_(options_.car, options_.seed) {
  if (options_.tester) options_.typeByte = kTesterType;
  SetGarbleRate(options_.garbleRate);
  SetDropWriteRate(options_.dropWriteRate);
  factory_ = FactoryConfiguration(options_.typeByte, options_.versionByte);
  memory_ = factory_;
  inLoader_ = options_.loader;
  reportByte6_ = options_.loaderReportByte6;

  // The stored map: cells rise with speed and load; the high-speed, low-load corner was never
  // visited (0xFF, shown empty).
  for (int c = 0; c < kMapColumns; ++c) {
    for (int r = 0; r < 16; ++r) {
      const bool unvisited = c >= 18 && r < 4;
      storedMap_[c * 16 + r] = unvisited ? 0xFF : static_cast<std::uint8_t>(40 + c * 6 + r * 3);
    }
  }
  map_ = storedMap_;

  // Data memory: working registers, I/O registers and program variables.
  for (auto& b : sram_) b = static_cast<std::uint8_t>(rng_());
  sram_[0x54] = 0x01;  // reset cause: power on
  UpdateEngine();
}

void SimController::SetGarbleRate(double rate) {
  options_.garbleRate = std::isfinite(rate) ? std::clamp(rate, 0.0, 1.0) : 0.0;
}

void SimController::SetDropWriteRate(double rate) {
  options_.dropWriteRate = std::isfinite(rate) ? std::clamp(rate, 0.0, 1.0) : 0.0;
}

void SimController::LogParameterMemory() { AddLog("MEMORY " + HexBytes(memory_.data(), 105)); }

std::uint8_t SimController::StatusByte() const { return engine_.StatusByte(); }

bool SimController::EngineCommand(std::string_view command) {
  if (!engine_.Command(command)) return false;
  AddLog("ENGINE " + std::string(command));
  UpdateEngine();
  return true;
}

std::uint8_t SimController::DataMemoryByte(int address) const {
  if (address < 0 || address >= kSramBlocks * 16) return 0;
  if (address < kMapFirstColumn * 16) return sram_[static_cast<std::size_t>(address)];
  return map_[static_cast<std::size_t>(address - kMapFirstColumn * 16)];
}

std::uint8_t SimController::MapCell(int column, int row) const {
  if (column < kMapFirstColumn || column >= kMapFirstColumn + kMapColumns || row < 0 || row > 15) return 0;
  return map_[(column - kMapFirstColumn) * 16 + row];
}

void SimController::AddLog(std::string line) {
  if (sink_)
    sink_(line);
  else
    log_.push_back(std::move(line));
}

void SimController::FlushSkipped() {
  if (skipped_.empty()) return;
  std::string line = "SKIP " + std::to_string(skipped_.size()) + " bytes:";
  const std::size_t shown = std::min<std::size_t>(skipped_.size(), 16);
  line += ' ';
  line += HexBytes(skipped_.data(), shown);
  if (shown < skipped_.size()) line += " ...";
  AddLog(std::move(line));
  skipped_.clear();
}

std::size_t SimController::FrameLength(std::uint8_t code) const {
  switch (code) {
    case kLive:
    case kConfig:
    case kPort:
    case kMapRead:
    case kMapWrite:
    case kMapErase: return 2;
    case kParamRead:
    case kPrefix:
    case kColumn:
    case kEeprom: return 3;
    case kRegisterRead:
    case kParamWrite:
    case kStart: return 4;
    case kProgramFrame: return inLoader_ && phase_ != LoaderPhase::Idle ? 20 : 0;
    default: return 0;
  }
}

bool SimController::FrameValid(const std::uint8_t* f, std::size_t len) const {
  switch (f[0]) {
    case kPrefix: return IsPollCode(f[1]) && f[2] == Sum(f, 2);
    case kRegisterRead: return f[2] == Sum(f, 2);  // byte 3 has no defined content
    case kStart: return std::equal(kStartFrame.begin(), kStartFrame.end(), f);
    default: return f[len - 1] == Sum(f, len - 1);
  }
}

std::vector<std::uint8_t> SimController::Receive(const std::uint8_t* data, std::size_t n) {
  std::vector<std::uint8_t> out;
  if (data != nullptr && n > 0) {
    pending_.insert(pending_.end(), data, data + n);
    lastInputMs_ = timeMs_;
  }
  std::size_t pos = 0;
  while (pos < pending_.size()) {
    const std::size_t len = FrameLength(pending_[pos]);
    if (len == 0) {
      skipped_.push_back(pending_[pos++]);
      continue;
    }
    if (pending_.size() - pos < len) break;  // wait for the rest of the frame
    if (!FrameValid(&pending_[pos], len)) {
      skipped_.push_back(pending_[pos++]);
      continue;
    }
    FlushSkipped();
    // The frame is copied: handling it may not touch pending_, but stay safe regardless.
    const std::vector<std::uint8_t> frame(pending_.begin() + static_cast<std::ptrdiff_t>(pos),
                                          pending_.begin() + static_cast<std::ptrdiff_t>(pos + len));
    pos += len;
    HandleFrame(frame.data(), frame.size(), out);
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pos));
  FlushSkipped();
  return out;
}

void SimController::Advance(int ms) {
  if (ms <= 0) return;
  timeMs_ += ms;
  if (!pending_.empty() && timeMs_ - lastInputMs_ >= kStaleInputMs) {
    AddLog("DROP partial frame: " + HexBytes(pending_.data(), std::min<std::size_t>(pending_.size(), 20)));
    pending_.clear();
  }
  if (options_.drivenClock) return;
  engineMs_ = timeMs_;
  UpdateEngine();
}

std::uint8_t SimController::Noise(int span) {
  return static_cast<std::uint8_t>(rng_() % static_cast<unsigned>(span + 1));
}

void SimController::UpdateEngine() {
  const double t = static_cast<double>(engineMs_) / 1000.0;
  engine_.Advance(engineMs_, memory_);
  rpm_ = engine_.MeasuredRpm(memory_);
  tps_ = engine_.Throttle();
  vacuum_ = Clamp8(50.0 + 60.0 * engine_.Load() + Noise(2));
  lambda_ = engine_.Lambda();
  motor_ = engine_.Stepper();
  injection_ = Clamp8(25.0 + 10.0 * rpm_ / 3000.0);
  gasLevel_ = static_cast<std::uint8_t>(150 - static_cast<long long>(t / 30.0) % 100);
  temperature_ = Clamp8(21.0 + 122.0 * std::exp(-t / 120.0));

  // Program variables follow the engine.
  const std::uint8_t rpmByte = Clamp8(rpm_ / 100.0);
  sram_[0x60] = StatusByte();
  sram_[0x61] = rpmByte;
  sram_[0x62] = lambda_;
  sram_[0x63] = vacuum_;
  sram_[0x64] = tps_;
  sram_[0x65] = motor_;
  sram_[0x66] = gasLevel_;
  sram_[0x67] = temperature_;
  sram_[0x68] = static_cast<std::uint8_t>(engineMs_ / 10);

  // On gas the controller learns: once a second the cell under the current speed and load
  // takes the stepper position.
  if (engine_.OnGas() && engineMs_ / 1000 != learnedSecond_) {
    learnedSecond_ = engineMs_ / 1000;
    const int column = std::clamp(rpmByte / 2 - 2, 1, kMapColumns) - 1;
    const int row = std::clamp(vacuum_ / 8, 0, 15);
    map_[column * 16 + row] = motor_;
  }
}

void SimController::SwitchMode() {
  engine_.SwitchMode();
  static constexpr const char* kNames[] = {"MODE petrol", "MODE gas", "MODE auto"};
  AddLog(kNames[static_cast<int>(engine_.Switch())]);
  UpdateEngine();
}

void SimController::Emit(std::vector<std::uint8_t>& out, std::vector<std::uint8_t> reply) {
  // Every reply ends in its checksum (the acknowledgement AA AA follows the same rule).
  if (reply.size() >= 2) reply.back() = Sum(reply.data(), reply.size() - 1);
  if (options_.garbleRate > 0.0) {
    for (auto& b : reply) {
      if (static_cast<double>(rng_()) / 4294967296.0 < options_.garbleRate)
        b = static_cast<std::uint8_t>(rng_());
    }
  }
  out.insert(out.end(), reply.begin(), reply.end());
}

void SimController::HandleFrame(const std::uint8_t* f, std::size_t len, std::vector<std::uint8_t>& out) {
  AddLog("RX " + HexBytes(f, len));
  if (options_.silent) return;
  if (inLoader_)
    HandleLoader(f, len, out);
  else
    HandleApplication(f, out);
}

void SimController::LiveReply(std::vector<std::uint8_t>& r) {
  r.assign(16, 0);
  r[0] = kLive;
  r[1] = StatusByte();
  std::uint8_t flags = lambda_ > 23 ? 0x80 : 0x40;  // rich / lean against the 0.46 V threshold
  if (engine_.OnGas()) flags |= 0x04;               // speed regulation
  if (engine_.OnGas() && engine_.Load() > 0.2) flags |= 0x20;
  if (engineMs_ < memory_[40] * 5000LL) flags |= 0x01;  // probe still cold
  r[2] = flags;
  r[3] = Clamp8(rpm_ / 100.0);
  r[4] = lambda_;
  r[5] = vacuum_;
  r[6] = engine_.OnGas() ? 23 : 0;
  // In auto the controller waits for the switch-over speed.
  r[7] = engine_.Fuel() == FuelState::Waiting ? 8 : 0;
  r[8] = tps_;
  r[10] = motor_;
  r[11] = injection_;
  r[13] = gasLevel_;
  r[14] = temperature_;
}

void SimController::ConfigReply(std::vector<std::uint8_t>& r) {
  r.assign(15, 0);
  r[0] = kConfig;
  r[1] = StatusByte();
  r[3] = Clamp8(rpm_ / 100.0);
  r[4] = lambda_;
  r[5] = motor_;
  r[6] = tps_;
  r[7] = vacuum_;
  r[8] = gasLevel_;
  r[9] = temperature_;
}

void SimController::PortReply(std::vector<std::uint8_t>& r) {
  r.assign(14, 0);
  r[0] = kPort;
  r[1] = lambda_;
  r[2] = engine_.OnGas() ? 23 : 0;
  r[3] = tps_;
  r[4] = gasLevel_;
  r[5] = temperature_;
  r[6] = vacuum_;
  r[7] = static_cast<std::uint8_t>(238 + Noise(4));  // ignition switch
  r[8] = static_cast<std::uint8_t>(178 + Noise(6));  // battery through its divider
  r[9] = static_cast<std::uint8_t>((engine_.OnGas() ? 0x01 : 0x02) | 0x40);
  r[10] = static_cast<std::uint8_t>(0x5A ^ ((engineMs_ / 100) & 1));  // coil input toggles
  r[11] = 0x0F;
  r[12] = StatusByte();
}

void SimController::AnswerPoll(std::uint8_t code, std::vector<std::uint8_t>& out) {
  if (options_.drivenClock) {
    engineMs_ += kDrivenPollMs;
    UpdateEngine();
  }
  std::vector<std::uint8_t> r;
  if (code == kLive)
    LiveReply(r);
  else if (code == kConfig)
    ConfigReply(r);
  else
    PortReply(r);
  Emit(out, std::move(r));
}

void SimController::HandleApplication(const std::uint8_t* f, std::vector<std::uint8_t>& out) {
  const std::uint8_t code = f[0];
  if (options_.tester && code != kParamRead && code != kParamWrite) return;
  switch (code) {
    case kParamRead: Emit(out, {kParamRead, f[1], memory_[f[1]], 0}); break;
    case kLive:
    case kConfig:
    case kPort: AnswerPoll(code, out); break;
    case kPrefix:
      SwitchMode();
      AnswerPoll(f[1], out);
      break;
    case kRegisterRead: Emit(out, {kRegisterRead, f[1], sram_[f[1]], 0}); break;
    case kColumn: {
      const int idx = f[1];
      if (idx >= kMapFirstColumn + kMapColumns) break;
      std::vector<std::uint8_t> r(23, 0);
      r[0] = kColumn;
      r[1] = StatusByte();
      r[2] = f[1];
      // Index 16..37: a map column; 0..15: SRAM bytes 16*idx on.
      const std::uint8_t* cells =
          idx >= kMapFirstColumn ? &map_[(idx - kMapFirstColumn) * 16] : &sram_[idx * 16];
      std::copy(cells, cells + 16, r.begin() + 3);
      r[19] = Clamp8(rpm_ / 100.0);
      r[20] = lambda_;
      r[21] = vacuum_;
      Emit(out, std::move(r));
      break;
    }
    case kEeprom: {
      const int idx = f[1];
      if (idx >= kEepromBlocks) break;
      std::vector<std::uint8_t> r(20, 0);
      r[0] = kEeprom;
      r[1] = StatusByte();
      r[2] = f[1];
      // The EEPROM holds the parameters (blocks 0..15) and the stored map (16..31).
      const std::uint8_t* bytes = idx < 16 ? &memory_[idx * 16] : &storedMap_[(idx - 16) * 16];
      std::copy(bytes, bytes + 16, r.begin() + 3);
      Emit(out, std::move(r));
      break;
    }
    case kParamWrite:
      // A write damaged on its way in fails the controller's checksum: neither stored nor
      // acknowledged.
      if (options_.dropWriteRate > 0.0 &&
          static_cast<double>(rng_()) / 4294967296.0 < options_.dropWriteRate) {
        AddLog("DROP write " + HexBytes(f, 4));
        break;
      }
      if (f[1] == 0 && f[2] == 0) {
        memory_ = factory_;
        AddLog("FACTORY RESET");
      } else if (f[1] >= 2) {  // type and version are fixed in the controller's program
        memory_[f[1]] = f[2];
      }
      Emit(out, {kParamWrite, kParamWrite});
      break;
    case kMapRead:
      map_ = storedMap_;
      AddLog("MAP read");
      break;
    case kMapWrite:
      storedMap_ = map_;
      AddLog("MAP write");
      break;
    case kMapErase:
      map_.fill(0xFF);
      AddLog("MAP erase");
      break;
    case kStart:
      inLoader_ = true;
      HandleLoader(f, 4, out);
      break;
    default: break;
  }
}

void SimController::LoaderReply(std::uint8_t status, std::vector<std::uint8_t>& out) {
  Emit(out, {kProgramFrame, 0x01, status, 0x00, options_.loaderValueP,
             static_cast<std::uint8_t>(nextBlock_ >> 8), static_cast<std::uint8_t>(nextBlock_ & 0xFF), 0});
}

void SimController::HandleLoader(const std::uint8_t* f, std::size_t len, std::vector<std::uint8_t>& out) {
  if (f[0] == kStart) {
    if (phase_ == LoaderPhase::Receiving) AddLog("LOADER run restarted");
    phase_ = LoaderPhase::AwaitHeader;
    AddLog("LOADER start");
    Emit(out,
         {kStart, options_.typeByte, kLoaderValueB, 0x00, options_.loaderValueP, kLoaderValueD, 0x00, 0});
    return;
  }
  if (f[0] == kProgramFrame && len == 20) {
    if (f[1] == 0x00)
      HandleHeader(f, out);
    else if (f[1] == 0x01 && phase_ == LoaderPhase::Receiving)
      HandleBlock(f, out);
    return;
  }
  // Whatever the application would have answered, the loader announces itself.
  Emit(out, {kStart, options_.typeByte, options_.versionByte, 0, 0, 0, reportByte6_, 0});
}

void SimController::HandleHeader(const std::uint8_t* f, std::vector<std::uint8_t>& out) {
  const std::uint8_t e = options_.loaderValueP / 8;
  const int n = f[9] << 8 | f[10];
  const bool ok = f[4] == options_.typeByte && f[5] == kLoaderValueB && f[6] == 0 &&
                  f[7] == options_.loaderValueP && f[8] == kLoaderValueD && f[11] == e && n >= 1 &&
                  n <= kMaxProgramBlocks;
  nextBlock_ = 0;
  if (!ok) {
    AddLog("LOADER header rejected");
    phase_ = LoaderPhase::Idle;
    loaderResult_ = LoaderResult::Error;
    reportByte6_ = 1;
    LoaderReply(kLoaderDone | kLoaderErrorBit, out);
    return;
  }
  blocks_ = n;
  sum_ = static_cast<std::uint32_t>(f[13]) << 16 | static_cast<std::uint32_t>(f[16]) << 8 | f[15];
  xor_ = f[14];
  key_ = kKeyTable[f[17] % 32];
  image_.assign(static_cast<std::size_t>(n) * 16, 0);
  blockError_ = false;
  phase_ = LoaderPhase::Receiving;
  loaderResult_ = LoaderResult::Running;
  imageCheck_ = ImageCheck::NotChecked;
  reportByte6_ = 0;  // until the run ends, a restart finds it unfinished
  AddLog("LOADER header N=" + std::to_string(n) + " S=" + std::to_string(sum_) +
         " X=" + std::to_string(xor_) + " seed=" + std::to_string(f[17]));
  LoaderReply(kLoaderSendBlock, out);
}

void SimController::HandleBlock(const std::uint8_t* f, std::vector<std::uint8_t>& out) {
  const int pe = options_.loaderValueP * (options_.loaderValueP / 8);
  const auto number = static_cast<std::uint8_t>((nextBlock_ - pe) & 0xFF);
  if (f[2] != number) {
    AddLog("LOADER block " + std::to_string(nextBlock_) + " carries number " + std::to_string(f[2]) +
           ", expected " + std::to_string(number));
    blockError_ = true;
  } else {
    std::array<std::uint8_t, 16> d{};
    std::copy(f + 3, f + 19, d.begin());
    std::swap(d[0], d[4]);
    std::swap(d[1], d[6]);
    std::uint8_t k = key_;
    for (auto& b : d) {
      b = static_cast<std::uint8_t>(b ^ k);
      k = b;
    }
    std::swap(d[2], d[5]);
    std::swap(d[7], d[10]);
    std::copy(d.begin(), d.end(), image_.begin() + static_cast<std::ptrdiff_t>(nextBlock_) * 16);
  }
  ++nextBlock_;
  if (options_.silentAfterBlocks > 0 && --options_.silentAfterBlocks == 0) {
    options_.silent = true;
    AddLog("LOADER silent after block " + std::to_string(nextBlock_ - 1));
    return;
  }
  if (nextBlock_ >= blocks_)
    FinishRun(out);
  else
    LoaderReply(kLoaderSendBlock, out);
}

void SimController::FinishRun(std::vector<std::uint8_t>& out) {
  const std::size_t checked = static_cast<std::size_t>(blocks_ - 1) * 16;
  std::uint32_t sum = 0;
  std::uint8_t x = 0;
  for (std::size_t i = 0; i < checked; ++i) {
    sum += image_[i];
    x ^= image_[i];
  }
  sum &= 0xFFFFFF;
  const bool ok = !blockError_ && sum == sum_ && x == xor_;
  AddLog(std::string("LOADER end ") + (ok ? "ok" : "error") + " sum=" + std::to_string(sum) +
         " xor=" + std::to_string(x));

  if (!options_.expectedImage.empty()) {
    const auto& want = options_.expectedImage;
    std::size_t at = 0;
    while (at < want.size() && at < image_.size() && want[at] == image_[at]) ++at;
    if (at == want.size()) {
      imageCheck_ = ImageCheck::Match;
      AddLog("IMAGE match " + std::to_string(want.size()) + " bytes");
    } else {
      imageCheck_ = ImageCheck::Mismatch;
      AddLog("IMAGE mismatch at byte " + std::to_string(at));
    }
  }

  phase_ = LoaderPhase::Idle;
  ++runsEnded_;
  LoaderReply(ok ? kLoaderDone : kLoaderDone | kLoaderErrorBit, out);
  if (ok) {
    loaderResult_ = LoaderResult::Success;
    inLoader_ = false;  // the new application starts
  } else {
    loaderResult_ = LoaderResult::Error;
    reportByte6_ = 1;
  }
}

}  // namespace sim
