#include "firmware/ProgrammingDialogue.h"

#include <algorithm>
#include <utility>

#include "base/UiText.h"
#include "firmware/DeviceContract.h"
#include "link/LinkFrames.h"

using namespace programming;

RunPlan PlanRun(const std::vector<std::uint8_t>& image, int byteCount, std::uint8_t p) {
  RunPlan plan;
  plan.e = p / kExtraBlocksDivisor;
  // The loader's count of blocks, but never fewer than the image fills: a last block that is
  // only partly filled goes out too (padded with zeros).
  const int filled = byteCount > 0 ? (byteCount + kBlockBytes - 1) / kBlockBytes : 0;
  plan.n = std::max(byteCount / kBlockBytes + plan.e, filled);
  const std::size_t checked = plan.n > 0 ? static_cast<std::size_t>(plan.n - 1) * kBlockBytes : 0;
  for (std::size_t i = 0; i < checked && i < image.size(); ++i) {
    plan.sum += image[i];
    plan.x = static_cast<std::uint8_t>(plan.x ^ image[i]);
  }
  plan.sum &= 0xFFFFFF;
  return plan;
}

std::array<std::uint8_t, kFrameBytes> HeaderFrame(const LoaderValues& loader, const RunPlan& plan,
                                                  std::uint8_t seed) {
  std::array<std::uint8_t, kFrameBytes> f{};
  f[0] = kProgrammingCode;
  f[1] = kHeaderKind;
  f[4] = loader.a;
  f[5] = loader.b;
  f[6] = 0x00;  // P is a single byte
  f[7] = loader.p;
  f[8] = loader.d;
  f[9] = static_cast<std::uint8_t>(plan.n >> 8);
  f[10] = static_cast<std::uint8_t>(plan.n);
  f[11] = static_cast<std::uint8_t>(plan.e);
  f[13] = static_cast<std::uint8_t>(plan.sum >> 16);
  f[14] = plan.x;
  f[15] = static_cast<std::uint8_t>(plan.sum);
  f[16] = static_cast<std::uint8_t>(plan.sum >> 8);
  f[17] = seed;
  f[18] = kHeaderEnd;
  f[19] = FrameChecksum(f.data(), kFrameBytes - 1);
  return f;
}

std::uint8_t TransferKeyFor(std::uint8_t seed) { return KeyTable[seed % KeyTable.size()]; }

std::array<std::uint8_t, 16> TransformBlock(std::array<std::uint8_t, 16> d, std::uint8_t key) {
  std::swap(d[2], d[5]);
  std::swap(d[7], d[10]);
  std::uint8_t k = key;
  for (std::uint8_t& b : d) {
    const std::uint8_t before = b;
    b = static_cast<std::uint8_t>(b ^ k);
    k = before;
  }
  std::swap(d[0], d[4]);
  std::swap(d[1], d[6]);
  return d;
}

std::array<std::uint8_t, kFrameBytes> DataBlockFrame(int block, std::uint8_t p, int e,
                                                     const std::array<std::uint8_t, 16>& plain,
                                                     std::uint8_t key) {
  std::array<std::uint8_t, kFrameBytes> f{};
  f[0] = kProgrammingCode;
  f[1] = kBlockKind;
  f[2] = static_cast<std::uint8_t>(block - p * e);
  const auto d = TransformBlock(plain, key);
  std::copy(d.begin(), d.end(), f.begin() + 3);
  f[19] = FrameChecksum(f.data(), kFrameBytes - 1);
  return f;
}

std::string RemainingTimeText(int blocksLeft) {
  const int seconds = std::max(0, blocksLeft) / kBlocksPerSecond;
  return UiText(kTextRemainingTime) + std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) +
         " s";
}

// ---------------------------------------------------------------------------------------

ProgrammingDialogue::ProgrammingDialogue(ControllerLink& link, ProgrammingWindow& window,
                                         UserDialogs& dialogs)
    : link_(link), window_(window), dialogs_(dialogs) {
  link_.SetProgrammingHandler(this);
}

ProgrammingDialogue::~ProgrammingDialogue() { link_.SetProgrammingHandler(nullptr); }

void ProgrammingDialogue::Send(const std::uint8_t* frame, std::size_t count) {
  try {
    link_.SendFrame(std::vector<std::uint8_t>(frame, frame + count));
  } catch (const EVaCommError&) {
    // A frame the port would not take gets no answer; the watchdog ends the run.
  }
}

