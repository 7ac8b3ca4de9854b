#include "tools/core_ips.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "rom/Errors.h"

namespace fs = std::filesystem;

// ---------------------------------------------------------------- creating a patch
//
// Cost model: a plain record costs 5 + n bytes, an RLE record 8; "PATCH", "EOF" and the truncation size
// are fixed. Records apply in order, so a patch may lay records in two layers: a bottom layer of RLE
// records, and on top of it plain and RLE records that overwrite part of them. A long run of one value
// with a few other bytes inside is then one RLE record plus small records on top, instead of a chain of
// RLE and plain records. Within each layer records do not overlap.
//
// We find the cheapest such patch by dynamic programming over the byte positions. At every position the
// state is what is open there: top layer none / plain / RLE, bottom layer none / RLE of a value. A byte
// must end up equal to the edited file: under an open top record it is (plain records copy the edited
// bytes, RLE records only continue over equal bytes); otherwise the bottom record's value must match it, or,
// with nothing open, the clean byte must already be right. For each state we keep the cheapest way to reach
// it (ties: the shorter open records, which leaves the most room below the 65535-byte limit). Over the
// top layer alone this is exact, so the result is never larger than the best patch of non-overlapping
// records; the bottom layer only adds cheaper choices.

namespace {

enum Top : uint8_t { TopNone = 0, TopPlain = 1, TopRLE = 2 };
constexpr int StateCount = 6;  // top * 2 + (bottom open ? 1 : 0)
constexpr int TopOf(int s) { return s >> 1; }
constexpr bool BottomOf(int s) { return (s & 1) != 0; }
constexpr int StateOf(int top, bool bottom) { return top * 2 + (bottom ? 1 : 0); }

struct TState {
    int64_t Cost = std::numeric_limits<int64_t>::max();
    uint32_t TopLen = 0, BottomLen = 0;
    uint8_t Value = 0;  // the bottom record's value
    bool Reached() const { return Cost != std::numeric_limits<int64_t>::max(); }
    bool BetterThan(const TState& o) const {
        if (Cost != o.Cost) return Cost < o.Cost;
        if (TopLen != o.TopLen) return TopLen < o.TopLen;
        return BottomLen < o.BottomLen;
    }
};

// Back pointer of one state at one position: the previous state and whether records opened here.
constexpr uint8_t TopOpened = 0x08, BottomOpened = 0x10, ValueFromNext = 0x20, PredMask = 0x07;

void PutOffset(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutWord(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

std::string Hex(uint64_t v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "$%llX", static_cast<unsigned long long>(v));
    return buf;
}

}  // namespace

std::vector<uint8_t> CreateIPS(const std::vector<uint8_t>& clean, const std::vector<uint8_t>& edited) {
    if (clean.size() > IPSMaxFileSize || edited.size() > IPSMaxFileSize)
        throw EditorError("An IPS patch cannot describe files larger than 16 MiB.");
    const size_t cleanLen = clean.size(), len = edited.size();
    auto must = [&](size_t i) { return i >= cleanLen || clean[i] != edited[i]; };

    size_t first = 0;
    while (first < len && !must(first)) ++first;
    size_t last = len;
    while (last > first && !must(last - 1)) --last;

    TIPSPatch patch;
    if (first < last) {
        // One position earlier, so that a first change at the "EOF" offset can start a record before it.
        const size_t lo = first > 0 ? first - 1 : 0, hi = last;
        std::vector<std::array<uint8_t, StateCount>> back(hi - lo);
        std::array<TState, StateCount> cur{}, next{};
        cur[StateOf(TopNone, false)].Cost = 0;

        for (size_t i = lo; i < hi; ++i) {
            const uint8_t e = edited[i];
            const bool mustHere = must(i);
            const bool canOpen = i != IPSEOFOffset;
            // A plain record that reaches the "EOF" offset must be able to go on over it, since no record
            // can start there.
            const uint32_t plainLimit = i + 1 == IPSEOFOffset ? IPSMaxRecordLength - 1 : IPSMaxRecordLength;
            next.fill(TState{});
            auto& bp = back[i - lo];
            bp.fill(0);
            auto offer = [&](int ns, const TState& cand, int ps, uint8_t flags) {
                if (!next[ns].Reached() || cand.BetterThan(next[ns])) {
                    next[ns] = cand;
                    bp[ns] = static_cast<uint8_t>(ps | flags);
                }
            };
            for (int ps = 0; ps < StateCount; ++ps) {
                const TState& p = cur[ps];
                if (!p.Reached()) continue;
                const int pTop = TopOf(ps);
                const bool pBottom = BottomOf(ps);

                // Top layer choices for byte i: cost added, new length, opened here.
                struct TTopChoice {
                    int top;
                    int64_t cost;
                    uint32_t len;
                    bool opened;
                };
                TTopChoice tops[5];
                int nTops = 0;
                tops[nTops++] = {TopNone, 0, 0, false};
                if (pTop == TopPlain && p.TopLen + 1 <= plainLimit) tops[nTops++] = {TopPlain, 1, p.TopLen + 1, false};
                if (canOpen) tops[nTops++] = {TopPlain, 6, 1, true};
                if (pTop == TopRLE && edited[i - 1] == e && p.TopLen < IPSMaxRecordLength) tops[nTops++] = {TopRLE, 0, p.TopLen + 1, false};
                if (canOpen) tops[nTops++] = {TopRLE, 8, 1, true};

                for (int t = 0; t < nTops; ++t) {
                    const TTopChoice& tc = tops[t];
                    // Bottom layer: closed, carried on, or opened here with this byte's value.
                    if (tc.top != TopNone || !mustHere) {
                        TState c = p;
                        c.Cost += tc.cost;
                        c.TopLen = tc.len;
                        c.BottomLen = 0;
                        offer(StateOf(tc.top, false), c, ps, tc.opened ? TopOpened : 0);
                    }
                    if (pBottom && p.BottomLen < IPSMaxRecordLength && (tc.top != TopNone || p.Value == e)) {
                        TState c = p;
                        c.Cost += tc.cost;
                        c.TopLen = tc.len;
                        c.BottomLen = p.BottomLen + 1;
                        offer(StateOf(tc.top, true), c, ps, tc.opened ? TopOpened : 0);
                    }
                    // A bottom record starts where it shows, so its value is this byte's; where it would
                    // show first at the "EOF" offset it starts one byte earlier, under the top layer or over
                    // an equal byte.
                    if (tc.top == TopNone && canOpen) {
                        TState c = p;
                        c.Cost += 8;
                        c.TopLen = 0;
                        c.BottomLen = 1;
                        c.Value = e;
                        offer(StateOf(TopNone, true), c, ps, BottomOpened);
                    }
                    if (i + 1 == IPSEOFOffset && i + 1 < hi && (tc.top != TopNone || edited[i + 1] == e)) {
                        TState c = p;
                        c.Cost += tc.cost + 8;
                        c.TopLen = tc.len;
                        c.BottomLen = 1;
                        c.Value = edited[i + 1];
                        offer(StateOf(tc.top, true), c, ps, static_cast<uint8_t>(BottomOpened | ValueFromNext | (tc.opened ? TopOpened : 0)));
                    }
                }
            }
            cur = next;
        }

        int best = -1;
        for (int s = 0; s < StateCount; ++s)
            if (cur[s].Reached() && (best < 0 || cur[s].BetterThan(cur[best]))) best = s;
        if (best < 0) throw EditorError("The IPS patch could not be built.");  // unreachable: plain records always fit

        // Walk back, collecting records of both layers.
        std::vector<TIPSRecord> bottom, top;
        int s = best;
        size_t topEnd = hi, bottomEnd = hi;
        for (size_t i = hi; i-- > lo;) {
            const uint8_t b = back[i - lo][s];
            const int ps = b & PredMask;
            if (TopOf(s) != TopNone && (b & TopOpened)) {
                TIPSRecord r;
                r.Offset = static_cast<uint32_t>(i);
                r.Length = static_cast<uint32_t>(topEnd - i);
                r.RLE = TopOf(s) == TopRLE;
                if (r.RLE)
                    r.Value = edited[i];
                else
                    r.Data.assign(edited.begin() + static_cast<std::ptrdiff_t>(i), edited.begin() + static_cast<std::ptrdiff_t>(topEnd));
                top.push_back(std::move(r));
            }
            if (TopOf(ps) != TopNone && (TopOf(s) == TopNone || (b & TopOpened))) topEnd = i;
            if (BottomOf(s) && (b & BottomOpened)) {
                TIPSRecord r;
                r.Offset = static_cast<uint32_t>(i);
                r.Length = static_cast<uint32_t>(bottomEnd - i);
                r.RLE = true;
                r.Value = edited[(b & ValueFromNext) ? i + 1 : i];
                bottom.push_back(std::move(r));
            }
            if (BottomOf(ps) && (!BottomOf(s) || (b & BottomOpened))) bottomEnd = i;
            s = ps;
        }
        // Bottom records first, so that the top layer overwrites them.
        std::reverse(bottom.begin(), bottom.end());
        std::reverse(top.begin(), top.end());
        patch.Records = std::move(bottom);
        patch.Records.insert(patch.Records.end(), std::make_move_iterator(top.begin()), std::make_move_iterator(top.end()));
    }
    if (len < cleanLen) patch.TruncateTo = static_cast<uint32_t>(len);
    return WriteIPS(patch);
}

std::vector<uint8_t> WriteIPS(const TIPSPatch& patch) {
    std::vector<uint8_t> out = {'P', 'A', 'T', 'C', 'H'};
    for (const TIPSRecord& r : patch.Records) {
        if (r.Offset >= IPSMaxFileSize || r.Offset == IPSEOFOffset)
            throw EditorError("An IPS record cannot start at offset " + Hex(r.Offset) + ".");
        if (r.Length == 0 || r.Length > IPSMaxRecordLength || (!r.RLE && r.Data.size() != r.Length))
            throw EditorError("An IPS record cannot hold " + std::to_string(r.Length) + " bytes.");
        PutOffset(out, r.Offset);
        if (r.RLE) {
            PutWord(out, 0);
            PutWord(out, r.Length);
            out.push_back(r.Value);
        } else {
            PutWord(out, r.Length);
            out.insert(out.end(), r.Data.begin(), r.Data.end());
        }
    }
    out.insert(out.end(), {'E', 'O', 'F'});
    if (patch.TruncateTo) {
        if (*patch.TruncateTo >= IPSMaxFileSize) throw EditorError("An IPS patch cannot truncate to " + Hex(*patch.TruncateTo) + ".");
        PutOffset(out, *patch.TruncateTo);
    }
    return out;
}

// ---------------------------------------------------------------- reading and applying

TIPSPatch ParseIPS(const std::vector<uint8_t>& p, const std::string& name) {
    auto fail = [&](const std::string& why) {
        return EditorError((name.empty() ? std::string("This is not") : "\"" + name + "\" is not") + " a valid IPS patch: " + why);
    };
    if (p.size() < 5 || std::memcmp(p.data(), "PATCH", 5) != 0) throw fail("it does not begin with \"PATCH\".");
    auto at3 = [&](size_t pos) { return (uint32_t{p[pos]} << 16) | (uint32_t{p[pos + 1]} << 8) | p[pos + 2]; };
    auto at2 = [&](size_t pos) { return (uint32_t{p[pos]} << 8) | p[pos + 1]; };
    TIPSPatch patch;
    size_t pos = 5;
    for (;;) {
        if (pos + 3 > p.size()) throw fail("it ends without the \"EOF\" marker.");
        const uint32_t offset = at3(pos);
        if (offset == IPSEOFOffset) {
            pos += 3;
            break;
        }
        if (pos + 5 > p.size()) throw fail("the record at patch byte " + std::to_string(pos) + " is cut off.");
        TIPSRecord r;
        r.Offset = offset;
        const uint32_t size = at2(pos + 3);
        if (size != 0) {
            if (pos + 5 + size > p.size()) throw fail("the record at patch byte " + std::to_string(pos) + " reaches past the end of the file.");
            r.Length = size;
            r.Data.assign(p.begin() + static_cast<std::ptrdiff_t>(pos + 5), p.begin() + static_cast<std::ptrdiff_t>(pos + 5 + size));
            pos += 5 + size;
        } else {
            if (pos + 8 > p.size()) throw fail("the record at patch byte " + std::to_string(pos) + " reaches past the end of the file.");
            r.RLE = true;
            r.Length = at2(pos + 5);
            r.Value = p[pos + 7];
            pos += 8;
        }
        patch.Records.push_back(std::move(r));
    }
    const size_t rest = p.size() - pos;
    if (rest == 3)
        patch.TruncateTo = at3(pos);
    else if (rest != 0)
        throw fail(std::to_string(rest) + " unexpected bytes follow the \"EOF\" marker.");
    return patch;
}

std::vector<uint8_t> ApplyIPS(const std::vector<uint8_t>& patchBytes, const std::vector<uint8_t>& input) {
    return ApplyIPS(ParseIPS(patchBytes), input);
}

std::vector<uint8_t> ApplyIPS(const TIPSPatch& patch, const std::vector<uint8_t>& input) {
    std::vector<uint8_t> out = input;
    for (const TIPSRecord& r : patch.Records) {
        if (r.Length == 0) continue;  // an empty RLE record writes nothing
        const size_t end = size_t{r.Offset} + r.Length;
        // Records past the end grow the file; a gap between is zero-filled.
        if (end > out.size()) out.resize(end, 0);
        if (r.RLE)
            std::fill(out.begin() + r.Offset, out.begin() + static_cast<std::ptrdiff_t>(end), r.Value);
        else
            std::copy(r.Data.begin(), r.Data.end(), out.begin() + r.Offset);
    }
    if (patch.TruncateTo) out.resize(*patch.TruncateTo, 0);
    return out;
}

// ---------------------------------------------------------------- files

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) throw EditorError("Cannot open file \"" + path + "\". It is a folder.");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EditorError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EditorError("Cannot read file \"" + path + "\".");
    return bytes;
}

