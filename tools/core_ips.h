#pragma once
// IPS patches: our own writer and reader of the published format.
//
// A patch is "PATCH", then records, then "EOF", optionally followed by a 3-byte size that truncates the
// result. A record is a 3-byte big-endian offset and a 2-byte size; a size of 0 makes it an RLE record with a
// 2-byte count and one value. Records apply in file order.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TIPSRecord {
    uint32_t Offset = 0;
    bool RLE = false;
    uint32_t Length = 0;        // bytes written
    uint8_t Value = 0;           // RLE records
    std::vector<uint8_t> Data;   // plain records

    bool operator==(const TIPSRecord&) const = default;
};

struct TIPSPatch {
    std::vector<TIPSRecord> Records;
    std::optional<uint32_t> TruncateTo;
};

// The largest file a patch can describe: offsets have 24 bits.
constexpr size_t IPSMaxFileSize = size_t{1} << 24;
// A record at this offset would read as the "EOF" marker.
constexpr uint32_t IPSEOFOffset = 0x454F46;
constexpr uint32_t IPSMaxRecordLength = 0xFFFF;

// The smallest patch we can find that turns clean into edited (see core_ips.cpp for the cost model).
// Throws EditorError when either file is larger than IPSMaxFileSize.
std::vector<uint8_t> CreateIPS(const std::vector<uint8_t>& clean, const std::vector<uint8_t>& edited);

// The records of a patch. Throws EditorError when the bytes are not a well-formed IPS patch; name, when
// given, is the patch's file name for the message.
TIPSPatch ParseIPS(const std::vector<uint8_t>& patch, const std::string& name = "");
std::vector<uint8_t> WriteIPS(const TIPSPatch& patch);

// input with the patch applied; throws EditorError when the patch is not well formed.
std::vector<uint8_t> ApplyIPS(const std::vector<uint8_t>& patch, const std::vector<uint8_t>& input);
std::vector<uint8_t> ApplyIPS(const TIPSPatch& patch, const std::vector<uint8_t>& input);

// The same on files. The output file is written whole (temporary file and rename) or not at all;
// every failure throws EditorError with a message for the user.
void CreateIPSFile(const std::string& cleanPath, const std::string& editedPath, const std::string& patchPath);
void ApplyIPSFile(const std::string& patchPath, const std::string& inPath, const std::string& outPath);

// Helpers the file functions use, shared with the windows that write files.
std::vector<uint8_t> ReadWholeFile(const std::string& path);  // throws EditorError
void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);  // throws EditorError
