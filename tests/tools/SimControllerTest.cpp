#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "PtyLine.h"
#include "SimController.h"
#ifdef ORV_SIMULATOR_PATH
#include "support/SimulatorProcess.h"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::SimController;
using sim::SimControllerOptions;

Bytes Send(SimController& c, const Bytes& frame) { return c.Receive(frame.data(), frame.size()); }

std::uint8_t Checksum(const Bytes& b, std::size_t n) {
  unsigned s = 0;
  for (std::size_t i = 0; i < n; ++i) s += b[i];
  return static_cast<std::uint8_t>(s);
}

std::uint8_t ModeBits(std::uint8_t status) { return status & 0x1C; }

struct RequestCase {
  const char* name;
  Bytes frame;
  std::size_t replyLength;
};

TEST(SimController, AnswersEveryRequestWithItsReplyLengthCodeAndChecksum) {
  const RequestCase cases[] = {
      {"live data", {0x33, 0x33}, 16},
      {"parameter read 0", {0x55, 0x00, 0x55}, 4},
      {"parameter read 105", {0x55, 0x69, 0xBE}, 4},
      {"register read", {0x5A, 0x60, 0xBA, 0x00}, 4},
      {"configuration", {0xAC, 0xAC}, 15},
      {"map column 16", {0xC5, 0x10, 0xD5}, 23},
      {"map column 37", {0xC5, 0x25, 0xEA}, 23},
      {"SRAM block 5", {0xC5, 0x05, 0xCA}, 23},
      {"EEPROM block 31", {0x5C, 0x1F, 0x7B}, 20},
      {"PORT view", {0xCA, 0xCA}, 14},
      {"parameter write", {0xAA, 0x28, 0x12, 0xE4}, 2},
      {"map read", {0xA3, 0xA3}, 0},
      {"map write", {0xC3, 0xC3}, 0},
      {"map erase", {0x53, 0x53}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimController controller;
    const Bytes reply = Send(controller, c.frame);
    ASSERT_EQ(reply.size(), c.replyLength);
    if (reply.empty()) continue;
    EXPECT_EQ(reply[0], c.frame[0]);
    EXPECT_EQ(reply.back(), Checksum(reply, reply.size() - 1));
    if (c.frame[0] == 0xC5 || c.frame[0] == 0x5C || c.frame[0] == 0x55 || c.frame[0] == 0x5A) {
      EXPECT_EQ(reply[1 + (c.frame[0] == 0xC5 || c.frame[0] == 0x5C)], c.frame[1]) << "index echoed";
    }
  }
}

TEST(SimController, ParameterReadsWritesAndFactoryReset) {
  SimController c;
  EXPECT_EQ(Send(c, {0x55, 0x00, 0x55}), (Bytes{0x55, 0x00, 0x64, 0xB9}));
  EXPECT_EQ(Send(c, {0x55, 0x01, 0x56})[2], 145);
  const auto& m = c.ParameterMemory();
  EXPECT_EQ(m[62], 25);
  EXPECT_EQ(m[63], 60);
  EXPECT_TRUE(m[3 + 32 / 8] & 1) << "parameter 32 offered";
  EXPECT_FALSE(m[3 + 75 / 8] & (1 << (75 % 8))) << "parameter 75 not offered";

  EXPECT_EQ(Send(c, {0xAA, 0x28, 0x12, 0xE4}), (Bytes{0xAA, 0xAA}));
  EXPECT_EQ(c.ParameterMemory()[40], 0x12);
  EXPECT_EQ(Send(c, {0x55, 0x28, 0x7D})[2], 0x12);
  EXPECT_EQ(Send(c, {0xAA, 0x00, 0x00, 0xAA}), (Bytes{0xAA, 0xAA}));
  EXPECT_EQ(c.ParameterMemory(), c.FactoryMemory());
  EXPECT_EQ(c.Log().back(), "FACTORY RESET");
}

TEST(SimController, FramesSplitByteByByteOrJoinedGetTheSameReplies) {
  const Bytes stream = {0x55, 0x00, 0x55, 0x33, 0x33, 0xC5, 0x10, 0xD5, 0xAA, 0x28, 0x12, 0xE4,
                        0x5C, 0x1F, 0x7B, 0xCA, 0xCA, 0x35, 0x33, 0x68, 0x5A, 0x60, 0xBA, 0x77};
  SimController whole, split;
  const Bytes joined = Send(whole, stream);
  Bytes pieces;
  for (std::uint8_t b : stream) {
    const Bytes r = split.Receive(&b, 1);
    pieces.insert(pieces.end(), r.begin(), r.end());
  }
  EXPECT_EQ(joined.size(), 4u + 16 + 23 + 2 + 20 + 14 + 16 + 4);
  EXPECT_EQ(pieces, joined);
  EXPECT_EQ(whole.Log().front(), "RX 55 00 55");
}

TEST(SimController, BadChecksumsAndUnknownBytesGetNoReply) {
  const Bytes bad[] = {
      {0x33, 0x34},       {0x55, 0x00, 0x56}, {0xAA, 0x28, 0x12, 0xE5}, {0xC5, 0x10, 0xD6},
      {0x35, 0x33, 0x69}, {0x35, 0x55, 0x8A}, {0x3A, 0x75, 0x70, 0x20}, {0x00, 0x01, 0x7F, 0xFE},
      {0xC5, 0x26, 0xEB}};
  for (const auto& frame : bad) {
    SimController c;
    EXPECT_TRUE(Send(c, frame).empty()) << sim::HexBytes(frame.data(), frame.size());
    EXPECT_EQ(c.ParameterMemory(), c.FactoryMemory());
  }
}

TEST(SimController, SurvivesRandomGarbageAndResynchronises) {
  for (bool loader : {false, true}) {
    SimControllerOptions o;
    o.loader = loader;
    SimController c(o);
    if (loader) Send(c, {0x3A, 0x75, 0x70, 0x1F});  // the loader now also frames 20-byte blocks
    std::mt19937 rng(42);
    Bytes garbage(5000);
    for (auto& b : garbage) b = static_cast<std::uint8_t>(rng());
    for (std::size_t at = 0; at < garbage.size();) {
      const std::size_t n = std::min<std::size_t>(rng() % 40, garbage.size() - at);
      c.Receive(garbage.data() + at, n);
      at += n;
    }
    c.Receive(nullptr, 0);
    c.Advance(sim::kStaleInputMs);  // a partial frame left over is dropped
    const Bytes reply = Send(c, {0x55, 0x00, 0x55});
    ASSERT_EQ(reply.size(), loader ? 8u : 4u);
    EXPECT_EQ(reply[0], loader ? 0x3A : 0x55);
  }
}

TEST(SimController, PrefixedPollCyclesPetrolAutoGas) {
  SimController c;
  EXPECT_EQ(Send(c, {0x33, 0x33})[1] & 0xC0, 0xC0);
  EXPECT_EQ(ModeBits(Send(c, {0x33, 0x33})[1]), 16);
  EXPECT_EQ(ModeBits(Send(c, {0x35, 0x33, 0x68})[1]), 24) << "auto, waiting at idle";
  const Bytes config = Send(c, {0x35, 0xAC, 0xE1});
  ASSERT_EQ(config.size(), 15u);
  EXPECT_EQ(ModeBits(config[1]), 4);
  EXPECT_EQ(ModeBits(Send(c, {0x35, 0x33, 0x68})[1]), 16);
  EXPECT_EQ(ModeBits(Send(c, {0x33, 0x33})[1]), 16) << "a plain poll does not switch";
}

TEST(SimController, EngineDataChangeWithTime) {
  SimController c;
  Send(c, {0x35, 0x33, 0x68});
  Send(c, {0x35, 0x33, 0x68});  // on gas the stepper moves
  int rpmMin = 255, rpmMax = 0, lamMin = 255, lamMax = 0, motorMax = 0;
  const std::uint8_t temperatureAtStart = Send(c, {0x33, 0x33})[14];
  for (int i = 0; i < 300; ++i) {
    c.Advance(100);
    const Bytes r = Send(c, {0x33, 0x33});
    rpmMin = std::min<int>(rpmMin, r[3]);
    rpmMax = std::max<int>(rpmMax, r[3]);
    lamMin = std::min<int>(lamMin, r[4]);
    lamMax = std::max<int>(lamMax, r[4]);
    motorMax = std::max<int>(motorMax, r[10]);
  }
  EXPECT_GE(rpmMin, 8);
  EXPECT_LE(rpmMin, 9);
  EXPECT_GE(rpmMax, 25);
  EXPECT_LE(lamMin, 10);
  EXPECT_GE(lamMax, 40);
  EXPECT_GT(motorMax, c.ParameterMemory()[64]);
  EXPECT_LT(Send(c, {0x33, 0x33})[14], temperatureAtStart) << "the engine warms up";
}

// On the driven clock the engine moves with the polls answered, not with Advance(): the same
// polls meet the same engine at any pace of the line, slow or starved.
TEST(SimController, DrivenClockGivesTheSameSamplesForTheSamePollsAtAnyPace) {
  std::vector<Bytes> first;
  for (const int pace : {0, 100, 3000}) {  // line time before each poll
    SimControllerOptions options;
    options.drivenClock = true;
    SimController c(options);
    c.EngineCommand("rpm 3000");
    std::vector<Bytes> samples;
    for (int i = 0; i < 90; c.Advance(pace + i++ % 7))
      samples.push_back(Send(c, i % 2 ? Bytes{0x33, 0x33} : Bytes{0xCA, 0xCA}));
    EXPECT_EQ(samples.back()[3], 30) << "3000 rpm after 9 s of engine time";
    if (first.empty()) first = samples;
    EXPECT_EQ(samples, first) << pace;
  }
}

TEST(SimController, MapEraseReadAndSramShareTheColumnCode) {
  SimController c;
  const Bytes before = Send(c, {0xC5, 0x10, 0xD5});
  Send(c, {0x53, 0x53});
  const Bytes erased = Send(c, {0xC5, 0x10, 0xD5});
  for (int i = 3; i <= 18; ++i) EXPECT_EQ(erased[i], 0xFF);
  Send(c, {0xA3, 0xA3});
  EXPECT_TRUE(std::equal(before.begin() + 3, before.begin() + 19, Send(c, {0xC5, 0x10, 0xD5}).begin() + 3));
  // SRAM block 6 holds the program variables from 0x60 on; the register read sees the same.
  const Bytes block = Send(c, {0xC5, 0x06, 0xCB});
  EXPECT_EQ(block[3], Send(c, {0x5A, 0x60, 0xBA, 0x00})[2]);
  EXPECT_EQ(block[3], c.StatusByte());
}

TEST(SimController, TesterAnswersOnlyParameterReadsAndWrites) {
  SimControllerOptions o;
  o.tester = true;
  SimController c(o);
  EXPECT_EQ(Send(c, {0x55, 0x00, 0x55})[2], 0xCB);
  EXPECT_EQ(Send(c, {0xAA, 0x28, 0x12, 0xE4}), (Bytes{0xAA, 0xAA}));
  for (const Bytes& f :
       {Bytes{0x33, 0x33}, Bytes{0xAC, 0xAC}, Bytes{0xC5, 0x10, 0xD5}, Bytes{0x5C, 0x1F, 0x7B},
        Bytes{0xCA, 0xCA}, Bytes{0x35, 0x33, 0x68}, Bytes{0x3A, 0x75, 0x70, 0x1F}})
    EXPECT_TRUE(Send(c, f).empty()) << sim::HexBytes(f.data(), f.size());
}

TEST(SimController, SilentModeReceivesButNeverAnswers) {
  SimControllerOptions o;
  o.silent = true;
  SimController c(o);
  EXPECT_TRUE(Send(c, {0x33, 0x33}).empty());
  EXPECT_TRUE(Send(c, {0xAA, 0x28, 0x12, 0xE4}).empty());
  EXPECT_EQ(c.ParameterMemory()[40], c.FactoryMemory()[40]) << "a silent controller hears nothing";
  EXPECT_EQ(c.Log().back(), "RX AA 28 12 E4");
  c.SetSilent(false);
  EXPECT_EQ(Send(c, {0x33, 0x33}).size(), 16u);
}

TEST(SimController, GarbleReplacesReplyBytesButKeepsTheLength) {
  SimController clean;
  SimControllerOptions o;
  o.garbleRate = 1.0;
  SimController garbled(o);
  const Bytes a = Send(clean, {0x55, 0x00, 0x55});
  const Bytes b = Send(garbled, {0x55, 0x00, 0x55});
  ASSERT_EQ(b.size(), 4u);
  EXPECT_NE(a, b);
  garbled.SetGarbleRate(0.0);
  EXPECT_EQ(Send(garbled, {0x55, 0x00, 0x55}), a);
}

// ---- The loader, driven by a small program side written from the wire format. ----

struct ProgramSide {
  std::array<std::uint8_t, 16384> image{};
  std::size_t length = 0;
  std::uint8_t p = 0, key = 0;
  int e = 0, n = 0;

  Bytes Header(const Bytes& startAnswer, std::uint8_t seed) {
    const std::uint8_t a = startAnswer[1], b = startAnswer[2], d = startAnswer[5];
    p = startAnswer[4];
    e = p / 8;
    n = static_cast<int>(length / 16) + e;
    std::uint32_t s = 0;
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n - 1) * 16; ++i) {
      s += image[i];
      x ^= image[i];
    }
    Bytes h = {0x07,
               0,
               0,
               0,
               a,
               b,
               0,
               p,
               d,
               static_cast<std::uint8_t>(n >> 8),
               static_cast<std::uint8_t>(n),
               static_cast<std::uint8_t>(e),
               0,
               static_cast<std::uint8_t>(s >> 16),
               x,
               static_cast<std::uint8_t>(s),
               static_cast<std::uint8_t>(s >> 8),
               seed,
               0xFF,
               0};
    h[19] = Checksum(h, 19);
    key = sim::kKeyTable[seed % 32];
    return h;
  }

  Bytes Block(int g) const {
    std::array<std::uint8_t, 16> d{};
    for (int i = 0; i < 16; ++i) d[i] = image[static_cast<std::size_t>(16 * g + i)];
    std::swap(d[2], d[5]);
    std::swap(d[7], d[10]);
    std::uint8_t k = key;
    for (auto& v : d) {
      const std::uint8_t old = v;
      v ^= k;
      k = old;
    }
    std::swap(d[0], d[4]);
    std::swap(d[1], d[6]);
    Bytes f = {0x07, 0x01, static_cast<std::uint8_t>(g - p * e)};
    f.insert(f.end(), d.begin(), d.end());
    f.push_back(Checksum(f, 19));
    return f;
  }
};

