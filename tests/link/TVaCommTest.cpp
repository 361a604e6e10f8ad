#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "link/TVaComm.h"
#include "support/MainQueue.h"
#include "support/PortHolder.h"
#include "support/ProcessUsage.h"
#include "support/TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// How long a test waits for something that must happen before declaring it missing.
constexpr auto kPatience = std::chrono::seconds(10);

// Waits (bounded) until condition holds, for conditions that other threads bring about.
bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EVaCommError& e) {
    return e.what();
  }
  return "(no error)";
}

// A pseudo-terminal whose slave is linked as <dir>/tty0, so that port 1 with the pattern
// "<dir>/tty%d" is its slave; the test plays the controller on the master side.
class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
      throw std::runtime_error("no pseudo-terminal");
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    char slave[128];
    if (::ptsname_r(master_, slave, sizeof slave) != 0) throw std::runtime_error("ptsname");
    slavePath_ = slave;
    link_ = dir_.Path() + "/tty0";
    if (::symlink(slave, link_.c_str()) != 0) throw std::runtime_error("symlink");
  }
  ~Pty() { CloseMaster(); }

  std::string Pattern() const { return dir_.Path() + "/tty%d"; }
  const std::string& Link() const { return link_; }
  const std::string& SlavePath() const { return slavePath_; }
  int Master() const { return master_; }

  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  void Write(const Bytes& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  // Reads from the master until count bytes came or the patience ran out.
  Bytes Read(std::size_t count) {
    Bytes got;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      std::uint8_t chunk[4096];
      const ssize_t n = ::read(master_, chunk, std::min(sizeof chunk, count - got.size()));
      if (n > 0) got.insert(got.end(), chunk, chunk + n);
    }
    return got;
  }

 private:
  TempFolder dir_;
  int master_ = -1;
  std::string slavePath_;
  std::string link_;
};

