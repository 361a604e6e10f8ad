#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "link/ControllerLink.h"
#include "link/KeyLabels.h"

// How the mode panel PanelInfo looks. Colours are plain RGB (0xRRGGBB); `buttonFace` stands
// for the platform's control face colour.
struct ModePanelLook {
  bool buttonFace = true;
  std::uint32_t colour = 0;
  std::uint32_t textColour = 0;  // 0xFF0000 red when the link is stopped, else black
  std::string text;
};

// The next look of the mode panel. Some status values leave colour or text as they were,
// so the current look goes in.
ModePanelLook NextModePanelLook(const ModePanelLook& current, bool txRunning, std::uint8_t status,
                                int infoTicks);

// The switch-over message of the automatic mode (PanelAuto), or 0 when there is none, for a
// ControllerErrorCode; a later match overwrites an earlier one.
int AutoModeMessageId(std::uint8_t errorCode);

// What the supervision asks of the main window beyond the link's own requests.
class SupervisionHost {
 public:
  virtual ~SupervisionHost() = default;
  virtual bool AutoPortSearch() const = 0;        // CBCAut index 1
  virtual void ShowPortInComboBox(int port) = 0;  // CBCom, and cell (1,1) on the set-up page
  virtual void SelectSetupPage() = 0;             // TabSet down and TabSetClick
  virtual void ClearLog() = 0;
  virtual bool TakeHelpRequest() = 0;  // a pending help request, cleared when taken
  virtual void OpenHelp() = 0;
  virtual void RestoreTabCaptions() = 0;  // texts 110..115 after the F1 labels
  virtual void ShowModePanel(const ModePanelLook& look) = 0;
  virtual void HideAutoMessage() = 0;  // PanelAuto
  virtual bool ReadingsGridVisible() const = 0;
  virtual void ShowAutoMessage(const std::string& text) = 0;
  virtual void HideHintPanel() = 0;
  virtual void ShowParamAndConfigTabs() = 0;  // after the stop key
};

// Opens the port and (re)starts the link, notices when the controller stops answering, scans
// the ports when automatic port search is on and gives up after repeated losses. Driven by
// the 900 ms information tick.
class ConnectionSupervisor {
 public:
  ConnectionSupervisor(ControllerLink& link, SerialPort& port, ConnectionReport& report,
                       SupervisionHost& host);

  static constexpr int kLossThreshold = 15;
  static constexpr int kMapLossThreshold = 100;
  static constexpr int kMaxFailedReconnects = 5;
  static constexpr int kPorts = 4;

  void TimerInfoTimer();

  // PanelInfo click and F8.
  void PanelInfoClick();
  // F10; the read-parameters button also clears the log.
  void RequestReconnect();
  // The user picked port (comboIndex + 1) in CBCom.
  void CBComChange(int comboIndex);
  // Ctrl+Q.
  void StopLink();
  // F1: the page buttons show their keys for three information ticks.
  void StartKeyLabelCountdown() { keyLabels_.Start(); }
  int KeyLabelCountdown() const { return keyLabels_.ticks; }

  int InfoTicks() const { return infoTicks_; }
  const ModePanelLook& PanelLook() const { return look_; }

 private:
  void Reconnect();
  void CheckLossOfLink();
  void UpdateStatus();
  void CloseQuietly();
  void ChangePort(int port);
  int NextPort(int port) const { return port >= kPorts ? 1 : port + 1; }

  ControllerLink& link_;
  SerialPort& port_;
  ConnectionReport& report_;
  SupervisionHost& host_;
  int infoTicks_ = 0;
  ::KeyLabelCountdown keyLabels_;
  ModePanelLook look_;
  // The devices and reasons of failed opens already said since the last open that worked.
  std::set<std::pair<std::string, int>> reportedFailures_;
};
