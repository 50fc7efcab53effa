// The texts of the device search, the link replies and the off-line start
// (typos are the program's own and stay).
#pragma once

inline constexpr const char* kSearchingDevicesText = "Searching Devices............";
inline constexpr const char* kCheckingDeviceFormat = "Checking Device %d In %s............";
inline constexpr const char* kFindDeviceFormat = "Find Device: %s!";
inline constexpr const char* kNoDeviceFoundText = "No Dvice Found!";
inline constexpr const char* kStartOfflineText = "Start Off-Line Programming......";

// What a programmer answers the link request with.
inline constexpr const char* kApplicationIdentity = "Velmot200IND";
inline constexpr const char* kBootLoaderIdentity = "Velmot200XXX-XX";
