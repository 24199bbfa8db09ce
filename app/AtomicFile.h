#pragma once
// Writes a whole file so that a crash mid-write leaves the previous copy intact: the text goes
// to a temporary file beside the target, which then replaces the target in one rename.

#include <filesystem>
#include <string>

bool WriteFileAtomically(const std::filesystem::path& path, const std::string& contents);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& contents);
