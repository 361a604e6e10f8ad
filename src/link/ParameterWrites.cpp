#include "link/ParameterWrites.h"

namespace {
// Type and version are fixed in the controller's program, and index 0 carries the factory
// reset, which a full read always follows: neither is kept to be written again.
constexpr int kFirstKeptByte = kOptionByte;
constexpr int kLastExchangedIndex = kExchangedParameterBytes - 1;

std::uint8_t& At(ParameterBlock& block, int index) { return block[static_cast<std::size_t>(index)]; }
std::uint8_t At(const ParameterBlock& block, int index) { return block[static_cast<std::size_t>(index)]; }
}  // namespace

ParameterWrites::Decision ParameterWrites::Tick(ParameterBlock& block, ParameterBlock& sent) {
  Decision d;
  if (held_) return d;
  if (inFlight_) {
    const int index = inFlight_->change.index;
    if (inFlight_->sends < kMaxSends) {
      ++inFlight_->sends;
      inFlight_->change.value = At(block, index);
      d.send = inFlight_->change;
      return d;
    }
    d.givenUp = ParameterChange{index, At(block, index)};
    At(sent, index) = At(block, index);  // the link goes on with the next byte
    if (index >= kFirstKeptByte) Keep(index, At(block, index));
    inFlight_.reset();
  }
  for (int i = 0; i <= kLastExchangedIndex; ++i) {
    if (At(block, i) != At(sent, i)) {
      inFlight_ = InFlightWrite{{i, At(block, i)}, 1};
      d.send = inFlight_->change;
      return d;
    }
  }
  return d;
}

void ParameterWrites::Acknowledged(ParameterBlock& sent) {
  if (!inFlight_) return;
  const ParameterChange& c = inFlight_->change;
  At(sent, c.index) = c.value;
  At(known_, c.index) = c.value;
  unconfirmed_.erase(c.index);
  inFlight_.reset();
}

void ParameterWrites::LinkLost() {
  inFlight_.reset();
  held_ = true;
}

void ParameterWrites::ReadStarts(ParameterBlock& block, const ParameterBlock& sent) {
  for (int i = 0; i <= kLastExchangedIndex; ++i) {
    if (At(block, i) == At(sent, i)) continue;
    if (i >= kFirstKeptByte && !viewing_) Keep(i, At(block, i));
    At(block, i) = At(sent, i);
  }
  inFlight_.reset();
  held_ = false;
  viewing_ = false;
}

ParameterWrites::Outcome ParameterWrites::ControllerRead(ParameterBlock& block, const ParameterBlock& read) {
  Outcome o;
  if (!unconfirmed_.empty()) {
    bool same = knownValid_ && At(read, kTypeByte) == At(known_, kTypeByte) &&
                At(read, kVersionByte) == At(known_, kVersionByte);
    for (int i = kFirstSettingByte; same && i <= kLastSettingByte; ++i) {
      if (i == kPowerDefectByte || i == kErrorFlagsByte || unconfirmed_.count(i)) continue;
      same = At(read, i) == At(known_, i);
    }
    for (const auto& [index, value] : unconfirmed_) {
      if (!same) {
        o.notDelivered.push_back({index, value});
      } else if (At(read, index) != value) {
        At(block, index) = value;
        o.resent.push_back({index, value});
      }
    }
    unconfirmed_.clear();
  }
  known_ = read;
  knownValid_ = true;
  return o;
}

std::vector<ParameterChange> ParameterWrites::OtherDeviceRead() {
  std::vector<ParameterChange> lost;
  for (const auto& [index, value] : unconfirmed_) lost.push_back({index, value});
  unconfirmed_.clear();
  knownValid_ = false;
  return lost;
}

void ParameterWrites::Forget() {
  unconfirmed_.clear();
  inFlight_.reset();
  held_ = true;
  viewing_ = true;
}
