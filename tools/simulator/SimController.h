#pragma once

// A stand-in for the gas controller and its loader, as seen from the serial line. Plain C++,
// no I/O and no clock of its own: bytes go in through Receive(), reply bytes come back from
// it, and simulated time moves only through Advance(). With drivenClock the engine keeps a
// clock of its own that moves kDrivenPollMs with every poll answered (live data,
// configuration, PORT view), so the same requests meet the same engine however fast they
// come; Advance() then moves only the line's time (stale partial frames).
//
// Frames the controller understands (each ends in the low 8 bits of the sum of the bytes
// before it) and what it answers:
//   0x55 idx chk             parameter read      -> 55 idx value chk (4 bytes)
//   0x33 0x33                live data           -> 16 bytes, byte 0 0x33
//   0x35 code chk            mode switch + poll  -> the reply of the poll `code`
//   0x5A reg chk x           register read       -> 5A reg value chk (4 bytes)
//   0xAC 0xAC                configuration data  -> 15 bytes
//   0xC5 idx chk             map column (idx 16..37) or SRAM block (idx 0..15) -> 23 bytes
//   0x5C idx chk             EEPROM block (idx 0..31) -> 20 bytes
//   0xCA 0xCA                PORT view           -> 14 bytes
//   0xAA idx val chk         parameter write     -> AA AA
//   0xA3 0xA3 / 0xC3 0xC3 / 0x53 0x53  map read / write / erase -> no reply
//   0x3A 0x75 0x70 0x1F      programming start   -> the loader takes over (below)
//
// The map column and the SRAM block share the code 0xC5; the controller cannot tell which
// view asks, so an index 16..37 is answered from the map and an index 0..15 from SRAM
// bytes 16*idx .. 16*idx+15. The register read reads the same SRAM image (address = reg).
//
// The loader (after a programming start, or from the beginning with `loader` set):
//   - a parameter read (and any other application request) is answered with the 8-byte
//     LoaderReport 3A type version 00 00 00 reportByte6 chk;
//   - the programming start is answered with 3A A B 00 P D 00 chk, where A = type byte,
//     B = kLoaderValueB, P = loaderValueP (default 8, so E = P div 8 = 1) and D = kLoaderValueD;
//   - the 20-byte header (07 00 ...) is checked (checksum, A, B, P, D, E echoed, N in range)
//     and answered with 07 01 03 00 P G_hi G_lo chk asking for block G = 0;
//   - blocks are numbered 0..N-1 and block G holds image bytes 16G..16G+15; the data frame's
//     byte 2 must be (G - P*E) mod 256. Each block is unscrambled with
//     TransferKey = kKeyTable[seed mod 32], stored, and the next block is asked for;
//   - after block N-1 the sum (24 bits) and XOR of the first (N-1)*16 bytes are compared with
//     the header: status 05 on success, 0x25 on error. After success the new application
//     runs (the controller answers normally again); after an error the loader stays and its
//     report byte 6 becomes 1 ("last programming ended with an error");
//   - with silentAfterBlocks set, the loader falls silent (as SetSilent) once it has received
//     that many blocks, leaving the run unfinished.
//
// Frames with a wrong checksum are not answered. Unknown bytes are skipped one at a time until
// a known code starts a frame whose checksum holds. A partial frame that gets no further byte
// for kStaleInputMs of simulated time is discarded.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "EngineModel.h"
#include "firmware/DeviceContract.h"

namespace sim {

// Key table shared with the program and the image producer (device contract).
inline constexpr const std::array<std::uint8_t, 32>& kKeyTable = ::KeyTable;

inline constexpr std::uint8_t kTesterType = 0xCB;
inline constexpr std::uint8_t kLoaderValueB = 0x40;
inline constexpr std::uint8_t kLoaderValueP = 8;
inline constexpr std::uint8_t kLoaderValueD = 0x02;
inline constexpr int kMapFirstColumn = 16;
inline constexpr int kMapColumns = 22;
inline constexpr int kSramBlocks = 38;
inline constexpr int kEepromBlocks = 32;
inline constexpr int kStaleInputMs = 100;
inline constexpr int kMaxProgramBlocks = 2048;
inline constexpr int kDrivenPollMs = 100;  // engine time per poll on the driven clock

// Loader status bytes.
inline constexpr std::uint8_t kLoaderSendBlock = 0x03;
inline constexpr std::uint8_t kLoaderDone = 0x05;
inline constexpr std::uint8_t kLoaderErrorBit = 0x20;

struct SimControllerOptions {
  std::uint8_t typeByte = 0x64;
  std::uint8_t versionByte = 145;
  bool tester = false;  // answers as the tester (type byte 0xCB): parameter reads and writes
  bool loader = false;  // the loader answers from the start
  std::uint8_t loaderReportByte6 = 0;
  std::uint32_t seed = 1;
  double garbleRate = 0.0;     // probability that a reply byte is replaced by a random byte
  double dropWriteRate = 0.0;  // probability that a parameter write is lost on its way in
  bool silent = false;
  std::vector<std::uint8_t> expectedImage;    // compared with a programmed image when not empty
  CarOptions car;                             // the car behind the controller
  bool drivenClock = false;                   // the engine's time moves with the polls answered
  std::uint8_t loaderValueP = kLoaderValueP;  // P of the loader's answer; E = P div 8 extra blocks
  int silentAfterBlocks = 0;                  // the loader falls silent after this many blocks (0: never)
};

enum class LoaderResult { None, Running, Success, Error };
enum class ImageCheck { NotChecked, Match, Mismatch };

class SimController {
 public:
  using Memory = std::array<std::uint8_t, 256>;

