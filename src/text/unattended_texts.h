// The texts of the unattended command-line run and its result file.
#pragma once

inline constexpr const char* kProjectNotFoundFormat = "File of %s is not found!";
// The one line of "ResDW.Txt" (window_texts.h names the file).
inline constexpr const char* kDownloadSuccessLine = "Download Success";
// The result file could not be written: the system's reason follows.
inline constexpr const char* kResultFileErrorFormat = "Result File Write Error: %s";
// The project's chip needs a flash driver and none was loaded: downloading
// would hand the programmers a job they cannot program.
inline constexpr const char* kNoDriverNoDownloadText = "Flash Driver Not Loaded, Download Not Started!";
