#pragma once
#include <functional>

#include "search/event_pump.h"

namespace quenstrel {

// Counts its calls and runs a test's action at each one. `waiting`, when
// set, answers whether events wait, asked with the number of the next call.
struct ScriptedPump : EventPump {
  int calls = 0;
  std::function<void(int)> onCall;
  std::function<bool(int)> waiting;
  void ProcessPendingEvents() override {
    ++calls;
    if (onCall) onCall(calls);
  }
  bool EventsWaiting() override { return !waiting || waiting(calls + 1); }
};

}  // namespace quenstrel
