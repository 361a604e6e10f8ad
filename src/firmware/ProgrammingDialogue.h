#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/UserDialogs.h"
#include "link/ControllerLink.h"

// The exchange with the controller's loader that carries a firmware image into the
// controller: the start request, the header frame, the 16-byte data blocks the loader asks
// for by number, and the end of a run.
namespace programming {
inline constexpr std::array<std::uint8_t, 4> kProgrammingStart = {0x3A, 0x75, 0x70,
                                                                  0x1F};  // ":up" + checksum
inline constexpr std::uint8_t kLoaderAnswer = 0x3A;
inline constexpr std::uint8_t kProgrammingCode = 0x07;
inline constexpr std::uint8_t kHeaderKind = 0x00;  // byte 1 of the header frame
inline constexpr std::uint8_t kBlockKind = 0x01;   // byte 1 of data frames and loader replies
inline constexpr std::uint8_t kHeaderEnd = 0xFF;
inline constexpr int kFrameBytes = 20;
inline constexpr int kBlockBytes = 16;
inline constexpr int kReplyBytes = 8;
inline constexpr int kExtraBlocksDivisor = 8;  // E = P div 8

// The loader's status byte T.
inline constexpr int kStatusMask = 0x0F;
inline constexpr int kStatusSendBlock = 3;
inline constexpr int kStatusFinished = 5;
inline constexpr int kStatusErrorBit = 0x20;

// Transmit ticks without an accepted reply after which a run is given up; the same limit
// holds for the loader's answer to the start request.
inline constexpr int kWatchdogTicks = 3;
// The remaining-time estimate: a block and its reply take about 58 ms at 4800 baud.
inline constexpr int kBlocksPerSecond = 15;

// Text ids of the end of a run.
inline constexpr int kTextNoLink = 909;
inline constexpr int kTextFailed = 910;
inline constexpr int kTextSucceeded = 911;
inline constexpr int kTextRemainingTime = 903;
}  // namespace programming

// The loader's values from its answer to the start request, passed back in the header.
struct LoaderValues {
  std::uint8_t a = 0, b = 0, p = 0, d = 0;
};

// The derived values of a run.
struct RunPlan {
  int e = 0;              // extra blocks, P div 8
  int n = 0;              // blocks to send: L div 16 + E, at least L / 16 rounded up
  std::uint32_t sum = 0;  // of the first (N - 1) x 16 bytes, 24 bits
  std::uint8_t x = 0;     // their XOR
};

// N, E, S and X for an image of `byteCount` bytes. `image` holds at least N x 16 bytes.
RunPlan PlanRun(const std::vector<std::uint8_t>& image, int byteCount, std::uint8_t p);
std::array<std::uint8_t, programming::kFrameBytes> HeaderFrame(const LoaderValues& loader,
                                                               const RunPlan& plan, std::uint8_t seed);
std::uint8_t TransferKeyFor(std::uint8_t seed);
// The three steps that scramble a block's sixteen bytes for the wire.
std::array<std::uint8_t, 16> TransformBlock(std::array<std::uint8_t, 16> d, std::uint8_t key);
std::array<std::uint8_t, programming::kFrameBytes> DataBlockFrame(int block, std::uint8_t p, int e,
                                                                  const std::array<std::uint8_t, 16>& plain,
                                                                  std::uint8_t key);
// "Время до окончания : 1 min 6 s" for 1000 blocks left.
std::string RemainingTimeText(int blocksLeft);

// What a run shows and changes outside the link: the programming window and whether the
// main window takes input.
class ProgrammingWindow {
 public:
  virtual ~ProgrammingWindow() = default;
  virtual void ShowProgress(int maximum) = 0;  // the gauge: this maximum, progress 0, visible
  virtual void SetProgress(int position) = 0;
  virtual void SetStatusText(const std::string& text) = 0;  // the second label
  virtual void SetMainWindowEnabled(bool enabled) = 0;
  virtual void CloseProgrammingWindow() = 0;  // also hides the gauge and sets it to 0
};

// The loader dialogue. Driven by the link: the loader's replies and the transmit ticks.
class ProgrammingDialogue : public ProgrammingHandler {
 public:
  enum class Phase { Idle, AwaitingLoader, Running };

  ProgrammingDialogue(ControllerLink& link, ProgrammingWindow& window, UserDialogs& dialogs);
  ~ProgrammingDialogue() override;
  ProgrammingDialogue(const ProgrammingDialogue&) = delete;
  ProgrammingDialogue& operator=(const ProgrammingDialogue&) = delete;

  // Sends the start request for the unscrambled image (its size is the run's byte count).
  // The main window has been disabled by the caller; every way out enables it again.
  void Start(std::vector<std::uint8_t> image);

  void OnProgrammingReply(const std::uint8_t* reply, int count) override;
  void OnProgrammingTick() override;
  bool RunUnderWay() const override { return phase_ != Phase::Idle; }
  void OnLinkLeftRun() override;

  Phase CurrentPhase() const { return phase_; }
  int ProgrammingSilence() const { return silence_; }
  const RunPlan& Plan() const { return plan_; }
  std::uint8_t TransferKey() const { return transferKey_; }
  int LastResultText() const { return lastResult_; }  // 909, 910 or 911; 0 before any run

 private:
  void BeginRun(const std::uint8_t* answer);
  void HandleRunReply(const std::uint8_t* reply);
  void SendBlock(int block);
  void Send(const std::uint8_t* frame, std::size_t count);
  void End(int textId);

  ControllerLink& link_;
  ProgrammingWindow& window_;
  UserDialogs& dialogs_;
  Phase phase_ = Phase::Idle;
  std::vector<std::uint8_t> image_;
  int byteCount_ = 0;
  RunPlan plan_;
  std::uint8_t p_ = 0;
  std::uint8_t transferKey_ = 0;
  int silence_ = 0;
  int lastResult_ = 0;
};
