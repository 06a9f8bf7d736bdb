#pragma once
// Where the taskbar's buttons are, found through UI Automation as a client: one search of each
// taskbar's descendants that brings their bounding rectangles and control types along, run on
// a worker thread so that a busy shell never holds the window thread. The scanner owns the
// channel its workers answer on; a worker that outlives it sends into a closed channel. The
// shell is only read, never changed. Window thread only, apart from the workers.

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "base/result.hpp"
#include "render/taskbar_buttons.hpp"
#include "weather/channel.hpp"

namespace vessa {

// What one scan found on one taskbar; none when the scan failed (no UI Automation, a shell
// that did not answer within the time-outs).
struct TaskbarElements {
  HWND taskbar = nullptr;
  std::optional<std::vector<AutomationElement>> elements;
};

// The elements below `taskbar` with their bounds and control types, screen coordinates. Calls
// into the shell; any thread that has entered a COM apartment.
[[nodiscard]] Result<std::vector<AutomationElement>> scan_taskbar_elements(HWND taskbar);

// Runs the scans on one worker thread of its own, made at the first request and kept, with
// its COM apartment, automation object, search condition, cache request and each taskbar's
// root element, so that a scan costs the calls into the shell and nothing more. The worker waits on an event between scans; requests and results travel on
// lock-free channels. The scanner's end tells the worker to stop once its current scan is done
// (a scan held up by a hung shell never holds up the program's exit).
class TaskbarButtonScanner {
 public:
  using Clock = ButtonScanGate::Clock;

  TaskbarButtonScanner() = default;
  ~TaskbarButtonScanner();
  TaskbarButtonScanner(const TaskbarButtonScanner&) = delete;
  TaskbarButtonScanner& operator=(const TaskbarButtonScanner&) = delete;

  // Scans `taskbars` on the worker now when the gate allows, else as soon as it does
  // (start_pending); a finished scan posts `message` to `window`.
  void request(std::vector<HWND> taskbars, HWND window, UINT message, Clock::time_point now);
  // The timer for a pending scan fired.
  void start_pending(HWND window, UINT message, Clock::time_point now);
  // How long until a pending scan may start; none when nothing waits.
  [[nodiscard]] std::optional<std::chrono::milliseconds> pending_in(Clock::time_point now) const noexcept {
    return gate_.pending_in(now);
  }
  // The newest finished scan, when one came since the last call.
  [[nodiscard]] std::optional<std::vector<TaskbarElements>> take_finished();

  // What the worker is asked to do.
  struct Request {
    std::vector<HWND> taskbars;
    HWND window = nullptr;
    UINT message = 0;
  };
  struct Worker;

 private:
  void start(HWND window, UINT message);

  ButtonScanGate gate_;
  std::vector<HWND> wanted_;  // the taskbars of the newest request
  std::shared_ptr<Worker> worker_;
  Sender<Request> requests_;
  Receiver<std::vector<TaskbarElements>> results_;
};

}  // namespace vessa
