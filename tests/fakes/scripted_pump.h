#pragma once
#include <functional>

#include "search/event_pump.h"

namespace quenstrel {

// Counts its calls and runs a test's action at each one.
struct ScriptedPump : EventPump {
  int calls = 0;
  std::function<void(int)> onCall;
  void ProcessPendingEvents() override {
    ++calls;
    if (onCall) onCall(calls);
  }
};

}  // namespace quenstrel
