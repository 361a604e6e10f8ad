// The parameter editor and the parameter buttons driven through the link engine with an
// in-memory serial port: what a step, a typed value, a clear or a file load sends.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "ParameterTestBlocks.h"
#include "base/UiText.h"
#include "params/ParameterBackup.h"
#include "params/ParameterEditor.h"
#include "params/ParameterFiles.h"
#include "params/ParameterTransfer.h"
#include "support/FakeSerialPort.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedLinkHost.h"
#include "support/TempFolder.h"

namespace {

using Frame = std::vector<std::uint8_t>;

Frame Write(int index, int value) {
  return {0xAA, static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(value),
          static_cast<std::uint8_t>(0xAA + index + value)};
}

// The window stand-in: rebuilds the editor's rows like the window, shows messages, and
// answers the parameter buttons' questions.
struct EditorHost : ParameterEditorHost, ParameterTransferHost {
  void RebuildEditor() override {
    ++rebuilds;
    if (editor) editor->Build(listOrder);
  }
  void ParametersRead() override {
    ++readingsLayouts;
    RebuildEditor();
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }

  std::string& DirOpen() override { return dirOpen; }
  std::string& DirSave() override { return dirSave; }
  std::string FileNameBase() const override { return base; }
  void SetOpenedFileName(const std::string& name) override { opened = name; }
  ::ConnectionMode ConnectionMode() const override { return static_cast<::ConnectionMode>(mode); }
  int ListOrder() const override { return listOrder; }
  void DependentDefaultsForSelectedRow() override { editor->DependentDefaults(); }
  void MakeAutomaticBackup() override {
    if (mode == 2) backups.push_back(MakeParameterBackup(*block, backupFolder, 0));
  }

  ParameterEditor* editor = nullptr;
  const ParameterBlock* block = nullptr;
  int listOrder = kOrderByFunction;
  int rebuilds = 0, readingsLayouts = 0, mode = 2;
  std::vector<std::string> messages;
  std::string dirOpen = "/open", dirSave = "/save", base = "car", opened, backupFolder;
  std::vector<BackupResult> backups;
};

class ParameterEditing : public ::testing::Test {
 protected:
  ParameterEditing() {
    port.Open();
    port.acknowledgeWrites = true;
    port.OnRxChar = [this](int n) { link.VaComm1RxChar(n); };
    LinkTestAccess::Block(link) = LinkTestAccess::Sent(link) = TypicalBlock();
    LinkTestAccess::State(link).linkState = link_state::kParameterPoll;
    LinkTestAccess::State(link).currentPage = static_cast<Page>(1);
    host.editor = &editor;
    host.block = &link.Block();
    host.backupFolder = folder / "backup";
    editor.Build(kOrderByFunction);
  }

  void Select(int parameter) {
    const ParameterList& list = editor.Build(host.listOrder);
    for (int r = 1; r <= list.Count(); ++r)
      if (list.Rows()[r].parameter == parameter) return editor.SetSelectedParamRow(r);
    FAIL() << "no row for " << parameter;
  }

  // Ticks until the link has nothing more to write; returns the writes sent.
  std::vector<Frame> SendPending() {
    std::vector<Frame> writes;
    for (int tick = 0; tick < 200; ++tick) {
      port.frames.clear();
      link.TimerTxTimer();
      if (port.frames.empty() || port.frames[0][0] != 0xAA) break;
      writes.push_back(port.frames[0]);
    }
    return writes;
  }

