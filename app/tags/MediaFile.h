#pragma once
// Reading the bytes of a media tag's file: from the tag directory or the embedded store.

#include "app/tags/EmbeddedStore.h"

#include <string>
#include <vector>

// The whole file, or false with errno describing why it could not be read.
bool ReadMediaFile(const std::string& fullPath, std::vector<unsigned char>& bytes);
