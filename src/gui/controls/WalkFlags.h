#pragma once

namespace vexa {

// The wizard flags the pages set and the walk reads.
struct WalkFlags {
    bool scrollText = true;  // page 133 is part of the walk
    bool floatWindow = false; // page 211 is part of the walk
    int morphPlugIn = -1;    // 0: galaxy plug-in page 199, 1: blobs plug-in page 200, else none
};

} // namespace vexa
