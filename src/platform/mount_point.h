#pragma once

#include <string>

// Mount point of the filesystem that holds the folder, ending in '/'; the
// folder itself when it cannot be examined.
std::string MountPointOf(const std::string& folder);
