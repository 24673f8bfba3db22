#pragma once
// Components, streams, string lists and the exception classes of the class library.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace rt {

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

using TNotifyEvent = std::function<void(class TComponent* sender)>;

enum class TOperation { opInsert, opRemove };

// A component has an owner that frees it, a name, and may ask other components to tell it
// when they are freed (the removal notification the skin engine relies on).
class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int i) const { return components_.at(std::size_t(i)); }
    TComponent* FindComponent(const std::string& name) const;

    // After this, `other` receives Notification(this, opRemove) when this component dies,
    // and this one receives the same when `other` dies.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // True while the destructor runs (owned components are being freed).
    bool Destroying() const { return destroying_; }

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    // Frees the owned components now; a derived destructor whose children use its members
    // calls this first.
    void DestroyComponents();

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    void NotifyRemoval();

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> notifyList_;
    bool destroying_ = false;
    bool notified_ = false;
};

// Makes a component owned by `owner` (which frees it); the owner may be null for the caller
// to hold it in a unique_ptr.
template <class T, class... Args>
T* Make(TComponent* owner, Args&&... args) {
    return new T(owner, std::forward<Args>(args)...);
}

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
public:
    virtual ~TStream() = default;
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t p) { Seek(p, soBeginning); }
    std::int64_t Size();
    // Throw EReadError "Stream read error" / EWriteError "Stream write error" when short.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies count bytes from source's position (count 0: all of source from position 0).
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

class TMemoryStream : public TStream {
public:
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

    void Clear();
    void SetSize(std::int64_t size);
    const std::uint8_t* Memory() const { return data_.data(); }
    std::uint8_t* Memory() { return data_.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return data_; }
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

private:
    std::vector<std::uint8_t> data_;
    std::int64_t pos_ = 0;
};

// Reads a whole file; throws EFOpenError "Cannot open file \"<path>\". <reason>".
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
// Replaces a file in one step (base::AtomicFile): a failure never leaves half a file, and a
// symbolic link is written through; throws EFCreateError / EWriteError with the reason.
void WriteFileBytesAtomic(const std::string& path, const void* data, std::size_t size);

class TStringList {
public:
    int Count() const { return int(items_.size()); }
    const std::string& Strings(int i) const { return items_.at(std::size_t(i)); }
    void SetStrings(int i, const std::string& s) { items_.at(std::size_t(i)) = s; }
    int Add(const std::string& s) {
        items_.push_back(s);
        return Count() - 1;
    }
    void Clear() { items_.clear(); }
    void Delete(int i) { items_.erase(items_.begin() + i); }
    void Insert(int i, const std::string& s) { items_.insert(items_.begin() + i, s); }
    int IndexOf(const std::string& s) const;  // ignores ASCII letter case, like the class library
    void Assign(const TStringList& other) { items_ = other.items_; }
    // Lines joined with CR LF after each line.
    std::string Text() const;
    // Splits at CR LF, bare CR or bare LF.
    void SetText(const std::string& text);
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    const std::vector<std::string>& Items() const { return items_; }

private:
    std::vector<std::string> items_;
};

// ASCII helpers used wherever names compare without regard to letter case.
std::string LowerCase(const std::string& s);
std::string UpperCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
std::string Trim(const std::string& s);

// File name helpers in the class library's terms ("C:\a\b.txt" style logic on '/' paths).
std::string ExtractFilePath(const std::string& path);  // folder with trailing separator
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);  // from the last dot of the name, dot included
std::string ChangeFileExt(const std::string& path, const std::string& ext);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

}  // namespace rt