// Runs a whole programming dialogue; returns the final loader status (or -1).
int RunProgramming(SimController& c, ProgramSide& prog, int corruptBlock = -1, bool byteByByte = false) {
  const Bytes start = Send(c, {0x3A, 0x75, 0x70, 0x1F});
  if (start.size() != 8 || start[0] != 0x3A) return -1;
  Bytes reply = Send(c, prog.Header(start, 77));
  for (int guard = 0; guard < 2000; ++guard) {
    if (reply.size() != 8 || reply[0] != 0x07 || reply[1] != 0x01 || reply[4] != prog.p) return -1;
    const int t = reply[2];
    if (t % 16 == 5) return t;
    if (t % 16 != 3) return -1;
    const int g = reply[5] << 8 | reply[6];
    Bytes block = prog.Block(g);
    if (g == corruptBlock) {
      block[18] ^= 0x10;  // the last data byte: the chain carries no change further
      block[19] = Checksum(block, 19);
    }
    if (byteByByte) {
      reply.clear();
      for (std::uint8_t b : block) {
        const Bytes r = c.Receive(&b, 1);
        reply.insert(reply.end(), r.begin(), r.end());
      }
    } else {
      reply = Send(c, block);
    }
  }
  return -1;
}

ProgramSide MakeImage(std::size_t length) {
  ProgramSide prog;
  std::mt19937 rng(7);
  prog.length = length;
  for (std::size_t i = 0; i < length; ++i) prog.image[i] = static_cast<std::uint8_t>(rng());
  return prog;
}

