#include "inspection/script_signature.h"

#include <string>

namespace vanalyzer::inspection {

bool hasMaliciousSignature(std::string_view scriptText) {
  // ASCII folding suffices: no other character lower-cases into these signatures' letters.
  std::string lowered(scriptText);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  for (std::string_view signature : {"putiantongqing", "daxunhuan"}) {
    if (lowered.find(signature) != std::string::npos) return true;
  }
  return false;
}

}  // namespace vanalyzer::inspection
