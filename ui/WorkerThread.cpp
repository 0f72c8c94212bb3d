#include "ui/WorkerThread.h"

WorkerThread::~WorkerThread() {
    Cancel();
    Finish();
}

bool WorkerThread::Start(HWND window, UINT doneMessage, Work work) {
    if (busy_)
        return false;
    if (thread_.joinable())
        thread_.join();
    cancelled_ = false;
    busy_ = true;
    thread_ = std::thread([this, window, doneMessage, work = std::move(work)] {
        WPARAM threw = 0;
        // An exception must not end the process from a thread the window does not own.
        try {
            work(cancelled_);
        } catch (...) {
            threw = 1;
        }
        PostMessageW(window, doneMessage, threw, 0);
    });
    return true;
}

void WorkerThread::Finish() {
    if (thread_.joinable())
        thread_.join();
    busy_ = false;
}