  explicit SimController(SimControllerOptions options = {});

  // Takes any chunk of received bytes (frames may be split or joined, garbage is skipped) and
  // returns the reply bytes to send back, in order.
  std::vector<std::uint8_t> Receive(const std::uint8_t* data, std::size_t n);
  // Moves simulated time forward; engine data follow it.
  void Advance(int ms);

  void SetSilent(bool on) { options_.silent = on; }
  bool Silent() const { return options_.silent; }
  void SetGarbleRate(double rate);
  double GarbleRate() const { return options_.garbleRate; }
  void SetDropWriteRate(double rate);
  // One line "MEMORY" with the parameter bytes 0..104 in hex, into the frame log.
  void LogParameterMemory();
  void SetExpectedImage(std::vector<std::uint8_t> image) { options_.expectedImage = std::move(image); }

  // Frame log: one line per frame received ("RX 55 01 56") plus event lines. Without a sink
  // the lines are kept in Log().
  void SetLogSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
  const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

  const Memory& ParameterMemory() const { return memory_; }
  const Memory& FactoryMemory() const { return factory_; }
  std::uint8_t StatusByte() const;
  FuelMode Mode() const { return engine_.Switch(); }
  const EngineModel& Engine() const { return engine_; }
  // The fitter's controls of the car (EngineModel::Command); false for an unknown command.
  bool EngineCommand(std::string_view command);
  bool InLoader() const { return inLoader_; }
  LoaderResult LastLoaderResult() const { return loaderResult_; }
  ImageCheck LastImageCheck() const { return imageCheck_; }
  // The image bytes received in the last programming run (N*16 bytes).
  const std::vector<std::uint8_t>& ReceivedImage() const { return image_; }
  // Programming runs that reached their end (success or error) so far.
  int RunsEnded() const { return runsEnded_; }
  // The loader stops answering once it has received this many more blocks (0: never).
  void SetSilentAfterBlocks(int blocks) { options_.silentAfterBlocks = blocks; }
  std::uint8_t MapCell(int column, int row) const;  // column 16..37, row 0..15
  // The data memory byte as the SRAM block reads show it: addresses 0x000..0x0FF the
  // registers and variables, 0x100..0x25F the map; 0 outside.
  std::uint8_t DataMemoryByte(int address) const;
  long long TimeMs() const { return timeMs_; }

 private:
  enum class LoaderPhase { Idle, AwaitHeader, Receiving };

  // Length of the frame that starts with `code` in the current state, 0 when unknown.
  std::size_t FrameLength(std::uint8_t code) const;
  bool FrameValid(const std::uint8_t* f, std::size_t len) const;
  void HandleFrame(const std::uint8_t* f, std::size_t len, std::vector<std::uint8_t>& out);
  void HandleApplication(const std::uint8_t* f, std::vector<std::uint8_t>& out);
  void HandleLoader(const std::uint8_t* f, std::size_t len, std::vector<std::uint8_t>& out);
  void HandleHeader(const std::uint8_t* f, std::vector<std::uint8_t>& out);
  void HandleBlock(const std::uint8_t* f, std::vector<std::uint8_t>& out);
  void FinishRun(std::vector<std::uint8_t>& out);
  void AnswerPoll(std::uint8_t code, std::vector<std::uint8_t>& out);
  void SwitchMode();
  void Emit(std::vector<std::uint8_t>& out, std::vector<std::uint8_t> reply);
  void LoaderReply(std::uint8_t status, std::vector<std::uint8_t>& out);
  void AddLog(std::string line);
  void FlushSkipped();
  void UpdateEngine();
  std::uint8_t Noise(int span);

  void LiveReply(std::vector<std::uint8_t>& r);
  void ConfigReply(std::vector<std::uint8_t>& r);
  void PortReply(std::vector<std::uint8_t>& r);

  SimControllerOptions options_;
  Memory factory_{};
  Memory memory_{};
  std::array<std::uint8_t, kMapColumns * 16> map_{};
  std::array<std::uint8_t, kMapColumns * 16> storedMap_{};
  std::array<std::uint8_t, kSramBlocks * 16> sram_{};
  std::mt19937 rng_;
  std::function<void(const std::string&)> sink_;
  std::vector<std::string> log_;

  std::vector<std::uint8_t> pending_;
  std::vector<std::uint8_t> skipped_;
  long long timeMs_ = 0;
  long long engineMs_ = 0;
  long long lastInputMs_ = 0;
  long long learnedSecond_ = 0;

  EngineModel engine_;
  // Current engine values, in the controller's byte units.
  double rpm_ = 850.0;
  std::uint8_t lambda_ = 25, tps_ = 30, vacuum_ = 60, motor_ = 0, injection_ = 28;
  std::uint8_t gasLevel_ = 150, temperature_ = 143;

  bool inLoader_ = false;
  LoaderPhase phase_ = LoaderPhase::Idle;
  std::uint8_t reportByte6_ = 0;
  LoaderResult loaderResult_ = LoaderResult::None;
  ImageCheck imageCheck_ = ImageCheck::NotChecked;
  std::vector<std::uint8_t> image_;
  int blocks_ = 0;         // N
  int nextBlock_ = 0;      // G
  std::uint32_t sum_ = 0;  // S from the header
  std::uint8_t xor_ = 0;   // X from the header
  std::uint8_t key_ = 0;   // TransferKey
  bool blockError_ = false;
  int runsEnded_ = 0;
};

// Hex text of bytes, "55 01 56".
std::string HexBytes(const std::uint8_t* data, std::size_t n);

}  // namespace sim
