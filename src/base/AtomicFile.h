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
    // Refuse: the target is not a file this writer may replace (a device, a pipe, a link
    // another user made in a shared folder, ...); reason() says what it is.
    enum Step { Create, Write, Commit, Refuse };
    // `file` is what the error concerns: the folder when it cannot take the file, else the
    // target; `leftOver` is the temporary file that could not be removed (empty when none);
    // `why`, when given, is the reason in place of the system's text for `error`.
    FileError(Step step, int error, std::string file, std::string leftOver, std::string why = {});

    Step step() const noexcept { return step_; }
    int error() const noexcept { return error_; }
    const std::string& file() const noexcept { return file_; }
    const std::string& leftOver() const noexcept { return leftOver_; }
    // The system's text for the error, e.g. "No space left on device", or the refusal's.
    std::string reason() const;
    // " The unfinished file \"...\" could not be removed; delete it by hand." or empty.
    std::string LeftOverNote() const;

private:
    Step step_;
    int error_;
    std::string file_;
    std::string leftOver_;
    std::string why_;
};

// Text of a named temporary that could not be removed, as FileError::LeftOverNote gives it.
std::string LeftOverNote(const std::string& leftOver);

class AtomicFile {
public:
    // Prepares the replacement of `path`, a regular file or a name not yet taken. The target
    // is looked at relative to its folder without following it. A symbolic link there is
    // followed (by the system, which applies its own protections) only when it is the user's
    // own, or its folder's owner's in a folder nobody else may write to; the file it leads to
    // is the one replaced, and one that does not exist yet is made. A device, a pipe, a
    // socket, a folder, a link of someone else's in a shared folder and a file the user may
    // not write to are refused: FileError(Refuse). An existing file's permission bits (and,
    // where allowed, its owner and group) carry over to the new one. Throws FileError(Create)
    // when the folder cannot take the file.
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

    // The file that is replaced (where a followed link leads).
    const std::string& Target() const noexcept { return target_; }
    // The named temporary's full name; empty while it has none.
    std::string TempName() const;

    // Tests use this to take the named-temporary path on file systems that offer the other.
    static void AllowUnnamedForTesting(bool allow);

private:
    void Resolve(const std::string& path);
    void OpenFolder(const std::string& path);
    void DropPlaceholder() noexcept;
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
    // An empty file made through a dangling link to learn where it leads; it goes again unless
    // the new content takes its place.
    bool placeholder_ = false;
    unsigned long long targetDev_ = 0, targetIno_ = 0;
    unsigned targetMode_ = 0, targetUid_ = 0, targetGid_ = 0;
};

// Replaces `path` with `size` bytes from `data` through an AtomicFile; throws FileError.
void WriteFileAtomic(const std::string& path, const void* data, std::size_t size);

// The longest name for a temporary of `name` in a folder whose names may be `limit` bytes
// long: a dot, as much of `name` as fits (never splitting a UTF-8 sequence) and `suffix`.
std::string TempFileName(const std::string& name, const std::string& suffix, std::size_t limit);

}  // namespace base
