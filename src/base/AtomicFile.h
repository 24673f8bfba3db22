#pragma once
// Replacing a file in one step: the new content is written to a temporary file in the target's
// folder and only put in place when all of it was written and synced, so the target is always
// either the old file or the whole new one. Where the file system allows it the temporary has no
// name until it is put in place (O_TMPFILE), so nothing can be left behind whatever ends the
// process; elsewhere a named temporary is removed on failure and on SIGTERM, SIGINT and SIGHUP.

#include <cstddef>
#include <stdexcept>
#include <string>

namespace base {

// A failed step of replacing a file.
class FileError : public std::runtime_error {
public:
    enum Step { Create, Write, Commit };
    // `file` is what the error concerns: the folder when it cannot take the file, else the
    // target; `leftOver` is the temporary file that could not be removed (empty when none).
    FileError(Step step, int error, std::string file, std::string leftOver);

    Step step() const noexcept { return step_; }
    int error() const noexcept { return error_; }
    const std::string& file() const noexcept { return file_; }
    const std::string& leftOver() const noexcept { return leftOver_; }
    // The system's text for the error, e.g. "No space left on device".
    std::string reason() const;
    // " The unfinished file \"...\" could not be removed; delete it by hand." or empty.
    std::string LeftOverNote() const;

private:
    Step step_;
    int error_;
    std::string file_;
    std::string leftOver_;
};

// Text of a named temporary that could not be removed, as FileError::LeftOverNote gives it.
std::string LeftOverNote(const std::string& leftOver);

class AtomicFile {
public:
    // Prepares the replacement of `path`. A symbolic link is followed to the file it names,
    // which is the one replaced; an existing file's permission bits (and, where allowed, its
    // owner and group) carry over to the new one. Throws FileError(Create).
    explicit AtomicFile(const std::string& path);
    // Discards the new content unless Commit succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Descriptor of the temporary, for writers that position their writes themselves; it is
    // open for reading too, so that what was written can be checked before the commit.
    int Fd() const noexcept { return fd_; }
    // Appends at the descriptor's offset; throws FileError(Write).
    void Write(const void* data, std::size_t size);
    // Syncs and closes the temporary and puts it in place of the target. On failure the
    // temporary is removed and FileError(Commit) thrown.
    void Commit();
    // Drops the new content; returns the temporary's name when it could not be removed.
    std::string Discard() noexcept;

    // The file that is replaced (after following symbolic links).
    const std::string& Target() const noexcept { return target_; }
    // The named temporary's full name; empty while it has none.
    std::string TempName() const;

    // Tests use this to take the named-temporary path on file systems that offer the other.
    static void AllowUnnamedForTesting(bool allow);

private:
    void CreateNamed(const std::string& stem);
    std::string LinkUnnamed(bool toTarget);
    void Register();
    void Unregister() noexcept;

    std::string target_;
    std::string folder_;
    std::string name_;  // the target's name within its folder
    std::string temp_;  // the temporary's name within the folder; empty while unnamed
    int dirFd_ = -1;
    int fd_ = -1;
    int slot_ = -1;
    bool targetExisted_ = false;
    bool committed_ = false;
};

// Replaces `path` with `size` bytes from `data` through an AtomicFile; throws FileError.
void WriteFileAtomic(const std::string& path, const void* data, std::size_t size);

// The longest name for a temporary of `name` in a folder whose names may be `limit` bytes
// long: a dot, as much of `name` as fits (never splitting a UTF-8 sequence) and `suffix`.
std::string TempFileName(const std::string& name, const std::string& suffix, std::size_t limit);

}  // namespace base