Bytes Sequence(std::size_t count, std::uint8_t first = 0) {
  Bytes bytes(count);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

// ---------------------------------------------------------------------------------------
// Port number to device.

TEST(TVaCommDeviceName, InsertsPortIndexIntoPattern) {
  struct Row {
    const char* pattern;
    long long index;
    const char* expected;
  };
  const Row rows[] = {
      {"/dev/ttyS%d", 0, "/dev/ttyS0"},           {"/dev/ttyUSB%d", 3, "/dev/ttyUSB3"},
      {"/tmp/run42/tty%d", 1, "/tmp/run42/tty1"}, {"%d", 12, "12"},
      {"/tmp/100%%/tty%d", 2, "/tmp/100%/tty2"},  {"/dev/port%d.x", -1, "/dev/port-1.x"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TVaComm::FormatDeviceName(row.pattern, row.index), std::optional<std::string>(row.expected))
        << row.pattern;
  }
}

TEST(TVaCommDeviceName, RefusesAnythingButOneDecimalConversion) {
  const char* const rows[] = {
      "",    "/dev/ttyS0", "/dev/ttyS%d%d", "/dev/tty%s", "/dev/%s%d", "/dev/%n%d",  "%5d",
      "%ld", "/dev/ttyS%", "/dev/ttyS%d%",  "%x/tty%d",   "%%d",       "/dev/%d/%i",
  };
  for (const char* pattern : rows) {
    EXPECT_EQ(TVaComm::FormatDeviceName(pattern, 0), std::nullopt) << pattern;
  }
  EXPECT_EQ(TVaComm::FormatDeviceName(std::string_view("/dev/tty\0%d", 11), 0), std::nullopt);
}

TEST(TVaCommDeviceName, EnvironmentReplacesDefaultButNotExplicitPattern) {
  const char* saved = std::getenv(TVaComm::kDevicePatternVariable);
  const std::optional<std::string> restore = saved ? std::optional<std::string>(saved) : std::nullopt;

  MainQueue main;
  TVaComm comm(main.Dispatcher());
  comm.SetDeviceRoot("/nonexistent-dev");  // no devices present: the built-in port names
  ::unsetenv(TVaComm::kDevicePatternVariable);
  EXPECT_EQ(comm.DeviceName(), "/dev/ttyS0");
  comm.SetPortNum(4);
  EXPECT_EQ(comm.DeviceName(), "/dev/ttyS3");

  ::setenv(TVaComm::kDevicePatternVariable, "/dev/ttyUSB%d", 1);
  EXPECT_EQ(comm.DeviceName(), "/dev/ttyUSB3");

  TVaComm explicitComm(main.Dispatcher(), "/tmp/run42/tty%d");
  EXPECT_EQ(explicitComm.DeviceName(), "/tmp/run42/tty0");

  ::setenv(TVaComm::kDevicePatternVariable, "/dev/tty%s", 1);
  EXPECT_EQ(comm.DeviceName(), "");
  EXPECT_EQ(ErrorOf([&] { comm.Open(); }),
            "Unable to open specified device /dev/tty%s (22), Invalid argument");
  EXPECT_FALSE(comm.Active());

  if (restore)
    ::setenv(TVaComm::kDevicePatternVariable, restore->c_str(), 1);
  else
    ::unsetenv(TVaComm::kDevicePatternVariable);
}

// ---------------------------------------------------------------------------------------
// Closed port and open failures.

TEST(TVaCommClosed, OperationsDoNothingAndReturnZero) {
  MainQueue main;
  TVaComm comm(main.Dispatcher(), "/nonexistent/tty%d");
  std::uint8_t buf[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(comm.Active());
  EXPECT_EQ(comm.PortNum(), 1);
  EXPECT_EQ(comm.ReadBufUsed(), 0);
  EXPECT_EQ(comm.ReadBuf(buf, 8), 0);
  EXPECT_EQ(comm.WriteBuf(buf, 8), 0);
  EXPECT_NO_THROW(comm.Close());
  comm.SetPortNum(3);
  EXPECT_EQ(comm.PortNum(), 3);
  EXPECT_EQ(main.Pending(), 0u);
}

TEST(TVaCommOpen, MissingDeviceReportsPathErrorCodeAndText) {
  TempFolder dir;
  MainQueue main;
  TVaComm comm(main.Dispatcher(), dir.Path() + "/absent%d");
  comm.SetPortNum(3);
  EXPECT_EQ(ErrorOf([&] { comm.Open(); }),
            "Unable to open specified device " + dir.Path() + "/absent2 (2), No such file or directory");
  EXPECT_FALSE(comm.Active());
}

TEST(TVaCommOpen, DeviceThatIsNoTerminalFailsLineSettingsAndIsReleased) {
  TempFolder dir;
  const std::string file = dir.Path() + "/file0";
  const int fd = ::open(file.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  ::close(fd);

  MainQueue main;
  TVaComm comm(main.Dispatcher(), dir.Path() + "/file%d");
  const std::string expected = "Error writing dcb (25), Inappropriate ioctl for device";
  EXPECT_EQ(ErrorOf([&] { comm.Open(); }), expected);
  EXPECT_FALSE(comm.Active());
  // Still holding the file would make this one "busy".
  TVaComm other(main.Dispatcher(), dir.Path() + "/file%d");
  EXPECT_EQ(ErrorOf([&] { other.Open(); }), expected);
}

// ---------------------------------------------------------------------------------------
// Against a pseudo-terminal.

class TVaCommPty : public ::testing::Test {
 protected:
  std::unique_ptr<TVaComm> MakeComm(int writeSize = TVaComm::kDefaultWriteSize,
                                    std::chrono::milliseconds writeTimeout = TVaComm::kDefaultWriteTimeout) {
    auto comm = std::make_unique<TVaComm>(main_.Dispatcher(), pty_.Pattern(), writeSize, writeTimeout);
    comm->OnRxChar = [this](int count) { counts_.push_back(count); };
    return comm;
  }

  // Runs posted callables until done() holds; false if it did not come to hold in time.
  bool PumpUntil(const std::function<bool()>& done) {
    return main_.RunUntil(MainQueue::Clock::now() + kPatience, done);
  }

  MainQueue main_;
  Pty pty_;
  std::vector<int> counts_;
};

TEST_F(TVaCommPty, OpenTwiceAndChangesWhileOpenAreRefused) {
  auto comm = MakeComm();
  comm->Open();
  ASSERT_TRUE(comm->Active());
  const std::string refusal = "Can't perform this operation while port is open";
  EXPECT_EQ(ErrorOf([&] { comm->Open(); }), refusal);
  EXPECT_EQ(ErrorOf([&] { comm->SetPortNum(2); }), refusal);
  EXPECT_EQ(ErrorOf([&] { comm->SetDevicePattern("/dev/ttyUSB%d"); }), refusal);
  EXPECT_EQ(comm->PortNum(), 1);
  EXPECT_EQ(comm->DevicePattern(), pty_.Pattern());
  EXPECT_TRUE(comm->Active());

  comm->Close();
  EXPECT_FALSE(comm->Active());
  EXPECT_NO_THROW(comm->Close());
  comm->SetPortNum(2);
  EXPECT_EQ(comm->PortNum(), 2);
}

TEST_F(TVaCommPty, SecondOpenerOfTheSameDeviceIsRefusedUntilTheFirstCloses) {
  auto first = MakeComm();
  auto second = MakeComm();
  first->Open();
  EXPECT_EQ(ErrorOf([&] { second->Open(); }),
            "Unable to open specified device " + pty_.Link() + " (16), Device or resource busy");
  EXPECT_FALSE(second->Active());
  first->Close();
  EXPECT_NO_THROW(second->Open());
  EXPECT_TRUE(second->Active());
}

TEST_F(TVaCommPty, DeviceHeldByAnotherProcessIsRefused) {
  PortHolder other(pty_.Pattern());
  ASSERT_TRUE(other.Opened(kPatience));

  auto comm = MakeComm();
  EXPECT_EQ(ErrorOf([&] { comm->Open(); }),
            "Unable to open specified device " + pty_.Link() + " (16), Device or resource busy");

  EXPECT_TRUE(other.Release());
  EXPECT_NO_THROW(comm->Open());
}

TEST_F(TVaCommPty, LineIsRaw4800EightDataBitsNoParityOneStopBitNoFlowControl) {
  auto comm = MakeComm();
  comm->Open();
  termios line{};
  // Terminal settings asked through the master are the slave's.
  ASSERT_EQ(::tcgetattr(pty_.Master(), &line), 0);
  EXPECT_EQ(::cfgetispeed(&line), static_cast<speed_t>(B4800));
  EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B4800));
  EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
  EXPECT_EQ(line.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK), 0u);
  EXPECT_EQ(line.c_oflag & OPOST, 0u);
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  EXPECT_EQ(line.c_cc[VMIN], 0);
  EXPECT_EQ(line.c_cc[VTIME], 0);
}

