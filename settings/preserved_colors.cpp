#include "settings/preserved_colors.h"

void SaveLiveColors(LiveColorSnapshot* snapshot) {
    snapshot->count = 0;
    for (int index : PreservedColorIndices) {
        if (!GetSysColorBrush(index)) continue;
        snapshot->indices[snapshot->count] = index;
        snapshot->colors[snapshot->count] = GetSysColor(index);
        ++snapshot->count;
    }
}

void RestoreChangedLiveColors(const LiveColorSnapshot& snapshot) {
    if (snapshot.count == 0) return;
    bool changed = false;
    for (int i = 0; i < snapshot.count; ++i)
        if (GetSysColorBrush(snapshot.indices[i]) && GetSysColor(snapshot.indices[i]) != snapshot.colors[i])
            changed = true;
    if (changed) SetSysColors(snapshot.count, snapshot.indices, snapshot.colors);
}
