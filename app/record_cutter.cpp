#include "app/record_cutter.h"

void RecordCutter::Reset() {
  pending_.clear();
  afterCR_ = false;
  overlong_ = false;
}

std::vector<RecordPiece> RecordCutter::Cut(const std::string& bytes) {
  std::vector<RecordPiece> pieces;
  std::string passOn;  // bytes of an overlong record, handed on in one piece
  for (const char c : bytes) {
    const bool wasAfterCR = afterCR_;
    afterCR_ = c == '\r';
    if (c == '\n' && wasAfterCR) continue;
    const bool lineEnd = c == '\r' || c == '\n';
    if (overlong_) {
      passOn += c;
      if (lineEnd) {
        pieces.push_back({RecordPiece::Kind::AsItCame, std::move(passOn), {}});
        passOn.clear();
        overlong_ = false;
      }
      continue;
    }
    if (lineEnd) {
      pieces.push_back({RecordPiece::Kind::Record, std::move(pending_), std::string(1, c)});
      pending_.clear();
      continue;
    }
    pending_ += c;
    if (pending_.size() > kLongestRecord) {
      passOn = std::move(pending_);
      pending_.clear();
      overlong_ = true;
    }
  }
  if (!passOn.empty()) pieces.push_back({RecordPiece::Kind::AsItCame, std::move(passOn), {}});
  return pieces;
}

std::vector<RecordPiece> RecordCutter::EndOfGap() {
  std::vector<RecordPiece> pieces;
  if (!pending_.empty()) pieces.push_back({RecordPiece::Kind::Record, std::move(pending_), {}});
  pending_.clear();
  overlong_ = false;
  return pieces;
}
