#include "TestFiles.h"

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

std::wstring TemporaryDirectory::PathOf(const std::wstring& name) const {
    return (path_ / name).wstring();
}

std::wstring TemporaryDirectory::WriteFile(const std::wstring& name, std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream stream(file, std::ios::binary);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.wstring();
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream stream(std::filesystem::path(path), std::ios::binary);
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
    return std::filesystem::exists(std::filesystem::path(path));
}
