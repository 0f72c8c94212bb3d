#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

// One piece of work beside the window's thread, so that the window keeps answering. The window
// learns by a message that the work has ended, and the work never outlives its owner.
class WorkerThread {
  public:
    using Work = std::function<void(const std::atomic<bool>& cancelled)>;

    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs `work` and posts `doneMessage` to `window` when it returns, with wParam 1 when it
    // threw. False, starting nothing, while earlier work still runs.
    bool Start(HWND window, UINT doneMessage, Work work);
    // Whether work was started and its end not yet taken by Finish.
    bool Busy() const { return busy_; }
    // Asks the work to stop at its next chance.
    void Cancel() { cancelled_ = true; }
    // Waits for the work to end, so that what it left may be read.
    void Finish();

  private:
    std::thread thread_;
    std::atomic<bool> cancelled_ = false;
    bool busy_ = false;
};