TEST(SimLoader, ReportsItselfToParameterReads) {
  SimControllerOptions o;
  o.loader = true;
  o.loaderReportByte6 = 2;
  SimController c(o);
  EXPECT_EQ(Send(c, {0x55, 0x00, 0x55}),
            (Bytes{0x3A, 0x64, 145, 0, 0, 0, 2, static_cast<std::uint8_t>(0x3A + 0x64 + 145 + 2)}));
}

TEST(SimLoader, FullRunStoresTheImageAndTheApplicationStartsAgain) {
  for (bool byteByByte : {false, true}) {
    ProgramSide prog = MakeImage(1000);
    SimControllerOptions o;
    o.loader = true;
    o.expectedImage.assign(prog.image.begin(), prog.image.begin() + 1000);
    SimController c(o);
    EXPECT_EQ(RunProgramming(c, prog, -1, byteByByte), 5);
    EXPECT_EQ(c.LastLoaderResult(), sim::LoaderResult::Success);
    EXPECT_EQ(c.LastImageCheck(), sim::ImageCheck::Match);
    ASSERT_EQ(c.ReceivedImage().size(), static_cast<std::size_t>(prog.n) * 16);
    EXPECT_TRUE(std::equal(c.ReceivedImage().begin(), c.ReceivedImage().end(), prog.image.begin()));
    EXPECT_FALSE(c.InLoader());
    EXPECT_EQ(Send(c, {0x33, 0x33}).size(), 16u);
  }
}

