#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "base/FailureText.h"
#include "base/UiText.h"
#include "link/WireTrace.h"
#include "support/FakeSerialPort.h"
#include "support/TempFolder.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The lines without their time stamps, which must all be "YYYY-MM-DD HH:MM:SS.mmm ".
std::vector<std::string> Events(const std::string& text) {
  static const std::regex stamp(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )");
  std::vector<std::string> events;
  for (const std::string& line : Lines(text)) {
    EXPECT_TRUE(std::regex_search(line, stamp)) << line;
    events.push_back(line.size() > 24 ? line.substr(24) : line);
  }
  return events;
}

struct TracedRig {
  TempFolder folder{"orv-trace"};
  std::string path = folder / "wire.txt";
  FakeSerialPort* fake = nullptr;
  std::unique_ptr<TracedSerialPort> port;
  std::vector<int> events;

  TracedRig() {
    auto inner = std::make_unique<FakeSerialPort>();
    fake = inner.get();
    port = std::make_unique<TracedSerialPort>(std::move(inner), std::make_shared<WireTrace>(path));
    port->OnRxChar = [this](int n) { events.push_back(n); };
  }
};

TEST(WireTrace, framesBytesAndChangesAreWrittenAsTheyHappen) {
  TracedRig rig;
  rig.fake->failOpen = true;
  EXPECT_THROW(rig.port->Open(), EVaCommError);
  rig.fake->failOpen = false;
  rig.port->Open();
  const std::uint8_t request[] = {0x55, 0x00, 0x55};
  EXPECT_EQ(rig.port->WriteBuf(request, 3), 3);
  rig.fake->Feed({0x55, 0x00, 0x64});
  EXPECT_EQ(rig.events, std::vector<int>{3});  // the event reaches the port's own handler
  std::uint8_t got[8];
  EXPECT_EQ(rig.port->ReadBufUsed(), 3);
  EXPECT_EQ(rig.port->ReadBuf(got, 2), 2);
  // Flushed line by line: the file holds everything so far while the trace is still open.
  EXPECT_EQ(Events(Slurp(rig.path)).back(), "RX 55 00");
  rig.fake->Feed({0xB9, 0x0A});
  rig.port->Close();                             // what was never taken is still traced
  EXPECT_EQ(rig.port->WriteBuf(request, 3), 0);  // closed: nothing goes out, nothing traced

  const std::vector<std::string> expected = {
      "-- trace started", "-- COM1 open failed: Unable to open specified device COM1",
      "-- COM1 opened",   "TX 55 00 55",
      "RX 55 00",         "RX 64 B9 0A",
      "-- COM1 closed",
  };
  EXPECT_EQ(Events(Slurp(rig.path)), expected);
}

TEST(WireTrace, notesKeepOneLineEachAndTheTraceEndsWithAMark) {
  TempFolder folder{"orv-trace"};
  const std::string path = folder / "wire.txt";
  {
    WireTrace trace(path);
    trace.Note("Порт COM1 -\r\nнет ответа");
    trace.Sent(nullptr, 0);
  }
  EXPECT_EQ(Events(Slurp(path)),
            (std::vector<std::string>{"-- trace started", "-- Порт COM1 -  нет ответа", "-- trace ended"}));
  EXPECT_THROW(WireTrace(folder / "missing/wire.txt"), std::runtime_error);
  // The window shows why in the table's language: 702, the file and the reason.
  try {
    WireTrace trace(folder / "missing/wire.txt");
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(e.what(), UiTextAndName(702, folder / "missing/wire.txt") + ": " + FailureReason(ENOENT));
  }
}

TEST(WireTrace, pathComesFromTheCommandLineElseFromTheEnvironment) {
  ::unsetenv(WireTrace::kTraceVariable);
  struct Case {
    std::vector<const char*> args;
    std::string path;
  };
  const Case cases[] = {
      {{"prog"}, ""},
      {{"prog", "--trace", "/tmp/a.txt"}, "/tmp/a.txt"},
      {{"prog", "--trace=/tmp/b.txt"}, "/tmp/b.txt"},
      {{"prog", "--trace"}, ""},  // no file named
      {{"prog", "--tracex", "/tmp/c"}, ""},
      {{"prog", "-style", "fusion", "--trace", "x y"}, "x y"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WireTrace::PathFromArguments(static_cast<int>(c.args.size()), c.args.data()), c.path) << c.path;
  ::setenv(WireTrace::kTraceVariable, "/tmp/env.txt", 1);
  const char* none[] = {"prog"};
  const char* given[] = {"prog", "--trace", "/tmp/arg.txt"};
  EXPECT_EQ(WireTrace::PathFromArguments(1, none), "/tmp/env.txt");
  EXPECT_EQ(WireTrace::PathFromArguments(3, given), "/tmp/arg.txt");
  ::unsetenv(WireTrace::kTraceVariable);
}

}  // namespace
