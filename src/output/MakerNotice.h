// The maker's notice carried by the HEC-1 deck (as a KM record) and the printed report.
#pragma once

namespace rh {

inline constexpr const char* kMakerNotice = "(C) 2026 ORVANE ENGINEERING COMPANY";

}  // namespace rh