TEST(SimLoader, CorruptedBlockEndsInErrorAndTheLoaderStays) {
  ProgramSide prog = MakeImage(512);
  SimController c;  // the application hands over to the loader on the start frame
  EXPECT_EQ(RunProgramming(c, prog, 3), 5 | 0x20);
  EXPECT_EQ(c.LastLoaderResult(), sim::LoaderResult::Error);
  const Bytes report = Send(c, {0x55, 0x00, 0x55});
  ASSERT_EQ(report.size(), 8u);
  EXPECT_EQ(report[6], 1) << "last programming ended with an error";
}

TEST(SimLoader, ImageDifferentFromTheExpectedOneIsLogged) {
  ProgramSide prog = MakeImage(256);
  SimControllerOptions o;
  o.expectedImage.assign(prog.image.begin(), prog.image.begin() + 256);
  o.expectedImage[100] ^= 1;
  SimController c(o);
  EXPECT_EQ(RunProgramming(c, prog), 5);
  EXPECT_EQ(c.LastImageCheck(), sim::ImageCheck::Mismatch);
  EXPECT_EQ(c.Log()[c.Log().size() - 1], "IMAGE mismatch at byte 100");
}

TEST(SimLoader, HeaderWithWrongLoaderValuesIsRefused) {
  SimController c;
  ProgramSide prog = MakeImage(64);
  Bytes start = Send(c, {0x3A, 0x75, 0x70, 0x1F});
  start[2] ^= 1;  // B not passed back as the loader gave it
  const Bytes reply = Send(c, prog.Header(start, 1));
  ASSERT_EQ(reply.size(), 8u);
  EXPECT_EQ(reply[2], 0x25);
}