TEST_F(TVaCommPty, BurstArrivesAsOneEventCoveringAllBytes) {
  auto comm = MakeComm();
  Bytes received;
  comm->OnRxChar = [&](int count) {
    counts_.push_back(count);
    Bytes buf(64);
    const int n = comm->ReadBuf(buf.data(), static_cast<int>(buf.size()));
    received.insert(received.end(), buf.begin(), buf.begin() + n);
  };
  comm->Open();
  const Bytes reply = {0x33, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0};
  pty_.Write(reply);
  ASSERT_TRUE(Eventually([&] { return comm->ReadBufUsed() == static_cast<int>(reply.size()); }));
  ASSERT_TRUE(PumpUntil([&] { return !counts_.empty(); }));
  main_.PumpAll();
  EXPECT_EQ(counts_, std::vector<int>{static_cast<int>(reply.size())});
  EXPECT_EQ(received, reply);
  EXPECT_EQ(comm->ReadBufUsed(), 0);
}

TEST_F(TVaCommPty, BytesArrivingDuringTheHandlerAreReportedByTheNextEvent) {
  auto comm = MakeComm();
  comm->OnRxChar = [&](int count) {
    counts_.push_back(count);
    if (counts_.size() == 1) {
      // The handler leaves the first part unread, as the link does with an incomplete
      // reply, and more arrives while it runs; this event keeps counting what it reported.
      pty_.Write({4, 5, 6});
      EXPECT_EQ(comm->ReadBufUsed(), 3);
    }
  };
  comm->Open();
  pty_.Write({1, 2, 3});
  ASSERT_TRUE(Eventually([&] { return comm->ReadBufUsed() == 3; }));
  ASSERT_TRUE(PumpUntil([&] { return counts_.size() >= 2; }));
  EXPECT_EQ(counts_, (std::vector<int>{3, 6}));

  // The next arrival is reported together with the unread bytes.
  pty_.Write({7});
  ASSERT_TRUE(PumpUntil([&] { return counts_.size() >= 3; }));
  EXPECT_EQ(counts_, (std::vector<int>{3, 6, 7}));
  std::uint8_t buf[16];
  ASSERT_EQ(comm->ReadBuf(buf, sizeof buf), 7);
  EXPECT_EQ(Bytes(buf, buf + 7), Sequence(7, 1));
}

