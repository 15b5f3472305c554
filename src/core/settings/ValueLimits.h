#pragma once

namespace vexa {

// The longest text one value may have: a project file's value record holds 511 characters
// (512 with its terminating zero), and the pages take no longer values, so every setting made
// in the wizard can be saved as a project.
constexpr int MaxProjectValueLength = 511;

} // namespace vexa
