#pragma once

#include <string>

// Folder of the running executable, ending in '/'.
std::string ExecutableFolder();
