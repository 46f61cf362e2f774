// The namespace of our own for what DXL does not carry (folder membership, explicit view entries,
// sealing keys, signatures, private views, attachment host types).
#pragma once

namespace standin::dxl {

inline constexpr const char *kOurNamespace = "urn:vorlix:standin-dxl";
inline constexpr const char *kOurPrefix = "vx";

}  // namespace standin::dxl
