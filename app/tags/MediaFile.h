#pragma once
// Reading the bytes of a media tag's file: from the tag directory or the embedded store.

#include "app/files/EmbeddedStore.h"

#include <string>
#include <system_error>
#include <vector>

// The whole file (a regular file of at most 64 MiB), or the reason it cannot be read.
std::error_code ReadMediaFile(const std::string& fullPath, std::vector<unsigned char>& bytes);