TEST_F(TVaCommPty, UnreadBytesAloneRaiseNoFurtherEvents) {
  auto comm = MakeComm();  // the handler reads nothing, as with an incomplete reply
  comm->Open();
  pty_.Write({1, 2, 3});
  ASSERT_TRUE(PumpUntil([&] { return !counts_.empty(); }));
  // Robustness check: while nothing new arrives, the event thread must not keep handing
  // the same waiting bytes to the main thread.
  // Nor wake up to look again: unread bytes wait in the component's queue, and the device
  // only reports newly arriving ones.
  const double cpuBefore = ProcessCpuSeconds();
  const long switchesBefore = VoluntaryContextSwitches();
  main_.RunFor(std::chrono::milliseconds(300));
  EXPECT_EQ(counts_, std::vector<int>{3});
  EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.05);
  EXPECT_LT(VoluntaryContextSwitches() - switchesBefore, 20);
  EXPECT_EQ(comm->ReadBufUsed(), 3);
}

TEST_F(TVaCommPty, ReceiveQueueHoldsAtMost4096BytesAndRefillsAsTheyAreRead) {
  auto comm = MakeComm();  // the handler reads nothing
  comm->Open();
  Bytes sent(6000);
  for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  pty_.Write(sent);
  ASSERT_TRUE(PumpUntil([&] { return comm->ReadBufUsed() == 4096; }));
  // Full: the rest stays in the device until room is made, and no event counts more.
  main_.RunFor(std::chrono::milliseconds(100));
  EXPECT_EQ(comm->ReadBufUsed(), 4096);
  ASSERT_FALSE(counts_.empty());
  EXPECT_EQ(counts_.back(), 4096);

  Bytes got(6000);
  ASSERT_EQ(comm->ReadBuf(got.data(), 1000), 1000);
  // The room made lets the event thread take more, until the queue is full again; each
  // refill is reported by a new event.
  const auto reportedAfter = [&](std::size_t before, int count) {
    return PumpUntil([&] { return counts_.size() > before && counts_.back() == count; });
  };
  ASSERT_TRUE(reportedAfter(counts_.size(), 4096));
  EXPECT_EQ(comm->ReadBufUsed(), 4096);

  ASSERT_EQ(comm->ReadBuf(got.data() + 1000, 6000), 4096);
  ASSERT_TRUE(reportedAfter(counts_.size(), 904));
  ASSERT_EQ(comm->ReadBuf(got.data() + 5096, 6000), 904);
  EXPECT_EQ(got, sent);
  EXPECT_EQ(comm->ReadBufUsed(), 0);
}

TEST_F(TVaCommPty, BytesReceivedBeforeTheDeviceVanishedStayReadable) {
  auto comm = MakeComm();
  comm->Open();
  pty_.Write({0x33, 1, 2});
  ASSERT_TRUE(PumpUntil([&] { return !counts_.empty(); }));
  pty_.CloseMaster();
  ASSERT_TRUE(Eventually([&] { return comm->DeviceLost(); }));
  main_.PumpAll();
  EXPECT_EQ(counts_, std::vector<int>{3});
  EXPECT_EQ(comm->ReadBufUsed(), 3);
  std::uint8_t buf[8];
  ASSERT_EQ(comm->ReadBuf(buf, 8), 3);
  EXPECT_EQ(Bytes(buf, buf + 3), (Bytes{0x33, 1, 2}));

  comm->Close();
  EXPECT_EQ(comm->ReadBufUsed(), 0);
}

TEST_F(TVaCommPty, UnreadBytesAreDroppedByCloseAndReopen) {
  auto comm = MakeComm();
  comm->Open();
  pty_.Write({9, 8, 7});
  ASSERT_TRUE(PumpUntil([&] { return comm->ReadBufUsed() == 3; }));
  comm->Close();
  EXPECT_EQ(comm->ReadBufUsed(), 0);
  comm->Open();
  EXPECT_EQ(comm->ReadBufUsed(), 0);
  pty_.Write({1});
  ASSERT_TRUE(PumpUntil([&] { return comm->ReadBufUsed() == 1; }));
  std::uint8_t buf[4];
  ASSERT_EQ(comm->ReadBuf(buf, 4), 1);
  EXPECT_EQ(buf[0], 1);
}

