// The one line of "ResDW.Txt" that a successful unattended run writes
// (window_texts.h names the file); production scripts read it, so it is the
// same in both language builds.
#pragma once

inline constexpr const char* kDownloadSuccessLine = "Download Success";
