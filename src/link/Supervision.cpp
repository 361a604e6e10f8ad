#include "link/Supervision.h"

#include <cerrno>

#include "base/UiText.h"
#include "link/PortMapping.h"

namespace {
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kGrey = 0x808080;

ModePanelLook Look(bool face, std::uint32_t colour, std::string text) {
  ModePanelLook look;
  look.buttonFace = face;
  look.colour = colour;
  look.textColour = kBlack;
  look.text = std::move(text);
  return look;
}
}  // namespace

ModePanelLook NextModePanelLook(const ModePanelLook& current, bool txRunning, std::uint8_t status,
                                int infoTicks) {
  if (!txRunning) {
    ModePanelLook look = Look(true, 0, UiText(140));
    look.textColour = kRed;
    return look;
  }
  if (status == 255) return Look(true, 0, std::string());
  if (!(status & 0x80)) return Look(false, kGrey, UiText(141));

  ModePanelLook look = current;
  look.textColour = kBlack;
  if (status & 0x40) {
    switch (status & 0x1C) {
      case 4: return Look(false, kGreen, UiText(144));
      case 8: return Look(false, kMagenta, UiText(145));
      case 16: return Look(false, kRed, UiText(142));
      case 24: return Look(false, kYellow, UiText(143));
      default: return look;  // colour and text stay
    }
  }
  // Bit 6 clear: the panel blinks between the button face and the colour of bits 0 and 1.
  if (infoTicks & 1) {
    look.buttonFace = true;
    return look;
  }
  switch (status & 0x03) {
    case 1: return Look(false, kGreen, UiText(144));
    case 2: return Look(false, kRed, UiText(142));
    case 3: return Look(false, kYellow, UiText(143));
    default: return Look(true, 0, std::string());
  }
}

int AutoModeMessageId(std::uint8_t errorCode) {
  int id = 0;
  if (errorCode == 8) id = 483;
  if (errorCode & 0x10) id = 481;
  if (errorCode == 33) id = 436;
  if (errorCode == 65) id = 483;
  if (errorCode == 136) id = 484;
  return id;
}

ConnectionSupervisor::ConnectionSupervisor(ControllerLink& link, SerialPort& port, ConnectionReport& report,
                                           SupervisionHost& host)
    : link_(link), port_(port), report_(report), host_(host) {}

void ConnectionSupervisor::CloseQuietly() {
  try {
    port_.Close();
  } catch (const std::exception&) {
    // closing errors are of no interest: the port is reopened or left alone
  }
}

// A port that refused to close keeps its number; the next reconnect tries again.
void ConnectionSupervisor::ChangePort(int port) {
  try {
    port_.SetPortNum(port);
  } catch (const std::exception&) {
  }
}

void ConnectionSupervisor::TimerInfoTimer() {
  // A stopped transmit timer no longer ticks a programming run: its end comes from here.
  link_.CheckProgrammingHold(link_.TransmitClockRunning());
  if (host_.TakeHelpRequest()) host_.OpenHelp();
  if (link_.Vars().reconnectPending) {
    Reconnect();
    return;
  }
  CheckLossOfLink();
  switch (keyLabels_.Tick()) {
    case KeyLabelStep::Counting: return;
    case KeyLabelStep::RestoreCaptions: host_.RestoreTabCaptions(); break;
    case KeyLabelStep::Idle: break;
  }
  ++infoTicks_;
  host_.HideAutoMessage();
  UpdateStatus();
}

