#pragma once
// Received bytes cut into records: a record ends at CR, LF or CR LF, or when
// the device has been silent for the record gap (the window's timer says so).
#include <cstddef>
#include <string>
#include <vector>

// One piece of the received stream, in order.
struct RecordPiece {
  enum class Kind {
    Record,    // a whole record: `bytes` without its line end
    AsItCame,  // bytes of a record too long for the rules, passed on unchanged
  };
  Kind kind;
  std::string bytes;
  // The record's line end ("\r" or "\n"; empty when the gap ended it). The LF
  // of a CR LF is not waited for: it is dropped when it comes.
  std::string lineEnd;
  bool operator==(const RecordPiece&) const = default;
};

class RecordCutter {
 public:
  // Longest record the rules see. Longer ones go out as they came, from the
  // moment they pass this length: the rules' time grows with the record's
  // length, and a stream without line ends must not pile up.
  static constexpr std::size_t kLongestRecord = 1024;

  std::vector<RecordPiece> Cut(const std::string& bytes);
  // The device was silent for the gap: the open record ends here.
  std::vector<RecordPiece> EndOfGap();
  // A record has begun and not yet ended.
  bool Open() const { return !pending_.empty() || overlong_; }
  void Reset();

 private:
  std::string pending_;
  bool afterCR_ = false;
  bool overlong_ = false;
};
