#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "header/HeaderReader.h"

// A fresh directory for one test, removed with everything in it afterwards.
class TemporaryDirectory {
  public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    // The wide path of `name` inside the directory, written with `bytes`.
    std::wstring WriteFile(const std::wstring& name, std::string_view bytes) const;
    std::wstring PathOf(const std::wstring& name) const;

  private:
    std::filesystem::path path_;
};

std::filesystem::path FileSystemPath(const std::wstring& path);
std::string ReadWholeFile(const std::wstring& path);
bool Exists(const std::wstring& path);
bool EndsWith(const std::string& text, const std::string& tail);
// The names of the files in a folder.
std::vector<std::wstring> FileNamesIn(const std::wstring& folder);

struct ShownMessage {
    ReaderMessage message;
    // The path it names, if any.
    std::wstring path;
    bool operator==(const ShownMessage&) const = default;
};

// What a read showed the user, step by step.
struct ShownRead {
    ShownRead() = default;
    explicit ShownRead(const ReaderReport& report);

    std::wstring shownPath;
    std::vector<ShownMessage> messages;
    int recordShown = 0;
    std::wstring timeOfFirstObsText;
};

// Header lines joined with CR LF, each line ended.
std::string CrLfLines(std::initializer_list<std::string_view> lines);

// Bytes that stand for observation data: they begin with a control byte, as receivers write.
std::string ObservationData(size_t size);
