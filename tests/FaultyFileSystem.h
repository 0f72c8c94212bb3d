#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

// Makes the k-th file operation fail, to show that no failure loses data; or every operation
// from the k-th on, as a process killed there would leave things; or runs something else just
// before the k-th operation, to show what happens when another save comes between.
class FaultyFileSystem : public FileSystem {
  public:
    explicit FaultyFileSystem(int failAt, std::function<void()> interleaved = {})
        : failAt_(failAt), interleaved_(std::move(interleaved)) {}

    static FaultyFileSystem KilledAt(int step) {
        FaultyFileSystem files(step);
        files.killed_ = true;
        return files;
    }

    bool Injected() const { return injected_; }

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
    FileStatus Exchange(const std::wstring& first, const std::wstring& second) override {
        FileStatus status;
        return Fail(status) ? status : SystemFileSystem().Exchange(first, second);
    }
    FileStatus FlushFolderOf(const std::wstring& path) override {
        FileStatus status;
        return Fail(status) ? status : SystemFileSystem().FlushFolderOf(path);
    }
    std::optional<FileIdentity> IdentityAt(const std::wstring& path) override {
        return SystemFileSystem().IdentityAt(path);
    }
    bool CanReplaceOpenFile() const override { return SystemFileSystem().CanReplaceOpenFile(); }

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
        FileStatus Facts(FileFacts& facts) override {
            FileStatus status;
            return owner_.Fail(status) ? status : file_->Facts(facts);
        }
        FileStatus CopyAccessFrom(const FileFacts& original) override {
            FileStatus status;
            return owner_.Fail(status) ? status : file_->CopyAccessFrom(original);
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
        ++operations_;
        if (killed_ && operations_ >= failAt_) {
            injected_ = true;
            status = FileStatus::Failure(L"killed");
            return true;
        }
        if (operations_ != failAt_)
            return false;
        injected_ = true;
        if (interleaved_) {
            interleaved_();
            return false;
        }
        status = FileStatus::Failure(L"injected fault");
        return true;
    }

    int failAt_;
    std::function<void()> interleaved_;
    int operations_ = 0;
    bool injected_ = false;
    bool killed_ = false;
};
