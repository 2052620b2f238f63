// Automatic backups of the map while it has unsaved changes, and the offer
// to restore them after the editor did not end cleanly.
//
// A backup is the map file's bytes written beside the map file (an untitled
// map's beside "untitled.kdm", in the working directory) as NAME.bak1 to
// NAME.bak3 in turn, through the same temporary file and rename as saving;
// nothing is built. While backups of unsaved work exist, "keldra.recovery"
// in the working directory names the map file and its newest backup. A save
// (or going back to the saved state) removes that note, a clean exit the
// note and the backups; the map file itself is never touched.
#pragma once

#include <cstdint>
#include <string>

// The minutes between backups of a modified map ("backupminutes" in
// keldra.cfg, 3 at first); 0 or less: no backups.
extern float backupMinutes;

extern const char* const kRecoveryNote;  // "keldra.recovery"

// Called now and then with the time in seconds (the frame's timer): once the
// map has stayed modified for the interval since it became modified or since
// the last backup, writes the next backup. True when one was written.
bool BackupIfDue(double nowSeconds);

// The map file is the truth again (saved, loaded, undone to the saved state):
// the recovery note goes.
void ForgetBackups();

// At start-up: when the recovery note names a backup that is there, asks
// whether to restore it; Yes loads it as a modified map under the original
// map file's name. True when a backup was restored.
bool OfferBackupRecovery();

// A clean exit: the recovery note and the backups of this run go.
void EndBackups();

// The path of backup number 1 to 3 of a map file.
std::string BackupPath(const std::string& mapPath, int number);
