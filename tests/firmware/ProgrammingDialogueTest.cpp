#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SimController.h"
#include "base/UiText.h"
#include "firmware/DeviceContract.h"
#include "firmware/ProgrammingDialogue.h"
#include "link/LinkFrames.h"
#include "link/Supervision.h"
#include "support/FakeSerialPort.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedLinkHost.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class RecordingWindow : public ProgrammingWindow {
 public:
  void ShowProgress(int maximum) override {
    progressMax = maximum;
    progress = 0;
    progressVisible = true;
  }
  void SetProgress(int position) override { progress = position; }
  void SetStatusText(const std::string& text) override { status.push_back(text); }
  void SetMainWindowEnabled(bool enabled) override { mainEnabled = enabled; }
  void CloseProgrammingWindow() override {
    ++closes;
    progressVisible = false;
    progress = 0;
  }
  int progressMax = 0, progress = -1, closes = 0;
  bool progressVisible = false, mainEnabled = false;
  std::vector<std::string> status;
};

Bytes WithChecksum(Bytes f) {
  f.push_back(FrameChecksum(f.data(), f.size()));
  return f;
}

Bytes LoaderAnswer(std::uint8_t p) { return WithChecksum({0x3A, 0x64, 0x40, 0x00, p, 0x02, 0x00}); }
Bytes RunReply(std::uint8_t status, std::uint8_t p, int block) {
  return WithChecksum(
      {0x07, 0x01, status, 0x00, p, static_cast<std::uint8_t>(block >> 8), static_cast<std::uint8_t>(block)});
}

Bytes DialoguePattern(std::size_t n) {
  Bytes data(n);
  for (std::size_t i = 0; i < n; ++i) data[i] = static_cast<std::uint8_t>(i * 31 + 7);
  return data;
}

struct Rig {
  Rig() {
    port.Open();
    port.OnRxChar = [this](int n) { link.VaComm1RxChar(n); };
    link.SeedRandom(12345);
    LinkTestAccess::State(link).linkState = link_state::kStopped;  // the firmware page
  }
  // The seed the dialogue will draw from the link's generator.
  std::uint8_t NextSeed() {
    ControllerLink copy(port, host, host, history);
    copy.SeedRandom(12345);
    return static_cast<std::uint8_t>(copy.NextRandom() % 256);
  }
  FakeSerialPort port;
  ScriptedLinkHost host;
  ReadingHistory history;
  ControllerLink link{port, host, host, history};
  RecordingWindow window;
  ScriptedDialogs dialogs;
  ProgrammingDialogue dialogue{link, window, dialogs};
};

TEST(ProgrammingFrames, HeaderCarriesTheLoaderValuesAndTheImageSums) {
  Rig rig;
  const Bytes image = DialoguePattern(64);
  const std::uint8_t seed = rig.NextSeed();
  rig.dialogue.Start(image);
  ASSERT_EQ(rig.port.frames.size(), 1u);
  EXPECT_EQ(rig.port.frames[0], (Bytes{0x3A, 0x75, 0x70, 0x1F}));
  EXPECT_EQ(rig.link.Vars().expectedReply, 0x3A);

  rig.port.Feed(LoaderAnswer(8));  // E = 1, N = 64/16 + 1 = 5
  ASSERT_EQ(rig.port.frames.size(), 2u);
  unsigned sum = 0;
  std::uint8_t x = 0;
  for (std::uint8_t b : image) {  // (N - 1) x 16 = all 64 bytes
    sum += b;
    x ^= b;
  }
  Bytes want = {0x07,
                0x00,
                0x00,
                0x00,
                0x64,
                0x40,
                0x00,
                0x08,
                0x02,
                0x00,
                0x05,
                0x01,
                0x00,
                static_cast<std::uint8_t>(sum >> 16),
                x,
                static_cast<std::uint8_t>(sum),
                static_cast<std::uint8_t>(sum >> 8),
                seed,
                0xFF};
  want = WithChecksum(want);
  EXPECT_EQ(rig.port.frames[1], want);
  EXPECT_EQ(rig.dialogue.TransferKey(), KeyTable[seed % 32]);
  EXPECT_EQ(rig.link.Vars().linkState, link_state::kProgramming);
  EXPECT_EQ(rig.link.Vars().expectedReply, 0x07);
  EXPECT_EQ(rig.window.progressMax, 5);
  EXPECT_TRUE(rig.window.progressVisible);
}