TEST_F(TVaCommPty, ReadBufTakesAtMostTheCountAsked) {
  auto comm = MakeComm();
  comm->Open();
  pty_.Write(Sequence(10));
  ASSERT_TRUE(Eventually([&] { return comm->ReadBufUsed() == 10; }));
  std::uint8_t buf[10] = {};
  EXPECT_EQ(comm->ReadBuf(buf, 4), 4);
  EXPECT_EQ(comm->ReadBufUsed(), 6);
  EXPECT_EQ(comm->ReadBuf(nullptr, 4), 0);
  EXPECT_EQ(comm->ReadBuf(buf, 0), 0);
  EXPECT_EQ(comm->ReadBuf(buf + 4, 10), 6);
  EXPECT_EQ(Bytes(buf, buf + 10), Sequence(10));
  EXPECT_EQ(comm->ReadBuf(buf, 10), 0);  // nothing waiting: no wait either
}

TEST_F(TVaCommPty, EveryByteValuePassesUntouchedBothWays) {
  auto comm = MakeComm();
  comm->Open();
  const Bytes all = Sequence(256);  // includes XON, XOFF, CR, LF, ^C, ^D, ^Z, DEL

  ASSERT_EQ(comm->WriteBuf(all.data(), static_cast<int>(all.size())), 256);
  EXPECT_EQ(pty_.Read(256), all);

  pty_.Write(all);
  ASSERT_TRUE(Eventually([&] { return comm->ReadBufUsed() == 256; }));
  Bytes got(300);
  ASSERT_EQ(comm->ReadBuf(got.data(), 300), 256);
  got.resize(256);
  EXPECT_EQ(got, all);
}

TEST_F(TVaCommPty, FramesWrittenArriveIntactAndInOrder) {
  auto comm = MakeComm();
  comm->Open();
  const Bytes write = {0xAA, 0x05, 0x07, 0xB6};
  const Bytes poll = {0x33, 0x33};
  EXPECT_EQ(comm->WriteBuf(write.data(), 4), 4);
  EXPECT_EQ(comm->WriteBuf(poll.data(), 2), 2);
  EXPECT_EQ(comm->WriteBuf(poll.data(), 0), 0);
  EXPECT_EQ(pty_.Read(6), (Bytes{0xAA, 0x05, 0x07, 0xB6, 0x33, 0x33}));
}

// The test holds the slave open as well, so that it can stop the line's output and the
// writer thread cannot drain the transmit buffer.
class TVaCommStoppedLine : public TVaCommPty {
 protected:
  void SetUp() override {
    slave_ = ::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(slave_, 0);
  }
  void TearDown() override { ::close(slave_); }
  void StopOutput() { ASSERT_EQ(::tcflow(slave_, TCOOFF), 0); }
  void ResumeOutput() { ASSERT_EQ(::tcflow(slave_, TCOON), 0); }

  int slave_ = -1;
};

TEST_F(TVaCommStoppedLine, TransmitBufferTakesExactlyItsCapacityAndThenRefuses) {
  auto comm = MakeComm(TVaComm::kDefaultWriteSize, std::chrono::milliseconds(20));
  comm->Open();
  StopOutput();
  const Bytes frame = Sequence(TVaComm::kDefaultWriteSize, 7);
  EXPECT_EQ(comm->WriteBuf(frame.data(), TVaComm::kDefaultWriteSize - 100), TVaComm::kDefaultWriteSize - 100);
  EXPECT_EQ(comm->WriteBuf(frame.data() + TVaComm::kDefaultWriteSize - 100, 100), 100);
  const std::uint8_t one = 0x55;
  EXPECT_EQ(ErrorOf([&] { comm->WriteBuf(&one, 1); }), "Output buffer is full. Please check comm status.");

  ResumeOutput();
  EXPECT_EQ(pty_.Read(frame.size()), frame);
}

TEST_F(TVaCommStoppedLine, FullBufferTakesTheWriteOnceTheLineDrains) {
  auto comm = MakeComm(16, std::chrono::seconds(30));
  comm->Open();
  StopOutput();
  const Bytes first = Sequence(16, 100);
  ASSERT_EQ(comm->WriteBuf(first.data(), 16), 16);
  std::thread resume([this] { ResumeOutput(); });
  const Bytes second = {0xEE, 0xEF};
  EXPECT_EQ(comm->WriteBuf(second.data(), 2), 2);
  resume.join();
  Bytes expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(pty_.Read(expected.size()), expected);
}

