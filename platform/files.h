// Files named by UTF-8 paths, and the code page of the text files the editor
// shares with the outside world (keldra.cfg, debug.txt are in code page 932).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// fopen with a UTF-8 path; null when the file cannot be opened.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Reads the whole file into bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at path by bytes so that a failure never destroys the old
// file: the bytes go to a temporary file beside it, which is then renamed over
// it. With text set, "\n" is written as the platform's line end. False when
// anything failed; the old file is then as it was.
bool WriteWholeFile(const std::string& path, const std::string& bytes, bool text);

// Creates a file that did not exist before (never opens an existing one);
// null when the file exists or cannot be made. With text set, "\n" is
// written as the platform's line end.
std::FILE* CreateNewFile(const std::string& path, bool text);

// Renames the file from over the file to, replacing it when it exists.
bool ReplaceFileWith(const std::string& from, const std::string& to);

bool FileExists(const std::string& path);
// Whether the two paths name one file: the same file when both exist (links
// and other spellings included), else the same text.
bool SameFile(const std::string& a, const std::string& b);
bool RemoveFile(const std::string& path);

// Conversions between the program's UTF-8 and code page 932 (Shift-JIS).
// Bytes that cannot be converted become '?'.
std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);