  TempFolder folder;
  FakeSerialPort port;
  ScriptedLinkHost linkHost;
  ReadingHistory history;
  ControllerLink link{port, linkHost, linkHost, history};
  EditorHost host;
  ParameterEditor editor{link, host};
  ScriptedDialogs dialogs;
  ParameterTransfer transfer{link, linkHost, host, dialogs};
};

TEST_F(ParameterEditing, StepSendsExactlyTheChangedByteAndWrapsAtTheEnds) {
  Select(62);
  LinkTestAccess::Block(link)[62] = 11;
  LinkTestAccess::Sent(link)[62] = 11;
  ASSERT_TRUE(editor.StepSelected(1));
  EXPECT_EQ(SendPending(), (std::vector<Frame>{Write(62, 12)}));
  EXPECT_GE(host.rebuilds, 1);

  LinkTestAccess::Block(link)[33] = LinkTestAccess::Sent(link)[33] = 4;
  Select(33);
  editor.StepSelected(1);  // 4 wraps to 0
  EXPECT_EQ(link.Block()[33], 0);

  // An empty row is never stepped.
  editor.SetSelectedParamRow(editor.List().Count() + 3);
  const ParameterBlock before = link.Block();
  EXPECT_FALSE(editor.StepSelected(0));
  EXPECT_EQ(link.Block(), before);
}

TEST_F(ParameterEditing, NoTpsSwitchesItsOptionsOffAndBackOnlyTheThresholdsReturn) {
  LinkTestAccess::Block(link)[33] = LinkTestAccess::Sent(link)[33] = 3;
  for (int i : {44, 47, 54}) LinkTestAccess::Block(link)[i] = LinkTestAccess::Sent(link)[i] = 1;
  Select(33);
  editor.StepSelected(1);
  EXPECT_EQ(SendPending(), (std::vector<Frame>{Write(33, 4), Write(44, 0), Write(47, 0), Write(54, 0)}));
  for (int p : {44, 47, 54, 46}) {
    for (int r = 1; r <= editor.List().Count(); ++r) EXPECT_NE(editor.List().Rows()[r].parameter, p);
  }
  EXPECT_EQ(host.readingsLayouts, 1);

  Select(33);
  editor.StepSelected(1);  // 4 wraps to 0 (0-5V)
  EXPECT_EQ(SendPending(), (std::vector<Frame>{Write(33, 0), Write(46, 40), Write(54, 1)}));
  EXPECT_EQ(link.Block()[57], 40);  // already 40: nothing to send
  EXPECT_EQ(link.Block()[44], 0);
  EXPECT_EQ(link.Block()[47], 0);
}

TEST_F(ParameterEditing, TypicalSimulationSendsOnlyTheModeItself) {
  LinkTestAccess::Block(link)[35] = LinkTestAccess::Sent(link)[35] = 2;
  Select(35);
  editor.StepSelected(1);
  EXPECT_EQ(SendPending(), (std::vector<Frame>{Write(35, 3)}));
  EXPECT_EQ(link.Block()[36], 40);
  EXPECT_EQ(link.Block()[39], 0);
}

TEST_F(ParameterEditing, ClearingThePowerDefectsWritesZeroEvenWhenZeroAndReadsAgain) {
  LinkTestAccess::Block(link)[78] = LinkTestAccess::Sent(link)[78] = 5;
  editor.Build(kOrderByFunction);
  editor.SetSelectedParamRow(1);
  ASSERT_EQ(editor.SelectedParameter(), 78);
  editor.DependentDefaults();
  EXPECT_EQ(SendPending(), (std::vector<Frame>{Write(78, 0)}));
  EXPECT_TRUE(link.Vars().readPending);
  EXPECT_EQ(link.Vars().requestIndex, 0);
  EXPECT_EQ(link.Vars().linkState, link_state::kChoose);

  // Already zero (the row is gone, the stale selection still names it): written all the same.
  LinkTestAccess::State(link).readPending = false;
  LinkTestAccess::State(link).linkState = link_state::kParameterPoll;
  LinkTestAccess::Block(link)[79] = LinkTestAccess::Sent(link)[79] = 0x02;
  editor.Build(kOrderByFunction);
  editor.SetSelectedParamRow(1);
  ASSERT_EQ(editor.SelectedParameter(), 79);
  LinkTestAccess::Block(link)[79] = LinkTestAccess::Sent(link)[79] = 0;
  editor.DependentDefaults();
  EXPECT_EQ(SendPending(), (std::vector<Frame>{Write(79, 0)}));
  EXPECT_TRUE(link.Vars().readPending);
}

TEST_F(ParameterEditing, TypedValuesAreStoredAtOnceLimitedAndUnchecked) {
  Select(57);
  EXPECT_EQ(editor.TypeValue("3").shown, "3.00");
  EXPECT_EQ(link.Block()[57], 150);
  EXPECT_FALSE(editor.TypeValue("3").aboveRange);
  EXPECT_TRUE(editor.TypeValue("9").aboveRange);  // the box shows what the controller got
  EXPECT_EQ(editor.EditedValue(), "5.10");
  LinkTestAccess::Block(link)[47] = 1;
  Select(48);
  EXPECT_EQ(editor.TypeValue("20000").shown, "10000");
  EXPECT_EQ(link.Block()[48], 100);
  Select(62);
  EXPECT_EQ(editor.TypeValue("500").shown, "1000");  // implausible, but typing never warns
  EXPECT_FALSE(editor.TypeValue("500").aboveRange);  // below: shown limited once the box is left
  EXPECT_EQ(link.Block()[62], 10);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.rebuilds, 0);
  Select(33);  // arrows only
  EXPECT_EQ(editor.TypeValue("2").shown, "");
  EXPECT_EQ(link.Block()[33], 0);
}

