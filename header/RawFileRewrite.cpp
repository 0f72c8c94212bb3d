#include "header/RawFileRewrite.h"

#include <memory>

namespace {

constexpr int kTemporaryNameTries = 100;

std::wstring CopyName(const std::wstring& path, int attempt) {
    return path + (attempt == 0 ? L"" : L"." + std::to_wstring(attempt)) + L".tmp";
}

// Whether two looks at a file found it as large and last written at the same time: nobody wrote
// to it in between.
bool SameWrite(const FileFacts& first, const FileFacts& second) {
    return first.size == second.size && first.modified == second.modified;
}

RewriteRefusal RefusalOf(FileFault fault) {
    switch (fault) {
        case FileFault::Link:
            return RewriteRefusal::Link;
        case FileFault::ReadOnly:
            return RewriteRefusal::ReadOnly;
        case FileFault::InUse:
            return RewriteRefusal::InUse;
        default:
            return RewriteRefusal::CannotOpen;
    }
}

// One save of one file: the file stays open and locked from the check to the end.
class Rewrite {
  public:
    Rewrite(FileSystem& files, const RewriteRequest& request)
        : files_(files),
          request_(request),
          renaming_(request.newPath != request.currentPath),
          region_(request.before.headerRegion.size()) {}

    RewriteOutcome Run() {
        if (std::optional<RewriteOutcome> refused = Check())
            return *refused;
        return header_.size() == region_ ? InPlace() : ThroughCopy();
    }

    // Opens the file and decides whether the save may go on, writing nothing: a refusal, or
    // nothing when it may.
    std::optional<RewriteOutcome> Check() {
        FileStatus status;
        file_ = files_.Open(request_.currentPath, OpenMode::Rewrite, status);
        if (!file_)
            return Refused(RefusalOf(status.fault), status.error);
        if (status = file_->Facts(facts_); !status)
            return Refused(RewriteRefusal::CannotOpen, status.error);
        if (facts_.readOnly)
            return Refused(RewriteRefusal::ReadOnly);
        if (!IsTheFileThatWasRead())
            return Refused(RewriteRefusal::ChangedSinceRead);
        sameFile_ = renaming_ && files_.SameFile(request_.currentPath, request_.newPath);
        // A second hard link of this file at the new name would keep both names.
        if (sameFile_ && facts_.linkCount > 1)
            return Refused(RewriteRefusal::TargetExists);
        if (!request_.replaceExisting &&
            NewPathNamesAnotherFile(files_, request_.currentPath, request_.newPath))
            return Refused(RewriteRefusal::TargetExists);

        header_ = request_.exactHeader ? request_.headerText
                                       : HeaderForRegion(request_.headerText, region_);
        if (header_.size() != region_ && facts_.linkCount > 1)
            return Refused(RewriteRefusal::HardLinked);
        return std::nullopt;
    }

  private:
    // Another program may put another file under the name at any moment, even while this one
    // is held; every step that goes by the name checks it first.
    bool StillUnderItsName() { return files_.IdentityAt(request_.currentPath) == facts_.identity; }

    // Advisory locks bind only programs that take them: another one may still write to the file.
    bool NoOneWroteSince(const FileFacts& then) {
        FileFacts now;
        return file_->Facts(now) && SameWrite(now, then);
    }

    // Whether the file starts with exactly these bytes, as read through the handle held.
    bool StartsWith(const std::string& expected) {
        std::string start;
        return file_->Seek(0) && ReadUpTo(*file_, expected.size(), start) && start == expected;
    }

    // The same file, still under the name it was read from, with the same header region.
    bool IsTheFileThatWasRead() {
        return facts_.identity == request_.before.identity && StillUnderItsName() && region_ > 0 &&
               StartsWith(request_.before.headerRegion);
    }

