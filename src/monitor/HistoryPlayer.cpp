#include "monitor/HistoryPlayer.h"

#include <algorithm>

void HistoryPlayer::SetSpeedIndex(int index) {
  speedIndex_ = std::clamp(index, 0, static_cast<int>(kSpeeds.size()) - 1);
}

void HistoryPlayer::Play(int position, int restart) {
  position_ = std::clamp(position, 0, newest_);
  if (position_ >= newest_) position_ = std::clamp(restart, 0, newest_);
  playing_ = position_ < newest_;
}

void HistoryPlayer::Toggle(int position, int restart) {
  if (playing_)
    Pause();
  else
    Play(position, restart);
}

std::optional<int> HistoryPlayer::Tick() {
  if (!playing_) return std::nullopt;
  position_ = std::min(newest_, position_ + Speed());
  if (position_ == newest_) playing_ = false;
  return position_;
}

void HistoryPlayer::Scrolled(int position) {
  if (position == position_) return;
  position_ = std::clamp(position, 0, newest_);
  playing_ = false;
}