TEST(PortPattern, ExpandsTheSingleDeviceIndex) {
  EXPECT_EQ(sim::ExpandPortPattern("/tmp/run/tty%d", 1), "/tmp/run/tty1");
  EXPECT_EQ(sim::ExpandPortPattern("/tmp/100%%/S%d", 0), "/tmp/100%/S0");
  EXPECT_EQ(sim::ExpandPortPattern("/dev/ttyS", 0), std::nullopt);
  EXPECT_EQ(sim::ExpandPortPattern("/dev/%d/%d", 0), std::nullopt);
}

// ---- The program on a pseudo-terminal. ----

#ifdef ORV_SIMULATOR_PATH
TEST(SimProgram, AnswersALivePollOnTheLinkedDeviceAndQuits) {
  SimulatorProcess sim({"--port", "3"});
  ASSERT_TRUE(sim.Started()) << sim.StartError() << sim.ErrorOutput();
  const std::string link = sim.Folder() + "/tty2";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);

  Bytes reply;
  const int fd = open(link.c_str(), O_RDWR | O_NOCTTY);
  EXPECT_GE(fd, 0) << link;
  if (fd >= 0) {
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    const std::uint8_t poll[] = {0x33, 0x33};
    EXPECT_EQ(write(fd, poll, 2), 2);
    while (reply.size() < 16 && std::chrono::steady_clock::now() < deadline) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 100) > 0) {
        std::uint8_t buf[64];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0) reply.insert(reply.end(), buf, buf + n);
      }
    }
    close(fd);
  }
  const int status = sim.Quit();  // -1 unless "quit" ended it

  ASSERT_EQ(reply.size(), 16u);
  EXPECT_EQ(reply[0], 0x33);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_NE(access(link.c_str(), F_OK), 0) << "the link is removed at exit";
}
#endif

}  // namespace