TEST_F(ParameterEditing, WarningIsShownOncePerParameterUntilALabelIsPressed) {
  LinkTestAccess::Block(link)[62] = LinkTestAccess::Sent(link)[62] = 11;
  Select(62);
  editor.StepSelected(0);  // 10: too low
  ASSERT_EQ(host.messages, std::vector<std::string>{UiText(744)});
  EXPECT_EQ(editor.LastWarnedParameter(), 62);
  editor.StepSelected(0);  // 100: still wrong, quiet
  EXPECT_EQ(host.messages.size(), 1u);
  editor.ResetLastWarned();
  editor.StepSelected(0);
  EXPECT_EQ(host.messages.size(), 2u);

  // A step on the TPS threshold never warns; the check after a read does.
  Select(57);
  editor.StepSelected(1);
  EXPECT_EQ(host.messages.size(), 2u);
  editor.PlausibilityCheck(false);
  EXPECT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(editor.LastWarnedParameter(), 57);
}

TEST_F(ParameterEditing, ProbeThresholdWarningReplacesTheOthers) {
  LinkTestAccess::Block(link)[41] = 0;   // wrong motor order
  LinkTestAccess::Block(link)[58] = 45;  // and a wrong threshold for a 0-1V probe
  LinkTestAccess::Block(link)[53] = 1;
  Select(58);
  editor.StepSelected(1);
  EXPECT_EQ(host.messages, std::vector<std::string>{UiText(746)});
}

TEST_F(ParameterEditing, SaveProposesTheFileNameAndChecksTheExtension) {
  LinkTestAccess::Block(link)[100] = 77;
  dialogs.fileAnswers = {folder / "out/../x.ORVP"};
  std::filesystem::create_directories(folder / "out");
  transfer.BtnSaveParClick();
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs.fileRequests[0].use, FileDialogUse::SaveParameters);
  EXPECT_EQ(dialogs.fileRequests[0].initialDir, "/save");
  EXPECT_EQ(dialogs.fileRequests[0].proposedName, "car.orvp");
  EXPECT_EQ(LoadParameterFile(folder / "x.ORVP").bytes, link.Block());
  EXPECT_EQ(host.dirSave, folder / "out/..");
  EXPECT_TRUE(dialogs.messages.empty());

  dialogs.fileAnswers = {folder / "x.orvv"};
  transfer.BtnSaveParClick();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(701)});
  EXPECT_FALSE(std::filesystem::exists(folder / "x.orvv"));

  dialogs.messages.clear();
  dialogs.fileAnswers = {folder / "missing/x.orvp"};
  transfer.BtnSaveParClick();
  EXPECT_EQ(dialogs.messages,
            std::vector<std::string>{UiText(702) + " " + folder / "missing/x.orvp" + ": " + UiText(1304)});

  dialogs.messages.clear();
  dialogs.fileAnswers = {std::nullopt};
  transfer.BtnSaveParClick();
  EXPECT_TRUE(dialogs.messages.empty());
}

