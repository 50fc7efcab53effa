// Whether an operation may start for the selected chip: one whose packets
// would carry a flash driver that did not load must not go out at all, or
// every programmer would be sent a blank driver and report success.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// True when the chip uses a flash driver, its last load failed (DriverValid
// 0), and the packets of one of the states would carry it.
bool DriverMissingFor(std::span<const std::uint8_t> states);

// Why such an operation does not start: the driver file the chip needs.
std::string DriverMissingText();
