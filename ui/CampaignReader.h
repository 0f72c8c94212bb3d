#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "campaign/Findings.h"
#include "header/HeaderReader.h"
#include "platform/FileSystem.h"

// Files read on the worker thread, waiting for the window's thread to take them. The window is
// told in batches that grow with the campaign, not once a file, so that ten thousand files cost
// a dozen messages.
class ReadQueue {
  public:
    ReadQueue(HWND window, UINT message) : window_(window), message_(message) {}

    // How many files the reading will bring, known once the folders are listed; the files read
    // are counted from here.
    void SetTotal(size_t total) {
        total_ = total;
        read_ = 0;
    }
    size_t Total() const { return total_; }
    // The files read so far, taken or not: what the progress shows between batches.
    size_t Read() const { return read_; }

    void Push(CheckedFile file);
    // Tells the window of what is left, at the end of the reading.
    void Flush();
    // The files read since the last call, in the order they were read.
    std::deque<CheckedFile> Take();

  private:
    void Post();

    HWND window_;
    UINT message_;
    std::atomic<size_t> total_ = 0;
    std::atomic<size_t> read_ = 0;
    std::mutex mutex_;
    // A deque, so that thousands of files waiting are never held twice while they move.
    std::deque<CheckedFile> files_;
    size_t sincePost_ = 0;
    size_t posted_ = 0;
    std::chrono::steady_clock::time_point lastPost_ = std::chrono::steady_clock::now();
};

// The raw files that `paths` name: a folder stands for the raw files in it (*.TZR in any letter
// case), in name order; anything else for itself. A folder that cannot be listed goes to
// `unlisted` as a file that could not be read.
std::vector<std::wstring> RawFilesNamed(const std::vector<std::wstring>& paths,
                                        std::vector<CheckedFile>& unlisted);

// Reads each raw file that `paths` name into the queue, until cancelled. An unreadable file is
// read as such, with its reason, and the reading goes on.
void ReadRawFiles(const std::vector<std::wstring>& paths, const AntennaCatalogue& catalogue,
                  const HeaderReadOptions& options, FileSystem& files,
                  const std::atomic<bool>& cancelled, ReadQueue& queue);
