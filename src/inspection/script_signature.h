// Script nodes that carry a known malicious script.
#pragma once

#include <string_view>

namespace vanalyzer::inspection {

// True when the script text, in any letter case, holds one of the known malicious signatures.
bool hasMaliciousSignature(std::string_view scriptText);

}  // namespace vanalyzer::inspection