void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    fs::path target(path);
    // Writing through a link replaces the file it names, not the link.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    }
    mode_t mode;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    std::string tmpl = target.string() + ".quillborn-XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) throw EditorError("The file \"" + path + "\" cannot be written. " + std::strerror(errno));
    bool ok = true;
    const uint8_t* data = bytes.data();
    size_t left = bytes.size();
    while (ok && left > 0) {
        const ssize_t w = ::write(fd, data, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            ok = false;
        } else {
            data += w;
            left -= static_cast<size_t>(w);
        }
    }
    int savedErrno = ok ? 0 : errno;
    if (ok && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)) {
        ok = false;
        savedErrno = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(tmpl.c_str(), target.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(tmpl.c_str());
        throw EditorError("The file \"" + path + "\" cannot be written. " + std::strerror(savedErrno));
    }
}

void CreateIPSFile(const std::string& cleanPath, const std::string& editedPath, const std::string& patchPath) {
    const std::vector<uint8_t> clean = ReadWholeFile(cleanPath);
    const std::vector<uint8_t> edited = ReadWholeFile(editedPath);
    WriteFileAtomically(patchPath, CreateIPS(clean, edited));
}

void ApplyIPSFile(const std::string& patchPath, const std::string& inPath, const std::string& outPath) {
    // The patch is checked whole before anything is written.
    const TIPSPatch patch = ParseIPS(ReadWholeFile(patchPath), patchPath);
    WriteFileAtomically(outPath, ApplyIPS(patch, ReadWholeFile(inPath)));
}
