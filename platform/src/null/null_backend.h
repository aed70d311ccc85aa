// Driving the null backend: tests stand in for the hardware by handing it reports
// (backend_reports.h) that arrive as a display's events do, when the program next reads its queue.
#pragma once

#include <functional>

namespace plat {

// Queues `report` (calls of backend_reports.h) for the next pump of events on any thread.
void null_arrive(std::function<void()> report);

}  // namespace plat
