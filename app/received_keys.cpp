#include "app/received_keys.h"

#include "app/keystrokes.h"

void ReceivedKeys::TypeAsText(bool on) {
  if (on != text_) plain_.Reset();
  text_ = on;
}

void ReceivedKeys::Rules(RuleSet rules) { records_.Rules(std::move(rules)); }

std::vector<TextKey> ReceivedKeys::Translate(const std::string& bytes) {
  return text_ ? records_.Translate(bytes, plain_) : BytesAsKeys(bytes);
}

std::vector<TextKey> ReceivedKeys::EndOfGap() { return records_.EndOfGap(); }

void ReceivedKeys::Restart() { plain_.Reset(); }