    RewriteOutcome InPlace() {
        FileStatus status = file_->Seek(0);
        if (status)
            status = file_->Write(header_);
        if (status)
            status = file_->Flush();
        if (!status)
            return PutBack(RewriteRefusal::None, status);
        FileFacts afterWrite;
        if (!file_->Facts(afterWrite) || !StartsWith(header_))
            return PutBack(RewriteRefusal::ChangedSinceRead, {});
        const FileSnapshot written{facts_.identity, header_, facts_.size};
        // The file written may no longer be the one under the name.
        if (!renaming_ && !StillUnderItsName())
            return PutBack(RewriteRefusal::ChangedSinceRead, {});
        if (renaming_) {
            if (!NoOneWroteSince(afterWrite) || !StillUnderItsName())
                return PutBack(RewriteRefusal::ChangedSinceRead, {});
            status = files_.Rename(request_.currentPath, request_.newPath,
                                   request_.replaceExisting || sameFile_);
            if (!status)
                return PutBack(RewriteRefusal::None, status);
            if (files_.IdentityAt(request_.newPath) != facts_.identity) {
                // The name was given to another file between the check and the move.
                files_.Rename(request_.newPath, request_.currentPath, false);
                return PutBack(RewriteRefusal::ChangedSinceRead, {});
            }
            if (request_.flushFolder) {
                if (status = files_.FlushFolderOf(request_.newPath); !status)
                    return Saved(request_.newPath, written, status);
            }
        }
        const std::wstring& path = renaming_ ? request_.newPath : request_.currentPath;
        return Saved(path, written, file_->Close());
    }

    // Another program may copy the file while it holds the new header and put the copy under its
    // name (as editors and sync tools save): then the name holds the new header, whatever became
    // of the file that was written.
    std::optional<FileSnapshot> CopyUnderTheNameHoldingTheNewHeader() {
        if (StillUnderItsName())
            return std::nullopt;
        std::optional<FileSnapshot> there = TakeSnapshot(files_, request_.currentPath, region_);
        if (!there || there->headerRegion.compare(0, header_.size(), header_) != 0)
            return std::nullopt;
        there->headerRegion = header_;
        return there;
    }

    // A header written in place whose file cannot keep it, or get its new name, goes back to
    // what it was, so that a save that fails changes nothing; where even that fails, the outcome
    // says what the file now holds.
    RewriteOutcome PutBack(RewriteRefusal refusal, const FileStatus& why) {
        const std::string& old = request_.before.headerRegion;
        FileStatus status = file_->Seek(0);
        if (status)
            status = file_->Write(old);
        if (status)
            status = file_->Flush();
        if (status && StartsWith(old)) {
            if (std::optional<FileSnapshot> copied = CopyUnderTheNameHoldingTheNewHeader()) {
                if (!renaming_)
                    return Saved(request_.currentPath, std::move(*copied), why);
                return {refusal, why.error, request_.currentPath, std::move(*copied),
                        OnDisk::WrittenNotRenamed};
            }
            return {refusal, why.error, request_.currentPath, request_.before, OnDisk::Unchanged};
        }
        const std::wstring error = why.error.empty() ? status.error : why.error;
        if (StartsWith(header_))
            return {refusal,
                    error,
                    request_.currentPath,
                    {facts_.identity, header_, facts_.size},
                    renaming_ ? OnDisk::WrittenNotRenamed : OnDisk::Saved};
        return {
            refusal, error, request_.currentPath, {facts_.identity, {}, facts_.size}, OnDisk::Torn};
    }

    // A name beside the file that nothing stands at; whatever does is left alone.
    std::unique_ptr<OpenedFile> CreateTemporary(FileStatus& status) {
        for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
            temporaryPath_ = CopyName(request_.currentPath, attempt);
            std::unique_ptr<OpenedFile> copy =
                files_.Open(temporaryPath_, OpenMode::CreateNew, status);
            if (copy || status.fault != FileFault::Exists)
                return copy;
        }
        return nullptr;
    }

    // Writes the whole new file beside the old one and closes it.
    FileStatus WriteCopy(FileIdentity& identity) {
        FileStatus status;
        std::unique_ptr<OpenedFile> copy = CreateTemporary(status);
        if (!copy)
            return status;
        createdTemporary_ = true;
        FileFacts copyFacts;
        if (status = copy->CopyAccessFrom(facts_); !status)
            return status;
        if (status = copy->Write(header_); !status)
            return status;
        if (status = file_->Seek(region_); !status)
            return status;
        if (status = copy->CopyFrom(*file_); !status)
            return status;
        if (status = copy->Flush(); !status)
            return status;
        if (status = copy->Facts(copyFacts); !status)
            return status;
        identity = copyFacts.identity;
        return copy->Close();
    }