// A loader report from the search for the controller can still wait in the port when the run
// starts; it begins with 0x3A like the answer, but the header carries the answer's values.
TEST(ProgrammingFrames, ReportWaitingBeforeTheStartIsNotTakenForTheAnswer) {
  Rig clean, stale;
  stale.port.Feed({0x3A, 0x96, 0x11, 0x00, 0x00, 0x22, 0x02, 0x00}, false);
  for (Rig* rig : {&clean, &stale}) {
    rig->dialogue.Start(DialoguePattern(64));
    rig->port.Feed(LoaderAnswer(8));
  }
  ASSERT_EQ(stale.port.frames.size(), 2u);
  EXPECT_EQ(stale.port.frames[1], clean.port.frames[1]);
}

TEST(ProgrammingFrames, LargeSumsSplitOverThreeBytes) {
  const Bytes image(16384, 0xFF);
  const RunPlan plan = PlanRun(image, 16384, 0);
  EXPECT_EQ(plan.n, 1024);
  EXPECT_EQ(plan.e, 0);
  EXPECT_EQ(plan.sum, 1023u * 16u * 255u);  // 0x3FB010: the last block is not summed
  EXPECT_EQ(plan.x, 0);
  const auto f = HeaderFrame({1, 2, 3, 4}, plan, 9);
  EXPECT_EQ(f[9], 0x04);
  EXPECT_EQ(f[10], 0x00);
  EXPECT_EQ(f[13], 0x3F);
  EXPECT_EQ(f[15], 0x10);
  EXPECT_EQ(f[16], 0xB0);
  EXPECT_EQ(PlanRun(image, 16384, 17).n, 1026);  // E = 17 div 8
}

// N is the loader's count L div 16 + E, but never fewer blocks than the image fills.
TEST(ProgrammingFrames, BlockCountCoversTheLastPartialBlock) {
  const struct {
    int bytes, p, n;
  } table[] = {{0, 0, 0},      {2, 0, 1},        {14, 0, 1},       {16, 0, 1},       {18, 0, 2},
               {30, 0, 2},     {32, 0, 2},       {34, 0, 3},       {2992, 0, 187},   {3000, 0, 188},
               {3008, 0, 188}, {16382, 0, 1024}, {16384, 0, 1024}, {0, 8, 1},        {2, 8, 1},
               {14, 8, 1},     {16, 8, 2},       {18, 8, 2},       {30, 8, 2},       {32, 8, 3},
               {34, 8, 3},     {3000, 8, 188},   {3008, 8, 189},   {16382, 8, 1024}, {16384, 8, 1025},
               {34, 16, 4},    {3000, 15, 188}};
  for (const auto& row : table) {
    const RunPlan plan = PlanRun(DialoguePattern(static_cast<std::size_t>(row.bytes)), row.bytes,
                                 static_cast<std::uint8_t>(row.p));
    EXPECT_EQ(plan.n, row.n) << row.bytes << " bytes, P " << row.p;
    EXPECT_EQ(plan.e, row.p / 8);
  }
}

