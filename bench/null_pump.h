#pragma once
#include "search/event_pump.h"

namespace quenstrel::bench {

// A window with nothing ever waiting.
struct NullPump : EventPump {
  void ProcessPendingEvents() override {}
  bool EventsWaiting() override { return false; }
};

}  // namespace quenstrel::bench
