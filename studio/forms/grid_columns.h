// The columns of the grids that hold the voice project, named once for every
// handler that reads or writes them.
#pragma once

// A file-list row (a sound or a mute).
namespace file_column {
inline constexpr int kName = 0;
inline constexpr int kRate = 1;
inline constexpr int kSize = 2;
inline constexpr int kType = 3;
inline constexpr int kPath = 5;
inline constexpr int kId = 6;
}  // namespace file_column

// A group-list row (a voice group).
namespace group_column {
inline constexpr int kLabel = 0;
inline constexpr int kEdge = 1;
inline constexpr int kHold = 2;
inline constexpr int kRetrigger = 3;
inline constexpr int kSpacer = 4;
inline constexpr int kItemList = 5;
}  // namespace group_column

// A group-table row (one entry of the selected group): columns 0 to 5 hold what it shows, 5 the entry itself.
namespace table_column {
inline constexpr int kName = 0;
inline constexpr int kRate = 1;
inline constexpr int kType = 2;
inline constexpr int kBusy = 3;
inline constexpr int kSpacer = 4;
inline constexpr int kEntry = 5;
inline constexpr int kShown = 6;
}  // namespace table_column
