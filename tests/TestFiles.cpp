#include "TestFiles.h"

#include "platform/CodePage.h"
#include "platform/DirectorySeparator.h"
#ifndef _WIN32
#include "platform/NativePath.h"
#endif

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

TemporaryDirectory::TemporaryDirectory() {
    static std::atomic<int> counter{0};
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("tzr-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path FileSystemPath(const std::wstring& path) {
#ifdef _WIN32
    return path;
#else
    // Without a UTF-8 locale std::filesystem cannot convert non-ASCII wide names itself.
    return NativePath(path);
#endif
}

std::wstring TemporaryDirectory::PathOf(const std::wstring& name) const {
    return path_.wstring() + kDirectorySeparator + name;
}

std::wstring TemporaryDirectory::WriteFile(const std::wstring& name, std::string_view bytes) const {
    const std::wstring file = PathOf(name);
    std::ofstream stream(FileSystemPath(file), std::ios::binary);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream stream(FileSystemPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

std::string CrLfLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string ObservationData(size_t size) {
    std::string data(size, '\0');
    std::mt19937 generator(42);
    for (char& byte : data)
        byte = static_cast<char>(generator());
    if (!data.empty())
        data[0] = '\x02';
    return data;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Exists(const std::wstring& path) {
    return std::filesystem::exists(FileSystemPath(path));
}

ShownRead::ShownRead(const ReaderReport& report) {
    for (const ReaderStep& step : report.steps) {
        switch (step.kind) {
            case ReaderStep::Kind::Path:
                shownPath = step.text;
                break;
            case ReaderStep::Kind::Message:
                messages.push_back({step.message, step.text});
                break;
            case ReaderStep::Kind::Record:
                ++recordShown;
                break;
            case ReaderStep::Kind::TimeOfFirstObs:
                timeOfFirstObsText = step.text;
                break;
        }
    }
}

std::vector<std::wstring> FileNamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(FileSystemPath(folder)))
        names.push_back(entry.path().filename().wstring());
    return names;
}
