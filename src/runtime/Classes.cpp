#include "runtime/Classes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/AtomicFile.h"

namespace rt {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_ != nullptr) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    NotifyRemoval();
    DestroyComponents();
    if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::NotifyRemoval() {
    if (notified_) return;
    notified_ = true;
    // Those that asked to hear of our end forget us, and we forget them.
    std::vector<TComponent*> list;
    list.swap(notifyList_);
    for (TComponent* c : list) {
        auto& theirs = c->notifyList_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        c->Notification(this, TOperation::opRemove);
    }
    if (owner_ != nullptr && !owner_->destroying_) owner_->Notification(this, TOperation::opRemove);
}

void TComponent::DestroyComponents() {
    destroying_ = true;
    while (!components_.empty()) {
        TComponent* c = components_.back();
        components_.pop_back();
        c->owner_ = nullptr;
        delete c;
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
    components_.push_back(c);
    Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
}

void TComponent::FreeNotification(TComponent* other) {
    if (other == nullptr || other == this) return;
    if (std::find(notifyList_.begin(), notifyList_.end(), other) == notifyList_.end())
        notifyList_.push_back(other);
    auto& theirs = other->notifyList_;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (other == nullptr) return;
    notifyList_.erase(std::remove(notifyList_.begin(), notifyList_.end(), other),
                      notifyList_.end());
    auto& theirs = other->notifyList_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

std::int64_t TStream::Size() {
    std::int64_t pos = Seek(0, soCurrent);
    std::int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<std::uint8_t> buf(std::size_t(std::min<std::int64_t>(count, 65536)));
    std::int64_t left = count;
    while (left > 0) {
        std::int64_t n = std::min<std::int64_t>(left, std::int64_t(buf.size()));
        source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        left -= n;
    }
    return count;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0 || pos_ >= std::int64_t(data_.size())) return 0;
    std::int64_t n = std::min<std::int64_t>(count, std::int64_t(data_.size()) - pos_);
    std::memcpy(buffer, data_.data() + pos_, std::size_t(n));
    pos_ += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    std::int64_t end = pos_ + count;
    if (end > std::int64_t(data_.size())) data_.resize(std::size_t(end));
    std::memcpy(data_.data() + pos_, buffer, std::size_t(count));
    pos_ = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = origin == soBeginning ? 0
                        : origin == soCurrent ? pos_
                                              : std::int64_t(data_.size());
    pos_ = std::max<std::int64_t>(0, base + offset);
    return pos_;
}

void TMemoryStream::Clear() {
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::SetSize(std::int64_t size) {
    data_.resize(std::size_t(std::max<std::int64_t>(0, size)));
    pos_ = std::min<std::int64_t>(pos_, size);
}

void TMemoryStream::LoadFromFile(const std::string& path) {
    data_ = ReadFileBytes(path);
    pos_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) const {
    WriteFileBytesAtomic(path, data_.data(), data_.size());
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    // Without O_NONBLOCK a FIFO would block the open until someone writes to it.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw EFOpenError("Cannot open file \"" + path + "\". It is not a regular file.");
    }
    std::vector<std::uint8_t> out;
    out.reserve(std::size_t(std::max<off_t>(st.st_size, 0)));
    std::uint8_t buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int err = errno;
            ::close(fd);
            throw EReadError("Cannot read file \"" + path + "\". " + std::strerror(err));
        }
        if (n == 0) break;
        out.insert(out.end(), buf, buf + n);
    }
    ::close(fd);
    return out;
}

void WriteFileBytesAtomic(const std::string& path, const void* data, std::size_t size) {
    try {
        base::WriteFileAtomic(path, data, size);
    } catch (const base::FileError& e) {
        if (e.step() == base::FileError::Create || e.step() == base::FileError::Refuse)
            throw EFCreateError("Cannot create file \"" + path + "\". " + e.reason());
        throw EWriteError("Cannot write file \"" + path + "\". " + e.reason() + e.LeftOverNote());
    }
}

int TStringList::IndexOf(const std::string& s) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (SameText(items_[i], s)) return int(i);
    return -1;
}

std::string TStringList::Text() const {
    std::string out;
    for (const auto& s : items_) {
        out += s;
        out += "\r\n";
    }
    return out;
}

void TStringList::SetText(const std::string& text) {
    items_.clear();
    std::size_t i = 0, start = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            items_.push_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < text.size()) items_.push_back(text.substr(start));
}

void TStringList::LoadFromFile(const std::string& path) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    SetText(std::string(bytes.begin(), bytes.end()));
}

void TStringList::SaveToFile(const std::string& path) const {
    std::string t = Text();
    WriteFileBytesAtomic(path, t.data(), t.size());
}

std::string LowerCase(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return r;
}

std::string UpperCase(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return r;
}

bool SameText(const std::string& a, const std::string& b) { return LowerCase(a) == LowerCase(b); }

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

std::string ExtractFilePath(const std::string& path) {
    std::size_t p = path.find_last_of('/');
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string ExtractFileName(const std::string& path) {
    std::size_t p = path.find_last_of('/');
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ExtractFileExt(const std::string& path) {
    std::string name = ExtractFileName(path);
    std::size_t p = name.find_last_of('.');
    return p == std::string::npos ? std::string() : name.substr(p);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    std::string folder = ExtractFilePath(path);
    std::string name = ExtractFileName(path);
    std::size_t p = name.find_last_of('.');
    if (p != std::string::npos) name.resize(p);
    return folder + name + ext;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace rt