void ConnectionSupervisor::Reconnect() {
  CloseQuietly();
  const int port = port_.PortNum();
  host_.ShowPortInComboBox(port);
  std::string line = UiText(721) + std::to_string(port) + " -";
  link_.CancelReconnect();
  bool opened = true;
  std::string failureLine;
  try {
    port_.Open();
    reportedFailures_.clear();
  } catch (const std::exception& e) {
    // Why a port did not open is said once for each device and reason, in the fitter's
    // words: the open line alone would show " Ошибка" a second for a cable left out, a port
    // held by another program and a user outside the dialout group alike.
    if (const auto* comm = dynamic_cast<const EVaCommError*>(&e);
        comm && comm->Error() != 0 && reportedFailures_.insert({comm->Device(), comm->Error()}).second)
      failureLine = PortFailureLine(comm->Device(), comm->Error(), DeviceGroupName(comm->Device()));
    opened = false;
    if (host_.AutoPortSearch()) {
      link_.RequestReconnect();  // the search starts its count again
      ChangePort(NextPort(port));
    } else {
      link_.ReopenPort();
    }
  }
  line += UiText(opened ? 723 : 722);
  report_.AddLogLine(line);
  if (!failureLine.empty()) report_.AddLogLine(failureLine);

  host_.SelectSetupPage();
  report_.ShowReadProgress(100);
  link_.StartLink();
}

void ConnectionSupervisor::CheckLossOfLink() {
  const LinkVariables& v = link_.Vars();
  const int threshold = v.currentPage == Page::Map ? kMapLossThreshold : kLossThreshold;
  if (v.unansweredCount < threshold) return;

  // Before anything else can change the parameters (leaving a page may): nothing more is
  // written blindly to whatever answers next.
  link_.LinkLost();
  report_.AddLogLine(UiText(724));
  report_.ApplyConnectionMode(ConnectionMode::None);
  report_.Beep();

  link_.ForgetController();
  link_.RequestFullRead();
  link_.StartTransmitClock();
  host_.SelectSetupPage();
  report_.ShowReadProgress(100);
  report_.SetBusyCursor(false);

  if (host_.AutoPortSearch()) {
    const int port = port_.PortNum();
    report_.AddLogLine(UiText(720) + std::to_string(port));
    CloseQuietly();
    ChangePort(NextPort(port));
    link_.ReopenPort();
    return;
  }
  // A device that has gone away answers nothing until it is opened again: the information
  // tick tries that until it is back.
  if (port_.DeviceLost()) {
    CloseQuietly();
    link_.ReopenPort();
    return;
  }
  if (link_.CountFailedReconnect() > kMaxFailedReconnects) link_.GiveUp();
}

void ConnectionSupervisor::StopLink() {
  link_.GiveUp();
  host_.ShowParamAndConfigTabs();
}

void ConnectionSupervisor::UpdateStatus() {
  const LinkVariables& v = link_.Vars();
  const bool running = link_.TransmitClockRunning();
  look_ = NextModePanelLook(look_, running, v.controllerStatus, infoTicks_);
  host_.ShowModePanel(look_);
  if (!running || v.controllerStatus == 255) return;

  const bool steadyAuto = (v.controllerStatus & 0xC0) == 0xC0 && (v.controllerStatus & 0x1C) == 24;
  if (steadyAuto && host_.ReadingsGridVisible()) {
    if (const int id = AutoModeMessageId(v.controllerErrorCode)) host_.ShowAutoMessage(UiText(id));
  }
  const bool blinkingHalf = (v.controllerStatus & 0xC0) == 0x80 && (infoTicks_ & 1);
  if ((v.controllerStatus & 0x80) && !blinkingHalf) host_.HideHintPanel();
}

void ConnectionSupervisor::PanelInfoClick() {
  if (link_.TransmitClockRunning()) {
    link_.RequestModeSwitch();
  } else {
    link_.RequestReconnect();
    host_.ClearLog();
  }
}

void ConnectionSupervisor::RequestReconnect() { link_.RequestReconnect(); }

void ConnectionSupervisor::CBComChange(int comboIndex) {
  report_.ApplyConnectionMode(ConnectionMode::None);
  report_.AddLogLine(UiText(720) + std::to_string(port_.PortNum()));
  CloseQuietly();
  if (comboIndex >= 0 && comboIndex < kPorts) ChangePort(comboIndex + 1);
  link_.RequestReconnect();
}