TEST(ProgrammingFrames, BlockTransformMatchesTheHandComputedBlock) {
  std::array<std::uint8_t, 16> d{};
  for (int i = 0; i < 16; ++i) d[i] = static_cast<std::uint8_t>(i);
  // Swap 2/5 and 7/10: 0 1 5 3 4 2 6 10 8 9 7 11 12 13 14 15; chain from 0xBD with the
  // byte before replacement: BD 01 04 06 07 06 04 0C 02 01 0E 0C 07 01 03 01; swap 0/4, 1/6.
  const std::array<std::uint8_t, 16> want = {0x07, 0x04, 0x04, 0x06, 0xBD, 0x06, 0x01, 0x0C,
                                             0x02, 0x01, 0x0E, 0x0C, 0x07, 0x01, 0x03, 0x01};
  EXPECT_EQ(TransformBlock(d, 0xBD), want);

  const auto frame = DataBlockFrame(3, 8, 1, d, 0xBD);
  EXPECT_EQ(frame[0], 0x07);
  EXPECT_EQ(frame[1], 0x01);
  EXPECT_EQ(frame[2], 251);  // 3 - 8 x 1, in 8 bits
  EXPECT_TRUE(std::equal(want.begin(), want.end(), frame.begin() + 3));
  EXPECT_EQ(frame[19], FrameChecksum(frame.data(), 19));
}

TEST(ProgrammingFrames, BlockByteIsTheNumberLessPTimesEInEightBits) {
  const struct {
    int block, p, e, want;
  } table[] = {{0, 8, 1, 248},           {8, 8, 1, 0},
               {300, 8, 1, 36},          {300, 0, 0, 44},
               {1023, 16, 2, 991 % 256}, {5, 255, 31, (5 - 255 * 31) & 0xFF}};
  for (const auto& row : table)
    EXPECT_EQ(DataBlockFrame(row.block, static_cast<std::uint8_t>(row.p), row.e, {}, 0)[2], row.want)
        << row.block;
}

TEST(ProgrammingFrames, RemainingTimeAssumesFifteenBlocksASecond) {
  const std::pair<int, const char*> table[] = {{1000, "1 min 6 s"}, {0, "0 min 0 s"},   {14, "0 min 0 s"},
                                               {15, "0 min 1 s"},   {900, "1 min 0 s"}, {899, "0 min 59 s"},
                                               {1025, "1 min 8 s"}, {-3, "0 min 0 s"}};
  for (auto [left, text] : table) EXPECT_EQ(RemainingTimeText(left), UiText(903) + text) << left;
  EXPECT_EQ(RemainingTimeText(1000), "Время до окончания : 1 min 6 s");
}

// The dialogue against the simulator's loader, the fake port carrying the bytes both ways.
struct SimRig : Rig {
  explicit SimRig(sim::SimControllerOptions o) : sim(std::move(o)) {}
  // A loader with the value P that expects `image`, the run started and carried to its end.
  SimRig(const Bytes& image, std::uint8_t p)
      : sim([&] {
          sim::SimControllerOptions o;
          o.loader = true;
          o.loaderValueP = p;
          o.expectedImage = image;
          return o;
        }()) {
    dialogue.Start(image);
    Exchange();
  }
  // Hands every frame written so far to the loader and its replies back to the link.
  void Exchange() {
    for (std::size_t guard = 0; guard < 5000 && delivered < port.frames.size(); ++guard) {
      const Bytes frame = port.frames[delivered++];
      const Bytes reply = sim.Receive(frame.data(), frame.size());
      if (!reply.empty()) port.Feed(reply);
    }
  }
  sim::SimController sim;
  std::size_t delivered = 0;
};

