#pragma once
// Zip backups of the ROM file, made before each save.

#include <ctime>
#include <string>

// "TMNT dd-mm-yyyy hh-nn-ss.zip" for the given local time.
std::string BackupArchiveName(std::time_t when);

// Packs romPath, as it is on disk, into backupDir/BackupArchiveName(when) under its bare file name,
// deflated or stored, whichever is smaller. An archive that already holds an entry of that name keeps
// it; only the comment is renewed. The archive is written whole or not at all. On failure, returns
// false with the reason in error.
bool BackupROM(const std::string& romPath, const std::string& backupDir, std::time_t when, std::string& error);
