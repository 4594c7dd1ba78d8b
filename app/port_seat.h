#pragma once
// What a running port needs of the window that shows it: the port reads,
// cuts and translates; the window types, shows and tells the user. A port
// talks to its window only through this, so a test (or a second port) can
// sit in the window's place.
#include <string>
#include <vector>

#include "app/text_keys.h"

class PortSeat {
 public:
  // Keys for the window in front, in order, through the one typing queue.
  virtual void TypeKeys(std::vector<TextKey> keys) = 0;
  // One batch was read (its bytes; empty when it took none).
  virtual void BatchRead(const std::string& bytes) = 0;
  // Keys were queued outside a batch (a record ended by the gap).
  virtual void KeysQueued() = 0;
  // The port stopped answering and is waited for; it is back.
  virtual void PortLost(const std::string& name) = 0;
  virtual void PortBack(const std::string& name) = 0;

 protected:
  ~PortSeat() = default;
};
