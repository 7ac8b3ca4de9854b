#include "tools/core_backup.h"

#include <zip.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string FormatTime(const char* format, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char buf[128];
    const size_t n = std::strftime(buf, sizeof buf, format, &local);
    return std::string(buf, n);
}

// The size of the entry deflated at the normal level, to choose between deflate and store.
size_t DeflatedSize(const std::vector<uint8_t>& data) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return SIZE_MAX;
    std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    const size_t size = rc == Z_STREAM_END ? z.total_out : SIZE_MAX;
    deflateEnd(&z);
    return size;
}

}  // namespace

std::string BackupArchiveName(std::time_t when) { return "TMNT " + FormatTime("%d-%m-%Y %H-%M-%S", when) + ".zip"; }

bool BackupROM(const std::string& romPath, const std::string& backupDir, std::time_t when, std::string& error) {
    std::error_code ec;
    if (!fs::is_directory(backupDir, ec) && !fs::create_directories(backupDir, ec)) {
        error = "The folder \"" + backupDir + "\" cannot be created (" + ec.message() + ").";
        return false;
    }
    std::ifstream in(romPath, std::ios::binary);
    if (!in) {
        error = "The ROM file \"" + romPath + "\" cannot be read.";
        return false;
    }
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    const std::string archive = (fs::path(backupDir) / BackupArchiveName(when)).string();
    int zerr = 0;
    zip_t* za = zip_open(archive.c_str(), ZIP_CREATE, &zerr);
    if (!za) {
        zip_error_t e;
        zip_error_init_with_code(&e, zerr);
        error = "The backup \"" + archive + "\" cannot be opened: " + zip_error_strerror(&e) + ".";
        zip_error_fini(&e);
        return false;
    }
    auto fail = [&](const std::string& what) {
        error = what + ": " + zip_strerror(za) + ".";
        zip_discard(za);
        return false;
    };
    const std::string entry = fs::path(romPath).filename().string();
    if (zip_name_locate(za, entry.c_str(), 0) < 0) {
        // libzip reads the source when the archive is written, so the buffer must outlive zip_close.
        zip_source_t* src = zip_source_buffer(za, data.data(), data.size(), 0);
        if (!src) return fail("The backup cannot take the ROM");
        const zip_int64_t index = zip_file_add(za, entry.c_str(), src, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(src);
            return fail("The backup cannot take the ROM");
        }
        const bool deflate = DeflatedSize(data) < data.size();
        if (zip_set_file_compression(za, static_cast<zip_uint64_t>(index), deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, deflate ? 6 : 0) < 0)
            return fail("The backup cannot set its compression");
    }
    const std::string comment = "ZIP Created By Quillborn on: " + FormatTime("%x %X", std::time(nullptr));
    if (zip_set_archive_comment(za, comment.c_str(), static_cast<zip_uint16_t>(comment.size())) < 0)
        return fail("The backup cannot take its comment");
    // libzip writes a temporary file and renames it: the archive is whole or untouched.
    if (zip_close(za) < 0) return fail("The backup \"" + archive + "\" cannot be written");
    return true;
}
