#pragma once

#include <memory>
#include <string>

#include "platform/FileSystem.h"

// Makes the k-th file operation fail, to show that no failure loses data.
class FaultyFileSystem : public FileSystem {
  public:
    explicit FaultyFileSystem(int failAt) : failAt_(failAt) {}

    bool Injected() const { return injected_; }
    int Operations() const { return operations_; }

    std::unique_ptr<OpenedFile> Open(const std::wstring& path, OpenMode mode,
                                     FileStatus& status) override {
        if (Fail(status))
            return nullptr;
        std::unique_ptr<OpenedFile> file = SystemFileSystem().Open(path, mode, status);
        if (!file)
            return nullptr;
        return std::make_unique<FaultyFile>(*this, std::move(file));
    }
    FileStatus Delete(const std::wstring& path) override {
        FileStatus status;
        return Fail(status) ? status : SystemFileSystem().Delete(path);
    }
    FileStatus Rename(const std::wstring& from, const std::wstring& to, bool replace) override {
        FileStatus status;
        return Fail(status) ? status : SystemFileSystem().Rename(from, to, replace);
    }
    bool Exists(const std::wstring& path) override { return SystemFileSystem().Exists(path); }
    bool SameFile(const std::wstring& a, const std::wstring& b) override {
        return SystemFileSystem().SameFile(a, b);
    }

  private:
    class FaultyFile : public OpenedFile {
      public:
        FaultyFile(FaultyFileSystem& owner, std::unique_ptr<OpenedFile> file)
            : owner_(owner), file_(std::move(file)) {}
        FileStatus Write(std::string_view bytes) override {
            FileStatus status;
            return owner_.Fail(status) ? status : file_->Write(bytes);
        }
        FileStatus Read(char* buffer, size_t size, size_t& got) override {
            FileStatus status;
            return owner_.Fail(status) ? status : file_->Read(buffer, size, got);
        }
        FileStatus Seek(uint64_t offset) override {
            FileStatus status;
            return owner_.Fail(status) ? status : file_->Seek(offset);
        }
        FileStatus Flush() override {
            FileStatus status;
            return owner_.Fail(status) ? status : file_->Flush();
        }
        FileStatus Close() override {
            FileStatus status;
            return owner_.Fail(status) ? status : file_->Close();
        }
        FileStatus CopyFrom(OpenedFile& source) override {
            FileStatus status;
            if (owner_.Fail(status))
                return status;
            auto* faulty = dynamic_cast<FaultyFile*>(&source);
            return file_->CopyFrom(faulty != nullptr ? *faulty->file_ : source);
        }

      private:
        FaultyFileSystem& owner_;
        std::unique_ptr<OpenedFile> file_;
    };

    bool Fail(FileStatus& status) {
        if (++operations_ != failAt_)
            return false;
        injected_ = true;
        status = FileStatus::Failure(L"injected fault");
        return true;
    }

    int failAt_;
    int operations_ = 0;
    bool injected_ = false;
};
