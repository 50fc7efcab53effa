// The whole-file targets of the HEX and S-record readers share one body:
// the file goes through the window's object or EEP data load, as the
// operator's "Load" commands run it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// extensions: the names the file may carry, chosen by an input byte.
int FuzzRecordFile(const std::uint8_t* data, std::size_t size, std::span<const std::string_view> extensions);
