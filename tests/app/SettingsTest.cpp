#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/SettingsStore.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// Sets or unsets an environment variable for the lifetime of the guard.
class EnvGuard {
 public:
  EnvGuard(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    if (old != nullptr) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~EnvGuard() {
    if (old_) {
      ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

SettingsStore StoreFromText(const TempFolder& folder, const std::string& text) {
  Put(folder / "LPG2.reg", text);
  return SettingsStore::Open(folder / "LPG2.reg");
}

const std::string kHeader = "[Software\\ORV\\LPG2]\n";

// ---------------------------------------------------------------------------------------
// The store's file

TEST(SettingsStorePath, FollowsXdgConfigHomeElseHomeConfig) {
  struct Case {
    const char* xdg;
    const char* home;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"/x/cfg", "/home/u", "/x/cfg/ORV/LPG2.reg"},
      {"/x/cfg/", "/home/u", "/x/cfg/ORV/LPG2.reg"},
      {"", "/home/u", "/home/u/.config/ORV/LPG2.reg"},
      {nullptr, "/home/u", "/home/u/.config/ORV/LPG2.reg"},
      {"relative/cfg", "/home/u/", "/home/u/.config/ORV/LPG2.reg"},
  };
  for (const Case& c : cases) {
    EnvGuard xdg("XDG_CONFIG_HOME", c.xdg);
    EnvGuard home("HOME", c.home);
    EXPECT_EQ(SettingsStore::DefaultFilePath(), c.expected) << (c.xdg ? c.xdg : "(unset)");
  }
}

TEST(SettingsStorePath, CurrentUserStoreLivesUnderXdgConfigHome) {
  TempFolder folder;
  EnvGuard xdg("XDG_CONFIG_HOME", folder.Path().c_str());
  SettingsStore store = SettingsStore::OpenForCurrentUser();
  EXPECT_FALSE(store.KeyExists());
  EXPECT_EQ(store.FilePath(), folder / "ORV/LPG2.reg");
  store.WriteInteger("COMM", 3);
  std::string error;
  ASSERT_TRUE(store.Save(&error)) << error;
  EXPECT_EQ(Slurp(folder / "ORV/LPG2.reg"), kHeader + "\"COMM\"=dword:00000003\n");
  EXPECT_EQ(SettingsStore::OpenForCurrentUser().ReadInteger("COMM"), 3);
}

// ---------------------------------------------------------------------------------------
// Layout and parsing

TEST(SettingsStoreFile, WritesTheRegistryExportLayoutExactly) {
  TempFolder folder;
  SettingsStore store(folder / "ORV/LPG2.reg");
  store.WriteString("DirOpen", "C:\\Park\\\"new\"");
  store.WriteInteger("COMM", 10);
  store.WriteInteger("RamIndex", -1);
  store.WriteBool("List", true);
  store.WriteString("FileName", "");
  store.WriteInteger("ColorPSI", kColorBlue);
  ASSERT_TRUE(store.Save());
  EXPECT_EQ(Slurp(folder / "ORV/LPG2.reg"),
            "[Software\\ORV\\LPG2]\n"
            "\"DirOpen\"=\"C:\\\\Park\\\\\\\"new\\\"\"\n"
            "\"COMM\"=dword:0000000a\n"
            "\"RamIndex\"=dword:ffffffff\n"
            "\"List\"=dword:00000001\n"
            "\"FileName\"=\"\"\n"
            "\"ColorPSI\"=dword:00ff0000\n");
  EXPECT_EQ(store.ToText(), Slurp(folder / "ORV/LPG2.reg"));
}

TEST(SettingsStoreFile, TextSurvivesARoundTripWhateverItsBackslashesAndQuotes) {
  const std::vector<std::string> texts = {"",
                                          "\\",
                                          "\"",
                                          "\\\"",
                                          "\"\"",
                                          "a\\\\b",
                                          "end\\",
                                          "C:\\dir\\",
                                          "say \"hi\"",
                                          "tab\there",
                                          "/home/фитер",
                                          "=dword:1",
                                          "\"x\"=\"y\"",
                                          "[Software\\ORV\\LPG2]"};
  TempFolder folder;
  SettingsStore store(folder / "LPG2.reg");
  for (std::size_t i = 0; i < texts.size(); ++i) store.WriteString("T" + std::to_string(i), texts[i]);
  ASSERT_TRUE(store.Save());
  const SettingsStore back = SettingsStore::Open(folder / "LPG2.reg");
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(back.ReadString("T" + std::to_string(i)), texts[i]) << texts[i];
  }
}

TEST(SettingsStoreFile, IntegersSurviveARoundTripOverTheWholeRange) {
  const std::vector<std::int32_t> numbers = {
      0, 1, -1, 255, 16777215, INT32_MAX, INT32_MIN, static_cast<std::int32_t>(0x80000005)};
  TempFolder folder;
  SettingsStore store(folder / "LPG2.reg");
  for (std::size_t i = 0; i < numbers.size(); ++i) store.WriteInteger("N" + std::to_string(i), numbers[i]);
  ASSERT_TRUE(store.Save());
  const SettingsStore back = SettingsStore::Open(folder / "LPG2.reg");
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    EXPECT_EQ(back.ReadInteger("N" + std::to_string(i)), numbers[i]);
  }
}

// One line inside the key, and what it must read as.
struct LineCase {
  const char* why;
  std::string line;
  std::optional<std::string> text;     // expected text value of "V"
  std::optional<std::int32_t> number;  // expected integer value of "V"
};

TEST(SettingsStoreFile, AcceptsOnlyLinesOfTheExactValueForms) {
  const std::vector<LineCase> cases = {
      {"plain text", "\"V\"=\"abc\"", "abc", {}},
      {"escaped text", "\"V\"=\"a\\\\b\\\"c\"", "a\\b\"c", {}},
      {"crlf text", "\"V\"=\"abc\"\r", "abc", {}},
      {"trailing blanks", "\"V\"=\"abc\"  \t", "abc", {}},
      {"dword", "\"V\"=dword:0000002a", {}, 42},
      {"upper-case dword", "\"V\"=DWORD:0000002A", {}, 42},
      {"crlf dword", "\"V\"=dword:ffffffff\r", {}, -1},
      {"escaped name", "\"\\\"V\\\"\"=\"q\"", {}, {}},
      {"seven digits", "\"V\"=dword:0000002", {}, {}},
      {"nine digits", "\"V\"=dword:0000002a1", {}, {}},
      {"not hex", "\"V\"=dword:0000002g", {}, {}},
      {"signed", "\"V\"=dword:-0000001", {}, {}},
      {"unknown escape", "\"V\"=\"a\\nb\"", {}, {}},
      {"lone backslash at end", "\"V\"=\"ab\\", {}, {}},
      {"unterminated text", "\"V\"=\"abc", {}, {}},
      {"junk after text", "\"V\"=\"abc\"x", {}, {}},
      {"blank before equals", "\"V\" =\"abc\"", {}, {}},
      {"blank after equals", "\"V\"= \"abc\"", {}, {}},
      {"unquoted name", "V=\"abc\"", {}, {}},
      {"leading blank", " \"V\"=\"abc\"", {}, {}},
      {"hex value type", "\"V\"=hex:01,02", {}, {}},
      {"ini style", "V=abc", {}, {}},
      {"invalid utf-8",
       "\"V\"=\"a\xff"
       "b\"",
       {},
       {}},
      {"overlong utf-8",
       "\"V\"=\"a\xc0\x80"
       "b\"",
       {},
       {}},
      {"utf-16 surrogate",
       "\"V\"=\"a\xed\xa0\x80"
       "b\"",
       {},
       {}},
      {"truncated utf-8", "\"V\"=\"a\xd0\"", {}, {}},
      {"nul byte", std::string("\"V\"=\"a\0b\"", 9), {}, {}},
      {"bare carriage return", "\"V\"=\"a\rb\"", {}, {}},
      {"valid cyrillic", "\"V\"=\"\xd0\xbf\xd0\xb0\xd0\xbf\xd0\xba\xd0\xb0\"", "папка", {}},
  };
  for (const LineCase& c : cases) {
    TempFolder folder;
    const SettingsStore store = StoreFromText(folder, kHeader + c.line + "\n");
    EXPECT_TRUE(store.KeyExists()) << c.why;
    if (c.text) {
      ASSERT_EQ(store.TypeOf("V"), SettingsStore::ValueType::Text) << c.why;
      EXPECT_EQ(store.ReadString("V"), *c.text) << c.why;
    } else if (c.number) {
      ASSERT_EQ(store.TypeOf("V"), SettingsStore::ValueType::Integer) << c.why;
      EXPECT_EQ(store.ReadInteger("V"), *c.number) << c.why;
    } else {
      EXPECT_FALSE(store.HasValue("V")) << c.why;
    }
  }
}

TEST(SettingsStoreFile, OnlyLinesInsideTheKeysSectionCount) {
  TempFolder folder;
  const SettingsStore store = StoreFromText(folder,
                                            "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                                            "\"Before\"=dword:00000001\r\n"
                                            "[Software\\ORV\\Other]\r\n"
                                            "\"Other\"=dword:00000002\r\n"
                                            "[software\\orv\\lpg2]  \r\n"
                                            "\"Inside\"=dword:00000003\r\n"
                                            "[Software\\ORV\\LPG2\\Sub]\r\n"
                                            "\"Sub\"=dword:00000004\r\n"
                                            "[Broken header\r\n"
                                            "\"StillSub\"=dword:00000005\r\n"
                                            "[Software\\ORV\\LPG2]\r\n"
                                            "\"Again\"=\"yes\"\r\n"
                                            "; a comment\r\n"
                                            "\r\n"
                                            "\"Last\"=dword:00000006");  // no line end at the end of the file
  EXPECT_TRUE(store.KeyExists());
  EXPECT_EQ(store.ValueNames(), (std::vector<std::string>{"Inside", "Again", "Last"}));
  EXPECT_EQ(store.ReadInteger("Inside"), 3);
  EXPECT_EQ(store.ReadString("Again"), "yes");
  EXPECT_EQ(store.ReadInteger("Last"), 6);
}

TEST(SettingsStoreFile, KeyExistsOnlyWhenItsSectionIsPresentOrAValueWasWritten) {
  TempFolder folder;
  EXPECT_FALSE(StoreFromText(folder, "").KeyExists());
  EXPECT_FALSE(StoreFromText(folder, "\"COMM\"=dword:00000001\n").KeyExists());
  EXPECT_FALSE(StoreFromText(folder, "[Software\\ORV]\n\"COMM\"=dword:00000001\n").KeyExists());
  EXPECT_TRUE(StoreFromText(folder, kHeader).KeyExists());

  SettingsStore missing(folder / "nothing/LPG2.reg");
  std::string error;
  EXPECT_FALSE(missing.Load(&error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(missing.KeyExists());
  missing.WriteBool("List", true);
  EXPECT_TRUE(missing.KeyExists());
}

TEST(SettingsStoreFile, ALaterDuplicateWinsInThePlaceOfTheFirst) {
  TempFolder folder;
  const SettingsStore store =
      StoreFromText(folder, kHeader + "\"A\"=dword:00000001\n\"B\"=\"b\"\n\"a\"=\"text now\"\n");
  EXPECT_EQ(store.ValueNames(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(store.TypeOf("A"), SettingsStore::ValueType::Text);
  EXPECT_EQ(store.ReadString("A"), "text now");
}

TEST(SettingsStoreFile, LoadForgetsWhatWasInMemory) {
  TempFolder folder;
  SettingsStore store = StoreFromText(folder, kHeader + "\"A\"=dword:00000001\n");
  store.WriteInteger("B", 2);
  ASSERT_TRUE(store.Load());
  EXPECT_EQ(store.ValueNames(), std::vector<std::string>{"A"});
}

// ---------------------------------------------------------------------------------------
// Typed reads and writes

TEST(SettingsStoreValues, MissingTextReadsEmptyButMissingIntegerOrBooleanThrows) {
  SettingsStore store("");
  EXPECT_EQ(store.ReadString("FileName"), "");
  EXPECT_THROW(store.ReadInteger("COMM"), SettingsError);
  EXPECT_THROW(store.ReadBool("List"), SettingsError);
}

TEST(SettingsStoreValues, AValueOfAnotherTypeThrows) {
  SettingsStore store("");
  store.WriteString("Text", "1");
  store.WriteInteger("Number", 1);
  EXPECT_THROW(store.ReadInteger("Text"), SettingsError);
  EXPECT_THROW(store.ReadBool("Text"), SettingsError);
  EXPECT_THROW(store.ReadString("Number"), SettingsError);
  try {
    store.ReadInteger("Text");
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("Text"), std::string::npos);
  }
}

TEST(SettingsStoreValues, BooleansAreStoredAsZeroOrOneAndAnyNonZeroReadsTrue) {
  SettingsStore store("");
  store.WriteBool("T", true);
  store.WriteBool("F", false);
  store.WriteInteger("Two", 2);
  store.WriteInteger("Minus", -1);
  EXPECT_EQ(store.ReadInteger("T"), 1);
  EXPECT_EQ(store.ReadInteger("F"), 0);
  EXPECT_TRUE(store.ReadBool("T"));
  EXPECT_FALSE(store.ReadBool("F"));
  EXPECT_TRUE(store.ReadBool("Two"));
  EXPECT_TRUE(store.ReadBool("Minus"));
}

TEST(SettingsStoreValues, NamesMatchWithoutRegardToCase) {
  SettingsStore store("");
  store.WriteInteger("COMM", 2);
  EXPECT_EQ(store.ReadInteger("comm"), 2);
  store.WriteInteger("Comm", 3);
  EXPECT_EQ(store.ValueNames(), std::vector<std::string>{"COMM"});
  EXPECT_EQ(store.ReadInteger("COMM"), 3);
}

TEST(SettingsStoreValues, ValuesKeepTheOrderOfTheirFirstWrite) {
  SettingsStore store("");
  store.WriteString("C", "1");
  store.WriteInteger("A", 1);
  store.WriteBool("B", true);
  store.WriteInteger("C", 5);  // rewritten with another type, in its place
  EXPECT_EQ(store.ValueNames(), (std::vector<std::string>{"C", "A", "B"}));
  EXPECT_EQ(store.TypeOf("C"), SettingsStore::ValueType::Integer);
  EXPECT_EQ(store.ReadInteger("C"), 5);
  EXPECT_FALSE(store.TypeOf("D").has_value());
}

TEST(SettingsStoreValues, TextThatTheFileCannotCarryIsStoredWithQuestionMarks) {
  SettingsStore store("");
  store.WriteString("Ctl", std::string("a\nb\rc\0d\te", 9));
  store.WriteString("Bad", "x\xff\xc0\x80y\xd0");
  store.WriteString("Good", "\xd0\xbf");
  EXPECT_EQ(store.ReadString("Ctl"), "a?b?c?d\te");
  EXPECT_EQ(store.ReadString("Bad"), "x???y?");
  EXPECT_EQ(store.ReadString("Good"), "\xd0\xbf");
}

TEST(SettingsStoreValues, ALineBreakInTextCannotSmuggleInAnotherSectionOrValue) {
  TempFolder folder;
  SettingsStore store(folder / "LPG2.reg");
  store.WriteString("FileName", "a\n[Other]\n\"COMM\"=dword:00000004");
  store.WriteInteger("Font", 1);
  ASSERT_TRUE(store.Save());
  const SettingsStore back = SettingsStore::Open(folder / "LPG2.reg");
  EXPECT_EQ(back.ReadString("FileName"), "a?[Other]?\"COMM\"=dword:00000004");
  EXPECT_FALSE(back.HasValue("COMM"));
  EXPECT_EQ(back.ReadInteger("Font"), 1);
}

// ---------------------------------------------------------------------------------------
// Damaged files and failing saves

TEST(SettingsStoreDamage, GarbageAndBinaryBytesAreIgnoredAroundGoodLines) {
  std::string garbage;
  for (int round = 0; round < 40; ++round) {
    for (int b = 0; b < 256; ++b) garbage.push_back(static_cast<char>((b * 37 + round * 11) & 0xFF));
  }
  // (No line of it has the form of a section header, which would end the key.)
  garbage += "\n\"\n\"\"\n\"\"=\n\"X\"=\"\\\n[\n]\n[x\n\"X\"=dword:\n";
  TempFolder folder;
  const SettingsStore store =
      StoreFromText(folder, garbage + "\n" + kHeader + garbage + "\n\"COMM\"=dword:00000002\n" + garbage);
  EXPECT_TRUE(store.KeyExists());
  EXPECT_EQ(store.ReadInteger("COMM"), 2);
}

TEST(SettingsStoreDamage, AnOverlongLineIsIgnoredAndTheNextLineStillCounts) {
  TempFolder folder;
  const std::string longLine = "\"FileName\"=\"" + std::string(100000, 'x') + "\"";
  const SettingsStore store = StoreFromText(folder, kHeader + longLine + "\n\"COMM\"=dword:00000003\n");
  EXPECT_FALSE(store.HasValue("FileName"));
  EXPECT_EQ(store.ReadInteger("COMM"), 3);

  const std::string longestKept = "\"F\"=\"" + std::string(SettingsStore::kMaxLineBytes - 6, 'y') + "\"";
  ASSERT_EQ(longestKept.size(), SettingsStore::kMaxLineBytes);
  EXPECT_EQ(StoreFromText(folder, kHeader + longestKept + "\n").ReadString("F").size(),
            SettingsStore::kMaxLineBytes - 6);
}

TEST(SettingsStoreDamage, AFileOverTheSizeLimitIsNotReadAtAll) {
  TempFolder folder;
  const std::string good = kHeader + "\"COMM\"=dword:00000002\n";
  const std::string atLimit = good + std::string(SettingsStore::kMaxFileBytes - good.size(), '\n');
  EXPECT_EQ(StoreFromText(folder, atLimit).ReadInteger("COMM"), 2);

  for (const std::size_t size : {SettingsStore::kMaxFileBytes + 1, std::size_t{5} << 20}) {
    Put(folder / "LPG2.reg", good + std::string(size - good.size(), '\n'));
    SettingsStore store(folder / "LPG2.reg");
    std::string error;
    EXPECT_FALSE(store.Load(&error)) << size;
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(store.KeyExists());
    AppSettings settings = DefaultAppSettings("/opt/orv");
    LoadSettings(store, settings);
    EXPECT_EQ(settings, DefaultAppSettings("/opt/orv"));
  }
}

TEST(SettingsStoreDamage, SaveCreatesMissingFolders) {
  TempFolder folder;
  SettingsStore store(folder / "a/b/ORV/LPG2.reg");
  store.WriteInteger("COMM", 1);
  std::string error;
  ASSERT_TRUE(store.Save(&error)) << error;
  EXPECT_TRUE(fs::is_regular_file(folder / "a/b/ORV/LPG2.reg"));
}

TEST(SettingsStoreDamage, SaveFailsWhenTheFolderCannotBeMade) {
  TempFolder folder;
  Put(folder / "ORV", "a file where the folder should be");
  SettingsStore store(folder / "ORV/LPG2.reg");
  store.WriteInteger("COMM", 1);
  std::string error;
  EXPECT_FALSE(store.Save(&error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Slurp(folder / "ORV"), "a file where the folder should be");
}

TEST(SettingsStoreDamage, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
  TempFolder folder;
  fs::create_directory(folder / "ORV");
  const std::string old = kHeader + "\"COMM\"=dword:00000002\n";
  Put(folder / "ORV/LPG2.reg", old);
  ASSERT_EQ(::chmod((folder / "ORV").c_str(), 0555), 0);
  SettingsStore store = SettingsStore::Open(folder / "ORV/LPG2.reg");
  store.WriteInteger("COMM", 4);
  std::string error;
  EXPECT_FALSE(store.Save(&error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Slurp(folder / "ORV/LPG2.reg"), old);
}

TEST(SettingsStoreDamage, SaveFailingPartWayKeepsTheOldFileWhole) {
  TempFolder folder;
  const std::string old = kHeader + "\"COMM\"=dword:00000002\n";
  Put(folder / "LPG2.reg", old);
  SettingsStore store = SettingsStore::Open(folder / "LPG2.reg");
  store.WriteString("FileName", std::string(8192, 'f'));

  FileSizeLimit limit(64);
  ASSERT_TRUE(limit.Applied());
  std::string error;
  const bool saved_ok = store.Save(&error);
  limit.Lift();

  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(Slurp(folder / "LPG2.reg"), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

// A file that is there but cannot be read is the user's all the same; a missing one is only
// a first start.
TEST(SettingsStoreDamage, AFileThatCannotBeReadIsToldApartFromAMissingOne) {
  TempFolder folder;
  SettingsStore store(folder / "LPG2.reg");
  store.Load();
  EXPECT_FALSE(store.Unreadable());
  fs::create_directory(folder / "LPG2.reg");
  store.Load();
  EXPECT_TRUE(store.Unreadable());
}

// Names the program does not know, which only a damaged file brings, never make the file too
// large to be read again; and the owner may always read the file written.
TEST(SettingsStoreDamage, AWrittenFileIsAlwaysOneTheStoreCanReadAgain) {
  TempFolder folder;
  std::string damaged = kHeader;
  for (int i = 0; damaged.size() < SettingsStore::kMaxFileBytes - 40000; ++i)
    damaged += "\"Unknown" + std::to_string(i) + "\"=\"" + std::string(30000, 'x') + "\"\n";
  Put(folder / "LPG2.reg", damaged);
  ASSERT_EQ(::chmod((folder / "LPG2.reg").c_str(), 0400), 0);
  SettingsStore store = SettingsStore::Open(folder / "LPG2.reg");
  ASSERT_FALSE(store.Unreadable());
  store.WriteString("FileName", std::string(30000, 'f'));
  store.WriteString("DirOpen", std::string(30000, 'd'));
  ASSERT_TRUE(store.Save());
  struct stat st {};
  ASSERT_EQ(::stat((folder / "LPG2.reg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0600, 0600u);
  const SettingsStore again = SettingsStore::Open(folder / "LPG2.reg");
  EXPECT_EQ(again.ReadString("FileName"), std::string(30000, 'f'));
  EXPECT_EQ(again.ValueNames(), (std::vector<std::string>{"FileName", "DirOpen"}));
}

// ---------------------------------------------------------------------------------------
// AppSettings

const std::string kProgramDir = "/opt/orv";

// Every setting away from its default (and within the usable ranges).
AppSettings Customised() {
  AppSettings s = DefaultAppSettings(kProgramDir);
  s.DirOpen = "/home/fitter/par \"a\"";
  s.DirSave = "C:\\save\\";
  s.FileName = "golf";
  s.RamIndex = 200;
  s.Help = 2;
  s.TrackX = 7;
  s.COMM = 3;
  s.LineRPM = true;
  s.LineLAM = true;
  s.LineSIM = true;
  s.LineTPS = true;
  s.LineMOT = true;
  s.LinePSI = true;
  s.LineDEF = true;
  s.LineRAM = true;
  s.ColorRPM = 1;
  s.ColorLAM1 = 2;
  s.ColorSIM = 3;
  s.ColorTPS = 4;
  s.ColorMOT1 = 5;
  s.ColorDEF = 6;
  s.ColorPSI = static_cast<std::int32_t>(0x80000005);
  s.ColorRAM = 0xABCDEF;
  s.List = false;
  s.Font = 2;
  s.Lang = 2;
  s.AutoSave = true;
  s.AutoComm = true;
  s.VisuWin = false;
  s.WSize = 222;
  s.WLeft = -20;
  s.WTop = 33;
  s.WWidth = 1024;
  s.WHeight = 700;
  s.WState = 1;
  return s;
}

// The value of each stored setting as text, to compare one setting at a time.
std::map<std::string, std::string> Describe(const AppSettings& s) {
  auto n = [](auto v) { return std::to_string(v); };
  return {{"DirOpen", s.DirOpen},      {"DirSave", s.DirSave},        {"FileName", s.FileName},
          {"RamIndex", n(s.RamIndex)}, {"Help", n(s.Help)},           {"TrackX", n(s.TrackX)},
          {"COMM", n(s.COMM)},         {"LineRPM", n(s.LineRPM)},     {"LineLAM", n(s.LineLAM)},
          {"LineSIM", n(s.LineSIM)},   {"LineTPS", n(s.LineTPS)},     {"LineMOT", n(s.LineMOT)},
          {"LinePSI", n(s.LinePSI)},   {"LineDEF", n(s.LineDEF)},     {"LineRAM", n(s.LineRAM)},
          {"ColorRPM", n(s.ColorRPM)}, {"ColorLAM1", n(s.ColorLAM1)}, {"ColorSIM", n(s.ColorSIM)},
          {"ColorTPS", n(s.ColorTPS)}, {"ColorMOT1", n(s.ColorMOT1)}, {"ColorDEF", n(s.ColorDEF)},
          {"ColorPSI", n(s.ColorPSI)}, {"ColorRAM", n(s.ColorRAM)},   {"List", n(s.List)},
          {"Font", n(s.Font)},         {"AutoSave", n(s.AutoSave)},   {"AutoComm", n(s.AutoComm)},
          {"VisuWin", n(s.VisuWin)},   {"WSize", n(s.WSize)},         {"WTop", n(s.WTop)},
          {"WLeft", n(s.WLeft)},       {"WWidth", n(s.WWidth)},       {"WHeight", n(s.WHeight)},
          {"WState", n(s.WState)}};
}

// The order in which start-up reads the settings.
const std::vector<std::string> kReadOrder = {
    "DirOpen",  "DirSave",  "FileName",  "RamIndex", "Help",     "TrackX",    "COMM",
    "LineRPM",  "LineLAM",  "LineSIM",   "LineTPS",  "LineMOT",  "LinePSI",   "LineDEF",
    "LineRAM",  "ColorRPM", "ColorLAM1", "ColorSIM", "ColorTPS", "ColorMOT1", "ColorDEF",
    "ColorPSI", "ColorRAM", "List",      "Font",     "AutoSave", "AutoComm",  "VisuWin",
    "WSize",    "WTop",     "WLeft",     "WWidth",   "WHeight",  "WState"};

// The order in which exit writes them, with AutoScan and the bounds.
const std::vector<std::string> kFullWriteOrder = {
    "Dir",       "DirOpen",  "DirSave",  "FileName",  "TrackX",   "RamIndex", "Help",     "LineRPM",
    "LineLAM",   "LineSIM",  "LineTPS",  "LineMOT",   "LinePSI",  "LineDEF",  "LineRAM",  "ColorRPM",
    "ColorLAM1", "ColorSIM", "ColorTPS", "ColorMOT1", "ColorDEF", "ColorPSI", "ColorRAM", "List",
    "Font",      "Lang",     "AutoSave", "AutoComm",  "AutoScan", "VisuWin",  "COMM",     "WSize",
    "WState",    "WTop",     "WLeft",    "WWidth",    "WHeight"};

std::vector<std::string> Without(std::vector<std::string> names, const std::vector<std::string>& gone) {
  std::erase_if(names,
                [&](const std::string& n) { return std::find(gone.begin(), gone.end(), n) != gone.end(); });
  return names;
}

// The settings of Customised() as exit writes them, without the value named gone.
SettingsStore CustomisedStoreWithout(const std::string& gone) {
  SettingsStore full("");
  SaveSettings(full, Customised(), kProgramDir, true, false);
  SettingsStore store("");
  for (const std::string& name : full.ValueNames()) {
    if (name == gone) continue;
    if (full.TypeOf(name) == SettingsStore::ValueType::Text) {
      store.WriteString(name, full.ReadString(name));
    } else {
      store.WriteInteger(name, full.ReadInteger(name));
    }
  }
  return store;
}

TEST(AppSettingsDefaults, AreTheStartUpValues) {
  const AppSettings s = DefaultAppSettings(kProgramDir);
  EXPECT_EQ(s.DirOpen, kProgramDir);
  EXPECT_EQ(s.DirSave, kProgramDir);
  EXPECT_EQ(s.FileName, "");
  EXPECT_EQ(s.RamIndex, -1);
  EXPECT_EQ(s.Help, 0);
  EXPECT_EQ(s.TrackX, 1);
  EXPECT_EQ(s.COMM, 1);
  EXPECT_FALSE(s.LineRPM || s.LineLAM || s.LineSIM || s.LineTPS || s.LineMOT || s.LinePSI || s.LineDEF ||
               s.LineRAM);
  EXPECT_EQ((std::vector<std::int32_t>{s.ColorRPM, s.ColorLAM1, s.ColorSIM, s.ColorTPS, s.ColorMOT1,
                                       s.ColorDEF, s.ColorPSI, s.ColorRAM}),
            (std::vector<std::int32_t>{255, 65280, 32768, 65535, 16776960, 16711935, 16711680, 128}));
  EXPECT_TRUE(s.List);
  EXPECT_EQ(s.Font, 0);
  EXPECT_EQ(s.Lang, 5);
  EXPECT_FALSE(s.AutoSave);
  EXPECT_FALSE(s.AutoComm);
  EXPECT_TRUE(s.VisuWin);
  EXPECT_EQ(s.WSize, 160);
  EXPECT_GE(s.WWidth, kMinWindowWidth);
  EXPECT_GE(s.WHeight, kMinWindowHeight);
  EXPECT_EQ(s.WState, 0);
  EXPECT_FALSE(s.boundsRead);
}

TEST(AppSettingsLoad, AMissingKeyReadsNothing) {
  TempFolder folder;
  const SettingsStore store = SettingsStore::Open(folder / "ORV/LPG2.reg");
  AppSettings s = DefaultAppSettings(kProgramDir);
  LoadSettings(store, s);
  EXPECT_EQ(s, DefaultAppSettings(kProgramDir));
}

TEST(AppSettingsLoad, OnlyTheFoldersStoredRestoresThemAndAnEmptyFileName) {
  TempFolder folder;
  const SettingsStore store =
      StoreFromText(folder, kHeader + "\"DirOpen\"=\"/p/open\"\n\"DirSave\"=\"/p/save\"\n");
  AppSettings s = DefaultAppSettings(kProgramDir);
  s.FileName = "typed before";  // a missing text value is applied as empty text
  LoadSettings(store, s);
  AppSettings expected = DefaultAppSettings(kProgramDir);
  expected.DirOpen = "/p/open";
  expected.DirSave = "/p/save";
  expected.FileName = "";
  EXPECT_EQ(s, expected);
}

TEST(AppSettingsRoundTrip, EverySettingComesBackThroughTheFile) {
  TempFolder folder;
  const AppSettings original = Customised();
  SettingsStore store(folder / "ORV/LPG2.reg");
  SaveSettings(store, original, kProgramDir, /*controllerSeen=*/true, /*maximised=*/false);
  std::string error;
  ASSERT_TRUE(store.Save(&error)) << error;

  const SettingsStore back = SettingsStore::Open(folder / "ORV/LPG2.reg");
  AppSettings loaded = DefaultAppSettings(kProgramDir);
  std::vector<std::string> corrected = {"sentinel"};
  LoadSettings(back, loaded, &corrected);
  EXPECT_TRUE(corrected.empty());

  AppSettings expected = original;
  expected.boundsRead = true;
  EXPECT_EQ(loaded, expected);
  EXPECT_EQ(back.ReadString("Dir"), kProgramDir);
  EXPECT_EQ(back.ReadInteger("Lang"), 2);
}

TEST(AppSettingsSave, WritesInTheExitOrder) {
  struct Case {
    bool controllerSeen;
    bool maximised;
    std::vector<std::string> expected;
  };
  const std::vector<std::string> bounds = {"WTop", "WLeft", "WWidth", "WHeight"};
  const std::vector<Case> cases = {
      {false, false, kFullWriteOrder},
      {true, false, Without(kFullWriteOrder, {"AutoScan"})},
      {false, true, Without(kFullWriteOrder, bounds)},
      {true, true, Without(kFullWriteOrder, {"AutoScan", "WTop", "WLeft", "WWidth", "WHeight"})},
  };
  for (const Case& c : cases) {
    SettingsStore store("");
    SaveSettings(store, Customised(), kProgramDir, c.controllerSeen, c.maximised);
    EXPECT_EQ(store.ValueNames(), c.expected) << c.controllerSeen << c.maximised;
  }
}

TEST(AppSettingsSave, TypesOfTheWrittenValues) {
  SettingsStore store("");
  SaveSettings(store, Customised(), kProgramDir, false, false);
  for (const std::string& name : kFullWriteOrder) {
    const bool isText = name == "Dir" || name == "DirOpen" || name == "DirSave" || name == "FileName";
    EXPECT_EQ(store.TypeOf(name), isText ? SettingsStore::ValueType::Text : SettingsStore::ValueType::Integer)
        << name;
  }
  EXPECT_EQ(store.ReadInteger("List"), 0);
  EXPECT_EQ(store.ReadInteger("LineRPM"), 1);
  EXPECT_EQ(store.ReadInteger("AutoScan"), 0);
}

TEST(AppSettingsSave, AutoScanIsClearedOnlyByARunWithoutController) {
  for (const bool controllerSeen : {false, true}) {
    TempFolder folder;
    SettingsStore store =
        StoreFromText(folder, kHeader + "\"AutoScan\"=dword:00000001\n\"COMM\"=dword:00000002\n");
    SaveSettings(store, Customised(), kProgramDir, controllerSeen, false);
    ASSERT_TRUE(store.Save());
    const SettingsStore back = SettingsStore::Open(folder / "LPG2.reg");
    EXPECT_EQ(back.ReadInteger("AutoScan"), controllerSeen ? 1 : 0) << controllerSeen;
  }
  SettingsStore fresh("");
  SaveSettings(fresh, Customised(), kProgramDir, true, false);
  EXPECT_FALSE(fresh.HasValue("AutoScan"));
}

TEST(AppSettingsSave, AMaximisedExitKeepsTheOldBoundsForTheNextStart) {
  TempFolder folder;
  SettingsStore store(folder / "LPG2.reg");
  AppSettings first = Customised();
  SaveSettings(store, first, kProgramDir, true, /*maximised=*/false);
  ASSERT_TRUE(store.Save());

  SettingsStore second = SettingsStore::Open(folder / "LPG2.reg");
  AppSettings maximised = first;
  maximised.WState = 2;
  maximised.WLeft = -4;  // what a maximised window reports
  maximised.WTop = -4;
  maximised.WWidth = 1928;
  maximised.WHeight = 1088;
  SaveSettings(second, maximised, kProgramDir, true, /*maximised=*/true);
  ASSERT_TRUE(second.Save());

  const SettingsStore third = SettingsStore::Open(folder / "LPG2.reg");
  EXPECT_EQ(third.ReadInteger("WState"), 2);
  AppSettings next = DefaultAppSettings(kProgramDir);
  LoadSettings(third, next);
  EXPECT_TRUE(next.boundsRead);
  EXPECT_EQ(next.WLeft, first.WLeft);
  EXPECT_EQ(next.WTop, first.WTop);
  EXPECT_EQ(next.WWidth, first.WWidth);
  EXPECT_EQ(next.WHeight, first.WHeight);
  EXPECT_EQ(next.WState, 2);
}

// The language is an index of the six-item list; one outside it, a text in its place or none
// at all reads as Russian (5) and the values after it are read all the same.
TEST(AppSettingsLoad, AStoredLanguageIsReadBackAndAnyOtherValueIsRussian) {
  struct Case {
    std::optional<int> stored;  // none: a text value in its place
    int read;
  };
  for (const Case& c : {Case{0, 0}, Case{2, 2}, Case{5, 5}, Case{1, 1}, Case{-1, 5}, Case{6, 5}, Case{99, 5},
                        Case{std::nullopt, 5}}) {
    SettingsStore store("");
    AppSettings stored = Customised();
    SaveSettings(store, stored, kProgramDir, true, false);
    if (c.stored)
      store.WriteInteger("Lang", *c.stored);
    else
      store.WriteString("Lang", "english");
    AppSettings s = DefaultAppSettings(kProgramDir);
    s.Lang = 3;
    LoadSettings(store, s);
    EXPECT_EQ(s.Lang, c.read) << (c.stored ? *c.stored : -100);
    EXPECT_EQ(s.AutoComm, stored.AutoComm);
    EXPECT_EQ(s.WSize, stored.WSize);
  }
}

TEST(AppSettingsLoad, VisuWinFollowsTheStoredValueAndDefaultsToTrue) {
  const std::vector<std::pair<std::optional<bool>, bool>> cases = {
      {true, true}, {false, false}, {std::nullopt, true}};
  for (const auto& [stored, expected] : cases) {
    SettingsStore store = CustomisedStoreWithout("VisuWin");
    if (stored) store.WriteBool("VisuWin", *stored);
    AppSettings s = DefaultAppSettings(kProgramDir);
    LoadSettings(store, s);
    EXPECT_EQ(s.VisuWin, expected);
  }
}

// For every setting read: stored with the wrong type, or (for integers and booleans)
// missing, it and all later settings keep their defaults and all earlier ones are applied.
TEST(AppSettingsLoad, AWrongTypedOrMissingValueEndsReadingThere) {
  const AppSettings full = Customised();
  const auto fullValues = Describe(full);
  const auto defaultValues = Describe(DefaultAppSettings(kProgramDir));
  const std::vector<std::string> bounds = {"WTop", "WLeft", "WWidth", "WHeight"};

  for (std::size_t breakAt = 0; breakAt < kReadOrder.size(); ++breakAt) {
    const std::string& broken = kReadOrder[breakAt];
    SettingsStore wrongType("");
    SaveSettings(wrongType, full, kProgramDir, true, false);
    const bool isText = wrongType.TypeOf(broken) == SettingsStore::ValueType::Text;
    std::vector<SettingsStore> variants;
    if (isText) {
      wrongType.WriteInteger(broken, 1);
    } else {
      wrongType.WriteString(broken, "1");
    }
    variants.push_back(wrongType);
    if (!isText) variants.push_back(CustomisedStoreWithout(broken));

    for (const SettingsStore& store : variants) {
      AppSettings s = DefaultAppSettings(kProgramDir);
      LoadSettings(store, s);
      const auto got = Describe(s);
      const bool brokenInBounds = std::find(bounds.begin(), bounds.end(), broken) != bounds.end();
      for (std::size_t i = 0; i < kReadOrder.size(); ++i) {
        const std::string& name = kReadOrder[i];
        const bool isBound = std::find(bounds.begin(), bounds.end(), name) != bounds.end();
        // The bounds are applied together, only after all four were read.
        const bool applied = i < breakAt && !(isBound && brokenInBounds);
        EXPECT_EQ(got.at(name), applied ? fullValues.at(name) : defaultValues.at(name))
            << "reading broken at " << broken << ", looking at " << name;
      }
      EXPECT_EQ(s.boundsRead, broken == "WState") << broken;  // WState follows the bounds
      // The language is read right after the font, and a wrong or missing one ends nothing.
      const auto font = std::find(kReadOrder.begin(), kReadOrder.end(), "Font") - kReadOrder.begin();
      EXPECT_EQ(s.Lang, static_cast<std::ptrdiff_t>(breakAt) > font ? full.Lang : 5) << broken;
    }
  }
}

TEST(AppSettingsLoad, AMissingTextValueReadsEmptyAndReadingGoesOn) {
  AppSettings s = DefaultAppSettings(kProgramDir);
  s.FileName = "before";
  LoadSettings(CustomisedStoreWithout("FileName"), s);
  EXPECT_EQ(s.FileName, "");
  EXPECT_EQ(s.WState, Customised().WState);  // the last value was still read
}

TEST(AppSettingsLoad, AKeyOfGarbageGivesEmptyFoldersAndDefaultsOtherwise) {
  TempFolder folder;
  std::string garbage;
  for (int b = 0; b < 256; ++b) garbage.push_back(static_cast<char>(b));
  const SettingsStore store = StoreFromText(folder, kHeader + garbage + "\n\xff\xfe\n");
  AppSettings s = DefaultAppSettings(kProgramDir);
  LoadSettings(store, s);
  AppSettings expected = DefaultAppSettings(kProgramDir);
  expected.DirOpen = "";
  expected.DirSave = "";
  EXPECT_EQ(s, expected);
}

// A stored value that would break a control, and what it becomes.
struct SanitiseCase {
  const char* name;
  std::int32_t stored;
  std::string expected;  // as Describe shows it
  bool corrected;
};

TEST(AppSettingsLoad, ValuesThatWouldBreakAControlAreCorrected) {
  const std::string red = std::to_string(kColorRed);
  const std::vector<SanitiseCase> cases = {
      {"Font", 3, "0", true},
      {"Font", -1, "0", true},
      {"Font", 2, "2", false},
      {"Font", 0, "0", false},
      {"RamIndex", 256, "-1", true},
      {"RamIndex", -2, "-1", true},
      {"RamIndex", 255, "255", false},
      {"RamIndex", -1, "-1", false},
      {"RamIndex", 0, "0", false},
      {"TrackX", 0, "1", true},
      {"TrackX", -3, "1", true},
      {"TrackX", 11, "1", true},
      {"TrackX", 10, "10", false},
      {"TrackX", 1, "1", false},
      {"COMM", 0, "1", true},
      {"COMM", 5, "1", true},
      {"COMM", -1, "1", true},
      {"COMM", 4, "4", false},
      {"Help", 3, "0", true},
      {"Help", -1, "0", true},
      {"Help", 2, "2", false},
      {"WSize", 159, "160", true},
      {"WSize", -5, "160", true},
      {"WSize", 20001, "160", true},
      {"WSize", 160, "160", false},
      {"WSize", 900, "900", false},
      {"WState", 3, "0", true},
      {"WState", -1, "0", true},
      {"WState", 2, "2", false},
      {"ColorRPM", 0x01000000, red, true},
      {"ColorRPM", static_cast<std::int32_t>(0xFF000000), red, true},
      {"ColorRPM", static_cast<std::int32_t>(0x8000000F),
       std::to_string(static_cast<std::int32_t>(0x8000000F)), false},
      {"ColorRPM", 0xFFFFFF, "16777215", false},
  };
  for (const SanitiseCase& c : cases) {
    SettingsStore store("");
    SaveSettings(store, Customised(), kProgramDir, true, false);
    store.WriteInteger(c.name, c.stored);
    AppSettings s = DefaultAppSettings(kProgramDir);
    std::vector<std::string> corrected;
    LoadSettings(store, s, &corrected);
    EXPECT_EQ(Describe(s).at(c.name), c.expected) << c.name << " " << c.stored;
    const bool named = std::find(corrected.begin(), corrected.end(), c.name) != corrected.end();
    EXPECT_EQ(named, c.corrected) << c.name << " " << c.stored;
    EXPECT_EQ(corrected.size(), c.corrected ? 1u : 0u) << c.name << " " << c.stored;
  }
}

TEST(AppSettingsLoad, UnusableWindowBoundsAreIgnoredTogether) {
  struct Case {
    int left, top, width, height;
    bool usable;
  };
  const std::vector<Case> cases = {
      {0, 0, 640, 458, true},
      {-50, -10, 800, 600, true},
      {20000, 20000, 20000, 20000, true},
      {0, 0, 639, 600, false},
      {0, 0, 800, 457, false},
      {0, 0, -800, 600, false},
      {0, 0, 800, -600, false},
      {0, 0, 20001, 600, false},
      {0, 0, 800, 20001, false},
      {-20001, 0, 800, 600, false},
      {0, 30000, 800, 600, false},
      {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, false},
  };
  const AppSettings design = DefaultAppSettings(kProgramDir);
  for (const Case& c : cases) {
    SettingsStore store("");
    SaveSettings(store, Customised(), kProgramDir, true, false);
    store.WriteInteger("WLeft", c.left);
    store.WriteInteger("WTop", c.top);
    store.WriteInteger("WWidth", c.width);
    store.WriteInteger("WHeight", c.height);
    AppSettings s = DefaultAppSettings(kProgramDir);
    std::vector<std::string> corrected;
    LoadSettings(store, s, &corrected);
    EXPECT_EQ(s.boundsRead, c.usable) << c.left << "," << c.top << " " << c.width << "x" << c.height;
    if (c.usable) {
      EXPECT_EQ((std::vector<int>{s.WLeft, s.WTop, s.WWidth, s.WHeight}),
                (std::vector<int>{c.left, c.top, c.width, c.height}));
      EXPECT_TRUE(corrected.empty());
    } else {
      EXPECT_EQ((std::vector<int>{s.WLeft, s.WTop, s.WWidth, s.WHeight}),
                (std::vector<int>{design.WLeft, design.WTop, design.WWidth, design.WHeight}));
      EXPECT_EQ(corrected, (std::vector<std::string>{"WTop", "WLeft", "WWidth", "WHeight"}));
    }
    EXPECT_EQ(s.WState, Customised().WState);  // the state after the bounds is still applied
  }
}

TEST(AppSettingsSanitise, EveryCorrectionIsDocumentedInTheRules) {
  AppSettings s = DefaultAppSettings(kProgramDir);
  s.RamIndex = 999;
  s.Help = 9;
  s.TrackX = 0;
  s.COMM = 0;
  s.ColorRPM = s.ColorLAM1 = s.ColorSIM = s.ColorTPS = s.ColorMOT1 = s.ColorDEF = s.ColorPSI = s.ColorRAM =
      0x12000000;
  s.Font = 7;
  s.WSize = 1;
  s.WWidth = 1;
  s.boundsRead = true;
  s.WState = 9;
  const std::vector<std::string> changed = SanitiseSettings(s);
  EXPECT_EQ(changed.size(), 19u);
  for (const std::string& name : changed) {
    const bool documented = std::any_of(
        kSettingsSanitisingRules.begin(), kSettingsSanitisingRules.end(),
        [&](const SettingsSanitisingRule& r) { return r.value.find(name) != std::string_view::npos; });
    EXPECT_TRUE(documented) << name;
  }
  AppSettings again = s;
  EXPECT_TRUE(SanitiseSettings(again).empty());  // corrected values are usable
  EXPECT_EQ(again, s);
}

}  // namespace
