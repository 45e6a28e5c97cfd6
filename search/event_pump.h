#pragma once

namespace quenstrel {

// Lets the window events that are already waiting run, then returns; never
// waits. Long passes call it once per record so the window stays alive.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void ProcessPendingEvents() = 0;
};

}  // namespace quenstrel
