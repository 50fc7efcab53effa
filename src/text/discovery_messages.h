// What a programmer answers the link request with: wire data, the same in
// both language builds.
#pragma once

inline constexpr const char* kApplicationIdentity = "Velmot200IND";
inline constexpr const char* kBootLoaderIdentity = "Velmot200XXX-XX";