void ProgrammingDialogue::Start(std::vector<std::uint8_t> image) {
  if (phase_ != Phase::Idle) return;
  byteCount_ = static_cast<int>(std::min(image.size(), std::size_t{0x7FFFFFFF}));
  image_ = std::move(image);
  plan_ = RunPlan{};
  silence_ = 0;
  phase_ = Phase::AwaitingLoader;
  // A loader report left over from the search for the controller also begins with 0x3A: taken
  // for the answer, its bytes would go back in the header and the loader would refuse the run.
  link_.DiscardWaiting();
  Send(kProgrammingStart.data(), kProgrammingStart.size());
}

void ProgrammingDialogue::OnProgrammingReply(const std::uint8_t* reply, int count) {
  if (count < kReplyBytes) return;
  if (phase_ == Phase::AwaitingLoader) {
    if (reply[0] == kLoaderAnswer) BeginRun(reply);
  } else if (phase_ == Phase::Running) {
    HandleRunReply(reply);
  }
}

void ProgrammingDialogue::BeginRun(const std::uint8_t* answer) {
  const LoaderValues loader{answer[1], answer[2], answer[4], answer[5]};
  p_ = loader.p;
  plan_ = PlanRun(image_, byteCount_, loader.p);
  if (plan_.n <= 0) {  // nothing to send: an image shorter than a block and no extra blocks
    End(kTextFailed);
    return;
  }
  // Blocks beyond the image's data, up to N, go out as zeros.
  image_.resize(std::max(image_.size(), static_cast<std::size_t>(plan_.n) * kBlockBytes), 0);
  const auto seed = static_cast<std::uint8_t>(link_.NextRandom() % 256);
  const auto header = HeaderFrame(loader, plan_, seed);

  window_.ShowProgress(plan_.n);
  link_.BeginProgramming();
  silence_ = 0;
  phase_ = Phase::Running;
  Send(header.data(), header.size());
  transferKey_ = TransferKeyFor(seed);
}

void ProgrammingDialogue::HandleRunReply(const std::uint8_t* r) {
  if (r[0] != kProgrammingCode || r[1] != kBlockKind) return;  // dropped; the watchdog decides
  link_.LoaderAnswered();
  silence_ = 0;
  const int status = r[2];
  p_ = r[4];
  const int block = r[5] << 8 | r[6];
  window_.SetProgress(block);
  window_.SetStatusText(RemainingTimeText(plan_.n - block));

  switch (status & kStatusMask) {
    case kStatusSendBlock:
      // A block the run does not have: the loader and the program disagree about the image.
      if (block >= plan_.n)
        End(kTextFailed);
      else
        SendBlock(block);
      break;
    case kStatusFinished: End(status & kStatusErrorBit ? kTextFailed : kTextSucceeded); break;
    default: break;  // the loader is busy; its next reply says what it wants
  }
}

void ProgrammingDialogue::SendBlock(int block) {
  std::array<std::uint8_t, kBlockBytes> plain{};
  const auto first = image_.begin() + static_cast<std::ptrdiff_t>(block) * kBlockBytes;
  std::copy(first, first + kBlockBytes, plain.begin());
  const auto frame = DataBlockFrame(block, p_, plan_.e, plain, transferKey_);
  Send(frame.data(), frame.size());
}

void ProgrammingDialogue::OnProgrammingTick() {
  if (phase_ == Phase::Idle) return;
  if (++silence_ >= kWatchdogTicks) End(kTextNoLink);
}

void ProgrammingDialogue::OnLinkLeftRun() {
  if (phase_ != Phase::Idle) End(kTextFailed);
}

// The dialogue is idle and the link stopped before the pause and the box, whose event loop
// goes on running ticks and receive events.
void ProgrammingDialogue::End(int textId) {
  phase_ = Phase::Idle;
  lastResult_ = textId;
  image_.clear();
  window_.SetMainWindowEnabled(true);
  link_.EndProgramming();
  const std::string text = UiText(textId);
  window_.SetStatusText(text);
  dialogs_.PauseOneSecond();
  dialogs_.ShowMessage(text, MessageButtons::Ok);
  window_.CloseProgrammingWindow();
  link_.RequestReconnect();
}