// A parameter file the fitter made read-only to protect it is refused with its name; the file
// keeps its bytes and its permissions. A writable one is replaced as before.
TEST_F(ParameterEditing, SavingOverAReadOnlyFileIsRefusedAndChangesNothing) {
  ParameterBlock old = TypicalBlock();
  old[62] = 11;
  ASSERT_TRUE(SaveParameterFile(folder / "kept.orvp", old));
  ASSERT_TRUE(SaveParameterFile(folder / "open.orvp", old));
  ASSERT_EQ(::chmod((folder / "kept.orvp").c_str(), 0444), 0);
  LinkTestAccess::Block(link)[62] = 30;
  dialogs.fileAnswers = {folder / "kept.orvp", folder / "open.orvp"};
  transfer.BtnSaveParClick();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(702) + " kept.orvp"});
  EXPECT_EQ(LoadParameterFile(folder / "kept.orvp").bytes, old);
  EXPECT_EQ(std::filesystem::status(folder / "kept.orvp").permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                std::filesystem::perms::others_read);
  transfer.BtnSaveParClick();
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(LoadParameterFile(folder / "open.orvp").bytes[62], 30);
}

TEST_F(ParameterEditing, OpenWithYesBacksUpThenWritesOnlyTheDifferingBytes16To104) {
  ParameterBlock file = TypicalBlock();
  file[0] = 0x32;  // another model: the controller's own header stays
  file[3] = 0x00;
  file[20] = 9;
  file[62] = 20;
  file[104] = 1;
  file[105] = 5;  // beyond the exchanged bytes: never sent
  ASSERT_TRUE(SaveParameterFile(folder / "f.orvp", file));
  const ParameterBlock controller = link.Block();
  dialogs.fileAnswers = {folder / "f.orvp"};
  dialogs.answers = {MessageAnswer::Yes};
  transfer.BtnOpenParClick();
  EXPECT_EQ(dialogs.fileRequests[0].use, FileDialogUse::OpenParameters);
  EXPECT_EQ(dialogs.fileRequests[0].initialDir, "/open");
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(704)});
  EXPECT_EQ(dialogs.beeps, 1);
  EXPECT_EQ(host.dirOpen, folder.Path());
  ASSERT_EQ(host.backups.size(), 1u);
  EXPECT_EQ(LoadParameterFile(host.backups[0].path).bytes, controller);
  EXPECT_EQ(link.Block()[0], 0x64);
  EXPECT_EQ(SendPending(), (std::vector<Frame>{Write(20, 9), Write(62, 20), Write(104, 1)}));
  EXPECT_EQ(linkHost.modes, std::vector<int>{});
}

// With the controller's block read, question 704 keeps its text and buttons and carries what a
// Yes would change as its details; a Yes logs how many bytes go to the controller, which is
// exactly what the link then sends. Without a read there is nothing to compare with.
TEST_F(ParameterEditing, TheLoadQuestionShowsTheChangesAndAYesLogsTheBytesWritten) {
  ParameterBlock file = TypicalBlock();
  file[0] = 0x32;  // another model's header: never sent, said in the details
  file[62] = 20;
  file[57] = 29;
  file[51] = 9;  // no row while regulation from speed is off
  ASSERT_TRUE(SaveParameterFile(folder / "f.orvp", file));
  const std::string details = UiText(1244) + "0x64 V1.45 → 0x32 V1.45\n" +
                              "Тип TPS / Порог TPS: 0.80 [V] → 0.58 [V]\n"
                              "Обороты переключения: 1500 [обор/мин] → 2000 [обор/мин]\n" +
                              UiText(1231) + "51: 0 → 9\n";
  struct Case {
    int mode;
    MessageAnswer answer;
    std::string details;
    std::vector<std::string> log;
    std::size_t writes;
  };
  const Case cases[] = {
      {2, MessageAnswer::Yes, details, {UiText(1232) + "3"}, 3},
      {2, MessageAnswer::Cancel, details, {}, 0},
      {0, MessageAnswer::Yes, "", {}, 3},
      {2, MessageAnswer::No, details, {}, 0},  // last: the link writes nothing until it reads again
  };
  host.listOrder = kOrderByFunction;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode * 10 + static_cast<int>(c.answer));
    LinkTestAccess::Block(link) = LinkTestAccess::Sent(link) = TypicalBlock();
    host.mode = c.mode;
    dialogs.messages.clear();
    dialogs.details.clear();
    linkHost.log.clear();
    dialogs.fileAnswers = {folder / "f.orvp"};
    dialogs.answers = {c.answer};
    transfer.BtnOpenParClick();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(704)});
    EXPECT_EQ(dialogs.details, std::vector<std::string>{c.details});
    EXPECT_EQ(linkHost.log, c.log);
    if (c.answer != MessageAnswer::No) {
      EXPECT_EQ(SendPending().size(), c.writes);
    }
  }
}

