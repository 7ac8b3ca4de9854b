#pragma once
// The ROM file held whole in memory, addressed by file offset.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

using TOffset = int64_t;

struct TByteChange {
    TOffset Offset;
    uint8_t Before;
    uint8_t After;
};

class TROMImage {
public:
    // Reads the whole file; throws EditorError when it cannot be read.
    explicit TROMImage(const std::string& fileName);
    virtual ~TROMImage() = default;
    TROMImage(const TROMImage&) = delete;
    TROMImage& operator=(const TROMImage&) = delete;

    void LoadFromFile(const std::string& fileName);

    // Outside the image reads give $FF, so every walk that stops at an $FF terminator stops.
    virtual uint8_t ReadByte(TOffset offset) const {
        return offset >= 0 && offset < static_cast<TOffset>(data_.size()) ? data_[static_cast<size_t>(offset)] : 0xFF;
    }
    // Outside the image nothing changes and the result is false.
    bool WriteByte(TOffset offset, uint8_t value);
    bool InRange(TOffset offset, TOffset length = 1) const {
        return offset >= 0 && length >= 0 && offset <= Size() - length;
    }

    // Written to a temporary file beside the target and renamed over it, so a failure leaves the old file whole.
    bool SaveToFile(const std::string& fileName);
    bool Save() { return SaveToFile(fileName_); }

    TOffset Size() const { return static_cast<TOffset>(data_.size()); }
    const std::vector<uint8_t>& Data() const { return data_; }
    const std::string& FileName() const { return fileName_; }
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }

    static std::string ByteToBin(uint8_t value);
    static uint8_t BinToByte(const std::string& bits);

    // Undo journal: while recording, the first change of each byte keeps its old value.
    void BeginRecording();
    std::vector<TByteChange> EndRecording();
    bool Recording() const { return recording_; }
    // Writes the Before (undo) or After (redo) values back.
    void ApplyChanges(const std::vector<TByteChange>& changes, bool undo);

private:
    std::string fileName_;
    bool modified_ = false;
    std::vector<uint8_t> data_;
    bool recording_ = false;
    std::vector<TByteChange> journal_;
    std::unordered_map<TOffset, size_t> journalIndex_;
};