    RewriteOutcome ThroughCopy() {
        FileIdentity copyIdentity;
        if (FileStatus status = WriteCopy(copyIdentity); !status)
            return FailedCopy(status);
        if (!NoOneWroteSince(facts_))
            return FailedCopy({}, RewriteRefusal::ChangedSinceRead);
        const FileSnapshot written{copyIdentity, header_, facts_.size - region_ + header_.size()};
        if (!renaming_ || sameFile_)
            return ReplaceItself(written);
        if (FileStatus moved =
                files_.Rename(temporaryPath_, request_.newPath, request_.replaceExisting);
            !moved)
            return FailedCopy(moved);
        FileStatus flushed = FileStatus::Success();
        if (request_.flushFolder)
            flushed = files_.FlushFolderOf(request_.newPath);
        // The new file is in place; only now may the old name go.
        FileStatus why;
        const Removal removal = RemoveOldName(why);
        file_.reset();
        if (removal == Removal::Removed)
            return Saved(request_.newPath, written, flushed ? why : flushed);
        RewriteOutcome outcome = Saved(request_.newPath, written, why);
        outcome.onDisk = OnDisk::SavedOldKept;
        // The old file stays whole under its name; where the new one replaced nothing, it goes
        // again, so that a save that could not finish changes nothing.
        if (removal == Removal::Failed && !request_.replaceExisting &&
            files_.IdentityAt(request_.newPath) == copyIdentity && files_.Delete(request_.newPath))
            return {RewriteRefusal::None, why.error, request_.currentPath, request_.before};
        return outcome;
    }

    // The copy takes the file's own name. Where the system swaps two names in one step, the copy
    // and the file swap names, and swap back when what stood under the name was not this file;
    // elsewhere the name is checked just before the copy replaces it.
    RewriteOutcome ReplaceItself(const FileSnapshot& written) {
        const std::wstring& target = request_.newPath;
        if (files_.CanReplaceOpenFile() && files_.Exchange(temporaryPath_, target)) {
            if (files_.IdentityAt(temporaryPath_) != facts_.identity || !NoOneWroteSince(facts_)) {
                files_.Exchange(temporaryPath_, target);
                return FailedCopy({}, RewriteRefusal::ChangedSinceRead);
            }
            // The old file stands under the temporary name now; one that cannot be removed
            // goes back, so that no second copy is left behind.
            if (FileStatus removed = files_.Delete(temporaryPath_); !removed) {
                files_.Exchange(temporaryPath_, target);
                return FailedCopy(removed);
            }
        } else {
            if (!files_.CanReplaceOpenFile()) {
                if (FileStatus status = file_->Close(); !status)
                    return FailedCopy(status);
            }
            FileStatus status;
            const std::optional<bool> unchanged = UnchangedUnderItsName(status);
            if (!unchanged && status.fault != FileFault::Missing)
                return FailedCopy(status);
            if (unchanged != true)
                return FailedCopy({}, RewriteRefusal::ChangedSinceRead);
            if (FileStatus moved = files_.Rename(temporaryPath_, target, true); !moved)
                return FailedCopy(moved);
        }
        file_.reset();
        return Saved(target, written,
                     request_.flushFolder ? files_.FlushFolderOf(target) : FileStatus::Success());
    }

    // Asked by name, for the moment the file is no longer held: whether the name still stands
    // for it, with nothing written to it since it was opened, so that a write made meanwhile is
    // not replaced. Nothing, with `status`, when that cannot be told.
    std::optional<bool> UnchangedUnderItsName(FileStatus& status) {
        const std::unique_ptr<OpenedFile> file =
            files_.Open(request_.currentPath, OpenMode::ReadShared, status);
        FileFacts now;
        if (!file || !(status = file->Facts(now)))
            return std::nullopt;
        return now.identity == facts_.identity && SameWrite(now, facts_);
    }

    enum class Removal { Removed, KeptAsWrittenTo, Failed };

    // Whether anyone wrote to the file since; nothing, with `status`, when that cannot be told.
    std::optional<bool> WrittenSince(const FileFacts& then, FileStatus& status) {
        FileFacts now;
        if (status = file_->Facts(now); !status)
            return std::nullopt;
        return !SameWrite(now, then);
    }

