// Texts of the log-configuration dialog TLogCfgForm: the rows of the items
// it sets, and the layout's own.
#pragma once

#include "text/text_id.h"

inline constexpr TTextId kLogLocationItems[] = {TTextId::LogLocationSystemItem, TTextId::LogLocationCustomerItem};
inline constexpr TTextId kLogModeItems[] = {TTextId::LogModeCreateItem, TTextId::LogModeOverwriteItem,
                                            TTextId::LogModeAppendItem};
inline constexpr const char* kLogOkCaption = "OK";
// The browse dialog: "All Log Files(*.Log,*.Txt)" showing *.log and *.Txt,
// and ".log" added to a name typed without an extension.
inline constexpr const char* kLogFileFilters[] = {"All Log Files(*.Log,*.Txt) (*.log *.Txt)"};
inline constexpr const char* kLogDefaultSuffix = "log";