TEST_F(ParameterEditing, OpenWithNoStopsTheLinkAndShowsTheFileCancelChangesNothing) {
  ParameterBlock file = TypicalBlock();
  file[0] = 0x32;
  file[50] = 33;
  ASSERT_TRUE(SaveParameterFile(folder / "f.orvp", file));
  linkHost.txEnabled = true;
  dialogs.fileAnswers = {folder / "f.orvp", folder / "f.orvp"};
  dialogs.answers = {MessageAnswer::Cancel, MessageAnswer::No};
  const ParameterBlock before = link.Block();
  transfer.BtnOpenParClick();
  EXPECT_EQ(link.Block(), before);
  EXPECT_TRUE(linkHost.txEnabled);

  transfer.BtnOpenParClick();
  EXPECT_FALSE(linkHost.txEnabled);
  EXPECT_EQ(linkHost.modes, std::vector<int>{1});
  EXPECT_EQ(host.opened, "f.orvp");
  EXPECT_EQ(link.Block()[0], 0x32);
  EXPECT_EQ(link.Block()[50], 33);
  EXPECT_EQ(link.SentBlock(), before);
  EXPECT_TRUE(host.backups.empty());
}

TEST_F(ParameterEditing, ShortWronglyNamedOrMissingFilesChangeNothing) {
  std::ofstream(folder / "short.orvp", std::ios::binary) << std::string(255, 'x');
  std::ofstream(folder / "f.orvv", std::ios::binary) << std::string(256, 'x');
  dialogs.fileAnswers = {folder / "short.orvp", folder / "f.orvv", folder / "none.orvp"};
  const ParameterBlock before = link.Block();
  for (int i = 0; i < 3; ++i) transfer.BtnOpenParClick();
  EXPECT_EQ(dialogs.messages,
            (std::vector<std::string>{UiText(703) + " short.orvp", UiText(701), UiText(702)}));
  EXPECT_EQ(link.Block(), before);
  EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(ParameterEditing, FactoryResetBacksUpWritesZeroToTheTypeByteAndReadsEverything) {
  dialogs.answers = {MessageAnswer::No};
  transfer.BtnWriteParClick();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(705)});
  EXPECT_TRUE(SendPending().empty());
  EXPECT_TRUE(host.backups.empty());

  dialogs.answers = {MessageAnswer::Yes};
  transfer.BtnWriteParClick();
  EXPECT_EQ(dialogs.beeps, 2);
  ASSERT_EQ(host.backups.size(), 1u);
  ASSERT_TRUE(host.backups[0].ok);
  EXPECT_EQ(LoadParameterFile(host.backups[0].path).bytes[0], 0x64);
  EXPECT_EQ(SendPending(), (std::vector<Frame>{Write(0, 0)}));
  EXPECT_TRUE(link.Vars().readPending);
  EXPECT_EQ(link.Vars().requestIndex, 0);

  // Without a complete read of a controller there is nothing to back up.
  host.mode = 1;
  dialogs.answers = {MessageAnswer::Yes};
  transfer.BtnWriteParClick();
  EXPECT_EQ(host.backups.size(), 1u);
}

}  // namespace