TEST_F(TVaCommStoppedLine, WriteLargerThanTheBufferIsRefusedWithoutWaiting) {
  // A wait would take the whole minute before the error.
  auto comm = MakeComm(16, std::chrono::minutes(1));
  comm->Open();
  StopOutput();
  const Bytes frame = Sequence(17);
  EXPECT_EQ(ErrorOf([&] { comm->WriteBuf(frame.data(), 17); }),
            "Output buffer is full. Please check comm status.");
  EXPECT_EQ(comm->WriteBuf(frame.data(), 16), 16);
}

TEST_F(TVaCommPty, VanishedDeviceLeavesAQuietOpenPortThatStillCloses) {
  auto comm = MakeComm(TVaComm::kDefaultWriteSize, std::chrono::seconds(30));
  comm->OnRxChar = [&](int count) {
    counts_.push_back(count);
    std::uint8_t buf[64];
    comm->ReadBuf(buf, sizeof buf);
  };
  comm->Open();
  pty_.Write({0x33, 1, 2, 3});
  ASSERT_TRUE(PumpUntil([&] { return !counts_.empty(); }));
  const Bytes poll = {0x33, 0x33};
  comm->WriteBuf(poll.data(), 2);

  pty_.CloseMaster();
  ASSERT_TRUE(Eventually([&] { return comm->DeviceLost(); }));
  main_.PumpAll();
  EXPECT_EQ(comm->ReadBufUsed(), 0);
  std::uint8_t buf[8];
  EXPECT_EQ(comm->ReadBuf(buf, 8), 0);

  // Writes keep being taken and dropped: more than the buffer holds goes in without the
  // 30-second wait for room.
  const Bytes block = Sequence(1500);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(comm->WriteBuf(block.data(), 1500), 1500);

  // Neither thread spins on the dead device.
  const double cpuBefore = ProcessCpuSeconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.05);
  main_.PumpAll();
  EXPECT_EQ(counts_.size(), 1u);
  EXPECT_TRUE(comm->Active());

  comm->Close();
  EXPECT_FALSE(comm->Active());
  EXPECT_FALSE(comm->DeviceLost());
}

TEST_F(TVaCommPty, CloseWithAnEventPostedReturnsAndTheStaleEventDoesNothing) {
  auto comm = MakeComm();
  comm->Open();
  pty_.Write({1, 2, 3});
  ASSERT_TRUE(main_.WaitForPosted(kPatience));
  comm->Close();  // must not wait for the posted event
  EXPECT_FALSE(comm->Active());
  main_.PumpAll();
  EXPECT_TRUE(counts_.empty());
}

TEST_F(TVaCommPty, EventPostedBeforeAReopenDoesNothingAfterIt) {
  auto comm = MakeComm();
  comm->Open();
  pty_.Write({1, 2, 3});
  ASSERT_TRUE(main_.WaitForPosted(kPatience));
  comm->Close();
  comm->Open();
  main_.PumpAll();  // the old session's event
  EXPECT_TRUE(counts_.empty());

  pty_.Write({4, 5});
  ASSERT_TRUE(PumpUntil([&] { return !counts_.empty(); }));
  EXPECT_EQ(counts_, std::vector<int>{2});
}

TEST_F(TVaCommPty, DestroyingWithAnEventPostedIsSafe) {
  auto comm = MakeComm();
  comm->Open();
  pty_.Write({1, 2, 3});
  ASSERT_TRUE(main_.WaitForPosted(kPatience));
  comm.reset();
  main_.PumpAll();
  EXPECT_TRUE(counts_.empty());
}

TEST_F(TVaCommPty, HandlerMayCloseOrDestroyTheComponent) {
  auto comm = MakeComm();
  comm->OnRxChar = [&](int count) {
    counts_.push_back(count);
    comm->Close();
  };
  comm->Open();
  pty_.Write({1});
  ASSERT_TRUE(PumpUntil([&] { return !counts_.empty(); }));
  EXPECT_FALSE(comm->Active());

  comm->OnRxChar = [&](int count) {
    counts_.push_back(count);
    comm.reset();
  };
  comm->Open();
  pty_.Write({2, 3});
  ASSERT_TRUE(PumpUntil([&] { return counts_.size() == 2; }));
  EXPECT_EQ(comm, nullptr);
  EXPECT_EQ(counts_, (std::vector<int>{1, 2}));
}

}  // namespace
