#pragma once

namespace quenstrel {

// Lets the window events that are already waiting run, then returns; never
// waits. Long passes call it once per record so the window stays alive.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void ProcessPendingEvents() = 0;

  // Whether ProcessPendingEvents, called next, would find an event to run.
  // A pass may skip work that only a running event could observe when the
  // answer is no; a pump that cannot tell says yes.
  virtual bool EventsWaiting() { return true; }
};

}  // namespace quenstrel
