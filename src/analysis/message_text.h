// Values merged into the catalogue's Unicode messages.
#pragma once

#include <initializer_list>

#include "python/ref.h"

namespace vanalyzer::analysis {

// Unicode text for a value merged into a message: Unicode as it is; a byte string read as ASCII,
// else with the first of `encodings` that decodes it (the error of the last one is raised when
// none does). Other values are returned unchanged.
python::Ref asUnicode(const python::Ref& value, std::initializer_list<const char*> encodings);

}  // namespace vanalyzer::analysis