TEST(ProgrammingRun, ImageArrivesIntactWithAndWithoutExtraBlocks) {
  for (std::uint8_t p : {0, 8, 16}) {
    const Bytes image = DialoguePattern(16384);
    SimRig rig(image, p);
    const int n = 1024 + p / 8;
    EXPECT_EQ(rig.sim.LastLoaderResult(), sim::LoaderResult::Success) << int(p);
    EXPECT_EQ(rig.sim.LastImageCheck(), sim::ImageCheck::Match) << int(p);
    ASSERT_EQ(rig.sim.ReceivedImage().size(), static_cast<std::size_t>(n) * 16);
    EXPECT_TRUE(std::all_of(rig.sim.ReceivedImage().begin() + 16384, rig.sim.ReceivedImage().end(),
                            [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(rig.port.frames.size(), 2u + n);  // start, header, N blocks
    EXPECT_EQ(rig.dialogue.LastResultText(), 911);
    EXPECT_EQ(rig.dialogs.messages, (std::vector<std::string>{UiText(911)}));
    EXPECT_EQ(rig.dialogs.pauses, 1);
    EXPECT_EQ(rig.window.status.back(), UiText(911));
    EXPECT_EQ(rig.window.status[rig.window.status.size() - 2], RemainingTimeText(0));
    EXPECT_TRUE(rig.window.mainEnabled);
    EXPECT_EQ(rig.window.closes, 1);
    EXPECT_FALSE(rig.window.progressVisible);
    EXPECT_EQ(rig.link.Vars().linkState, link_state::kStopped);
    EXPECT_TRUE(rig.link.Vars().reconnectPending);
    EXPECT_EQ(rig.dialogue.CurrentPhase(), ProgrammingDialogue::Phase::Idle);
  }
}

// Images that end inside a block: every data byte reaches the loader, the rest of the last
// block is zeros, and the loader's sums agree.
TEST(ProgrammingRun, ShortAndUnevenImagesArriveWhole) {
  for (std::uint8_t p : {0, 8}) {
    for (std::size_t bytes : {2u, 14u, 18u, 3000u}) {
      const Bytes image = DialoguePattern(bytes);
      SimRig rig(image, p);
      const std::size_t n = std::max((bytes + 15) / 16, bytes / 16 + p / 8);
      EXPECT_EQ(rig.dialogue.LastResultText(), 911) << bytes << " bytes, P " << int(p);
      EXPECT_EQ(rig.sim.LastLoaderResult(), sim::LoaderResult::Success) << bytes;
      EXPECT_EQ(rig.sim.LastImageCheck(), sim::ImageCheck::Match) << bytes;
      ASSERT_EQ(rig.sim.ReceivedImage().size(), n * 16) << bytes;
      EXPECT_TRUE(std::all_of(rig.sim.ReceivedImage().begin() + static_cast<std::ptrdiff_t>(bytes),
                              rig.sim.ReceivedImage().end(), [](std::uint8_t b) { return b == 0; }));
    }
  }
}

TEST(ProgrammingRun, LoaderErrorStatusEndsAsFailed) {
  Rig rig;
  rig.dialogue.Start(DialoguePattern(160));
  rig.port.Feed(LoaderAnswer(8));
  rig.port.Feed(RunReply(0x25, 8, 3));
  EXPECT_EQ(rig.dialogue.LastResultText(), 910);
  EXPECT_EQ(rig.dialogs.messages, (std::vector<std::string>{UiText(910)}));
  EXPECT_TRUE(rig.window.mainEnabled);
}

TEST(ProgrammingRun, BlockOutsideTheImageEndsAsFailedWithoutSendingIt) {
  for (int block : {11, 12, 1024, 65535}) {  // 160 bytes with E = 1: blocks 0..10
    Rig rig;
    rig.dialogue.Start(DialoguePattern(160));
    rig.port.Feed(LoaderAnswer(8));
    rig.port.Feed(RunReply(0x03, 8, 10));
    ASSERT_EQ(rig.port.frames.size(), 3u);  // start, header, block 10 (zeros beyond the data)
    EXPECT_EQ(rig.port.frames[2][2], 2);    // 10 - 8
    rig.port.Feed(RunReply(0x03, 8, block));
    EXPECT_EQ(rig.port.frames.size(), 3u) << block;
    EXPECT_EQ(rig.dialogue.LastResultText(), 910) << block;
    EXPECT_TRUE(rig.window.mainEnabled);
    EXPECT_TRUE(rig.link.Vars().reconnectPending);
  }
}

TEST(ProgrammingRun, WatchdogGivesUpAfterThreeSilentTicks) {
  Rig rig;
  rig.dialogue.Start(DialoguePattern(160));
  rig.port.Feed(LoaderAnswer(0));
  rig.port.Feed(RunReply(0x03, 0, 0));
  rig.link.TimerTxTimer();
  rig.link.TimerTxTimer();
  rig.port.Feed(RunReply(0x01, 0, 1));  // busy: accepted, nothing sent, silence starts again
  const std::size_t sent = rig.port.frames.size();
  rig.link.TimerTxTimer();
  rig.port.Feed(RunReply(0x03, 0, 1));
  rig.port.Feed(WithChecksum({0x07, 0x02, 0x03, 0x00, 0x00, 0x00, 0x02}));  // dropped
  rig.port.Feed(WithChecksum({0x55, 0x01, 0x03, 0x00, 0x00, 0x00, 0x02}));  // dropped
  EXPECT_EQ(rig.port.frames.size(), sent + 1);
  EXPECT_EQ(rig.dialogue.ProgrammingSilence(), 0);
  rig.link.TimerTxTimer();
  rig.link.TimerTxTimer();
  EXPECT_EQ(rig.dialogue.CurrentPhase(), ProgrammingDialogue::Phase::Running);
  EXPECT_FALSE(rig.window.mainEnabled);
  rig.link.TimerTxTimer();
  EXPECT_EQ(rig.dialogue.LastResultText(), 909);
  EXPECT_EQ(rig.dialogs.messages, (std::vector<std::string>{UiText(909)}));
  EXPECT_EQ(rig.window.status.back(), UiText(909));
  EXPECT_TRUE(rig.window.mainEnabled);
  EXPECT_EQ(rig.window.closes, 1);
  EXPECT_EQ(rig.link.Vars().linkState, link_state::kStopped);
  EXPECT_TRUE(rig.link.Vars().reconnectPending);
  EXPECT_EQ(rig.link.Vars().failedReconnects, 0);
}

TEST(ProgrammingRun, LoaderThatNeverAnswersTheStartIsGivenUpLikeASilentRun) {
  Rig rig;
  LinkTestAccess::State(rig.link).failedReconnects = 3;
  rig.dialogue.Start(DialoguePattern(160));
  rig.port.Feed(WithChecksum({0x55, 0x00, 0x64}), true);  // not the loader's answer: dropped
  rig.port.Feed({0, 0, 0, 0, 0});
  rig.link.TimerTxTimer();
  rig.link.TimerTxTimer();
  EXPECT_EQ(rig.dialogue.CurrentPhase(), ProgrammingDialogue::Phase::AwaitingLoader);
  EXPECT_EQ(rig.link.Vars().linkState, link_state::kStopped);
  rig.link.TimerTxTimer();
  EXPECT_EQ(rig.dialogue.LastResultText(), 909);
  EXPECT_TRUE(rig.window.mainEnabled);
  EXPECT_EQ(rig.port.frames.size(), 1u);
  EXPECT_TRUE(rig.link.Vars().reconnectPending);
  EXPECT_EQ(rig.link.Vars().failedReconnects, 0);
  // Later ticks and replies find the dialogue idle.
  LinkTestAccess::State(rig.link).reconnectPending = false;
  rig.link.TimerTxTimer();
  rig.port.Feed(LoaderAnswer(8));
  EXPECT_EQ(rig.port.frames.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages.size(), 1u);
}

// Whatever takes the link out of a run's states ends the run through its one end path:
// 910, the main window enabled, the link restarted; nothing else reaches the loader.
TEST(ProgrammingRun, LinkTakenOutOfTheRunEndsItAsFailed) {
  const struct {
    const char* what;
    bool running;  // the run under way, else still waiting for the loader's answer
    std::function<void(Rig&)> takeOut;
    bool byInfoTick;  // a stopped transmit timer: only the information tick still runs
  } table[] = {
      {"page change", true,
       [](Rig& r) { LinkTestAccess::State(r.link).linkState = link_state::kParameterPoll; }, false},
      {"page change waiting", false,
       [](Rig& r) { LinkTestAccess::State(r.link).linkState = link_state::kSetupPoll; }, false},
      {"reconnect", true, [](Rig& r) { LinkTestAccess::State(r.link).reconnectPending = true; }, false},
      {"reconnect waiting", false, [](Rig& r) { LinkTestAccess::State(r.link).reconnectPending = true; },
       false},
      {"link stopped", true, [](Rig& r) { r.host.txEnabled = false; }, true},
      {"link stopped waiting", false, [](Rig& r) { r.host.txEnabled = false; }, true},
      {"link stopped and page", true,
       [](Rig& r) {
         r.host.txEnabled = false;
         LinkTestAccess::State(r.link).linkState = link_state::kChoose;
       },
       true},
  };
  for (const auto& row : table) {
    Rig rig;
    rig.host.txEnabled = true;
    ConnectionSupervisor supervisor(rig.link, rig.port, rig.host, rig.host);
    rig.dialogue.Start(DialoguePattern(160));
    if (row.running) {
      rig.port.Feed(LoaderAnswer(0));
      rig.port.Feed(RunReply(0x03, 0, 0));
    }
    supervisor.TimerInfoTimer();
    rig.link.TimerTxTimer();
    ASSERT_EQ(rig.dialogue.CurrentPhase() == ProgrammingDialogue::Phase::Running, row.running) << row.what;
    ASSERT_EQ(rig.dialogue.LastResultText(), 0) << row.what;
    const std::size_t sent = rig.port.frames.size();
    row.takeOut(rig);
    if (row.byInfoTick)
      supervisor.TimerInfoTimer();
    else
      rig.link.TimerTxTimer();
    EXPECT_EQ(rig.dialogue.CurrentPhase(), ProgrammingDialogue::Phase::Idle) << row.what;
    EXPECT_EQ(rig.dialogue.LastResultText(), 910) << row.what;
    EXPECT_EQ(rig.dialogs.messages, (std::vector<std::string>{UiText(910)})) << row.what;
    EXPECT_TRUE(rig.window.mainEnabled) << row.what;
    EXPECT_EQ(rig.window.closes, 1) << row.what;
    EXPECT_EQ(rig.port.frames.size(), sent) << row.what;  // no poll went to the loader
    EXPECT_EQ(rig.link.Vars().failedReconnects, 0) << row.what;
    // The link is restarted: by the information tick that ended the run, or by the next one.
    if (rig.link.Vars().reconnectPending) supervisor.TimerInfoTimer();
    EXPECT_TRUE(rig.host.txEnabled) << row.what;
    EXPECT_EQ(rig.link.Vars().linkState, link_state::kChoose) << row.what;
    EXPECT_TRUE(rig.link.Vars().readPending) << row.what;
  }
}

TEST(ProgrammingRun, LoaderFallingSilentMidRunEndsWithNoLink) {
  const Bytes image = DialoguePattern(16384);
  sim::SimControllerOptions o;
  o.loader = true;
  o.silentAfterBlocks = 100;
  SimRig rig(o);
  rig.dialogue.Start(image);
  rig.Exchange();
  EXPECT_EQ(rig.port.frames.size(), 102u);
  EXPECT_EQ(rig.window.progress, 99);
  for (int i = 0; i < 3; ++i) rig.link.TimerTxTimer();
  EXPECT_EQ(rig.dialogue.LastResultText(), 909);
  EXPECT_EQ(rig.sim.LastLoaderResult(), sim::LoaderResult::Running);
}

}  // namespace