    // The old name is moved aside before it is removed, so that a file another program put
    // there meanwhile is moved back, never removed.
    Removal RemoveOldName(FileStatus& why) {
        const std::optional<bool> written = WrittenSince(facts_, why);
        if (!written)
            return Removal::Failed;
        if (*written)
            return Removal::KeptAsWrittenTo;
        if (FileStatus moved = files_.Rename(request_.currentPath, temporaryPath_, false); !moved) {
            why = moved;
            return files_.Exists(request_.currentPath) ? Removal::Failed : Removal::KeptAsWrittenTo;
        }
        const std::optional<bool> writtenMeanwhile = WrittenSince(facts_, why);
        if (files_.IdentityAt(temporaryPath_) != facts_.identity || writtenMeanwhile != false) {
            files_.Rename(temporaryPath_, request_.currentPath, false);
            return writtenMeanwhile ? Removal::KeptAsWrittenTo : Removal::Failed;
        }
        if (FileStatus removed = files_.Delete(temporaryPath_); !removed) {
            files_.Rename(temporaryPath_, request_.currentPath, false);
            why = removed;
            return Removal::Failed;
        }
        if (request_.flushFolder)
            why = files_.FlushFolderOf(request_.currentPath);
        return Removal::Removed;
    }

    RewriteOutcome FailedCopy(const FileStatus& status,
                              RewriteRefusal refusal = RewriteRefusal::None) {
        if (createdTemporary_)
            files_.Delete(temporaryPath_);
        return {refusal, status.error, request_.currentPath, request_.before};
    }

    RewriteOutcome Refused(RewriteRefusal refusal, std::wstring error = {}) const {
        return {refusal, std::move(error), request_.currentPath, request_.before};
    }

    // The new header is in place under `path`; `status` tells of a step after that which failed.
    static RewriteOutcome Saved(const std::wstring& path, FileSnapshot snapshot,
                                const FileStatus& status) {
        return {RewriteRefusal::None, status.error, path, std::move(snapshot), OnDisk::Saved};
    }

    FileSystem& files_;
    const RewriteRequest& request_;
    const bool renaming_;
    const size_t region_;
    std::unique_ptr<OpenedFile> file_;
    FileFacts facts_;
    bool sameFile_ = false;
    std::string header_;
    std::wstring temporaryPath_;
    bool createdTemporary_ = false;
};

}  // namespace

bool NewPathNamesAnotherFile(FileSystem& files, const std::wstring& currentPath,
                             const std::wstring& newPath) {
    return newPath != currentPath && files.Exists(newPath) && !files.SameFile(currentPath, newPath);
}

std::string HeaderForRegion(const std::string& headerText, size_t regionLength) {
    if (headerText.size() >= regionLength)
        return headerText;
    const size_t lineEnd = headerText.ends_with("\r\n") ? headerText.size() - 2 : headerText.size();
    std::string padded = headerText;
    padded.insert(lineEnd, regionLength - headerText.size(), ' ');
    return padded;
}

std::optional<FileSnapshot> TakeSnapshot(FileSystem& files, const std::wstring& path,
                                         size_t regionLength) {
    FileStatus status;
    const std::unique_ptr<OpenedFile> file = files.Open(path, OpenMode::ReadShared, status);
    FileSnapshot snapshot;
    FileFacts facts;
    if (!file || !file->Facts(facts) || !ReadUpTo(*file, regionLength, snapshot.headerRegion))
        return std::nullopt;
    snapshot.identity = facts.identity;
    snapshot.size = facts.size;
    return snapshot;
}

RewriteOutcome RewriteRawFile(FileSystem& files, const RewriteRequest& request) {
    return Rewrite(files, request).Run();
}

std::optional<RewriteOutcome> RewriteRefusalBeforeWriting(FileSystem& files,
                                                          const RewriteRequest& request) {
    return Rewrite(files, request).Check();
}

std::vector<std::wstring> TakenCopyNames(FileSystem& files, const std::wstring& path) {
    std::vector<std::wstring> names;
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        std::wstring name = CopyName(path, attempt);
        if (!files.Exists(name))
            break;
        names.push_back(std::move(name));
    }
    return names;
}
