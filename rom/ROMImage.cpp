#include "rom/ROMImage.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rom/Errors.h"

TROMImage::TROMImage(const std::string& fileName) : fileName_(fileName) {
    LoadFromFile(fileName);
    modified_ = false;
}

void TROMImage::LoadFromFile(const std::string& fileName) {
    std::error_code ec;
    if (std::filesystem::is_directory(fileName, ec))
        throw EditorError("Cannot open file \"" + fileName + "\". It is a folder.");
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EditorError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EditorError("Cannot read file \"" + fileName + "\".");
    data_ = std::move(bytes);
}

bool TROMImage::WriteByte(TOffset offset, uint8_t value) {
    if (offset < 0 || offset >= Size()) return false;
    uint8_t& slot = data_[static_cast<size_t>(offset)];
    if (slot == value) return true;
    if (recording_) {
        auto [it, fresh] = journalIndex_.try_emplace(offset, journal_.size());
        if (fresh)
            journal_.push_back({offset, slot, value});
        else
            journal_[it->second].After = value;
    }
    slot = value;
    modified_ = true;
    return true;
}

namespace {
bool WriteAll(int fd, const uint8_t* p, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}
}  // namespace

bool TROMImage::SaveToFile(const std::string& fileName) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(fileName);
    // Saving through a link replaces the file it names, not the link.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    }
    struct stat st {};
    mode_t mode = 0644;
    if (::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;

    std::string tmp = target.string() + ".quillborn-XXXXXX";
    std::vector<char> tmpl(tmp.begin(), tmp.end());
    tmpl.push_back('\0');
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data_.data(), data_.size()) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmpl.data(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmpl.data());
        return false;
    }
    modified_ = false;
    return true;
}

std::string TROMImage::ByteToBin(uint8_t value) {
    std::string s(8, '0');
    for (int i = 0; i < 8; ++i)
        if (value & (0x80 >> i)) s[i] = '1';
    return s;
}

uint8_t TROMImage::BinToByte(const std::string& bits) {
    uint8_t v = 0;
    for (size_t i = 0; i < 8 && i < bits.size(); ++i)
        if (bits[i] == '1') v |= static_cast<uint8_t>(1u << i);
    return v;
}

void TROMImage::BeginRecording() {
    recording_ = true;
    journal_.clear();
    journalIndex_.clear();
}

std::vector<TByteChange> TROMImage::EndRecording() {
    recording_ = false;
    std::vector<TByteChange> out;
    out.reserve(journal_.size());
    for (const auto& c : journal_)
        if (c.Before != c.After) out.push_back(c);
    journal_.clear();
    journalIndex_.clear();
    return out;
}

void TROMImage::ApplyChanges(const std::vector<TByteChange>& changes, bool undo) {
    for (const auto& c : changes) WriteByte(c.Offset, undo ? c.Before : c.After);
}
