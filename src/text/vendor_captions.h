// The vendor items of the chip-selection dialog's vendor group, by vendor
// index. They are layout captions, the same in both language builds.
#pragma once

inline constexpr const char* kVendorCaptions[] = {
    "AutoChip（杰发）", "Indie（英迪芯）", "LAPIS",    "AUCUiC(奥库）", "上海美仁",       "杭州领芯微",
    "中微半导体",       "SONIC（松翰）",   "旋智科技", "凌思微电子",    "矽力杰-Silergy",
};
