#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "model/ParameterBlock.h"

// One parameter byte and the value the program wants the controller to hold.
struct ParameterChange {
  int index = 0;
  std::uint8_t value = 0;
  bool operator==(const ParameterChange&) const = default;
};

// How parameter writes reach the controller. A byte where the program's block differs from
// what the controller holds is written; the write counts as done only when the controller
// acknowledges it. A write still unacknowledged at the next tick goes out again with the
// byte's present value, up to kMaxSends in all; then it is given up and kept as unconfirmed.
// When the link is lost, the changes not yet acknowledged are kept the same way, and no write
// goes out until the next full read has shown which controller is at the other end.
class ParameterWrites {
 public:
  static constexpr int kMaxSends = 4;  // the first send and three more
  static constexpr int kFirstSettingByte = 16;
  static constexpr int kLastSettingByte = 104;
  // The controller counts power defects and raises error flags in these bytes itself: they
  // say nothing about which controller answers.
  static constexpr int kPowerDefectByte = 78;
  static constexpr int kErrorFlagsByte = 79;

  struct Decision {
    std::optional<ParameterChange> send;     // the write this tick sends
    std::optional<ParameterChange> givenUp;  // the write that got no acknowledgement in time
  };
  // What this tick does about writes: repeats the write in flight, or gives it up and sends the
  // lowest differing byte, or sends nothing. While writes are held nothing goes out.
  Decision Tick(ParameterBlock& block, ParameterBlock& sent);
  // The controller acknowledged the write in flight: it holds the value sent.
  void Acknowledged(ParameterBlock& sent);

  bool InFlight() const { return inFlight_.has_value(); }
  bool Held() const { return held_; }

  // The link was lost: the write in flight is forgotten (its byte still differs) and nothing
  // is written until the next full read.
  void LinkLost();
  // A full read starts: every byte still differing is kept as unconfirmed, the block takes
  // what the controller was believed to hold, and writes may go out again once it is read.
  void ReadStarts(ParameterBlock& block, const ParameterBlock& sent);

  // A full read of a controller ended. When changes were unconfirmed and it is the controller
  // the program knew (type and version equal, every setting byte that is not unconfirmed as it
  // was last known), the changes its block does not hold yet go back into the block to be
  // written again; otherwise they are returned as not delivered and nothing is sent.
  struct Outcome {
    std::vector<ParameterChange> resent;
    std::vector<ParameterChange> notDelivered;
  };
  Outcome ControllerRead(ParameterBlock& block, const ParameterBlock& read);
  // Another kind of device answered (a tester, a loader): nothing unconfirmed is sent to it.
  std::vector<ParameterChange> OtherDeviceRead();

  // The block now shows something that is not meant for the controller (a file viewed
  // without a controller): nothing pending or unconfirmed is kept, nothing is written, and the
  // next full read replaces what the block shows.
  void Forget();

  const std::map<int, std::uint8_t>& Unconfirmed() const { return unconfirmed_; }

 private:
  struct InFlightWrite {
    ParameterChange change;
    int sends = 0;
  };
  void Keep(int index, std::uint8_t value) { unconfirmed_[index] = value; }

  std::optional<InFlightWrite> inFlight_;
  std::map<int, std::uint8_t> unconfirmed_;
  ParameterBlock known_{};  // what the controller holds, as far as acknowledgements and reads tell
  bool knownValid_ = false;
  bool held_ = false;
  bool viewing_ = false;  // the block shows a file until the next full read
};
