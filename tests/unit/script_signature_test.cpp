#include "inspection/script_signature.h"

#include <gtest/gtest.h>

namespace vanalyzer::inspection {
namespace {

struct ScriptCase {
  const char* script;
  bool malicious;
};

void PrintTo(const ScriptCase& c, std::ostream* out) { *out << c.script; }

class MaliciousSignature : public testing::TestWithParam<ScriptCase> {};

TEST_P(MaliciousSignature, MatchesEitherSignatureInAnyCase) {
  EXPECT_EQ(hasMaliciousSignature(GetParam().script), GetParam().malicious) << GetParam().script;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, MaliciousSignature,
    testing::Values(ScriptCase{"", false}, ScriptCase{"python(\"import maya.cmds\")", false},
                    ScriptCase{"putiantongqing", true}, ScriptCase{"// PuTianTongQing virus", true},
                    ScriptCase{"PUTIANTONGQING", true}, ScriptCase{"proc daXunHuan() {}", true},
                    ScriptCase{"DAXUNHUAN", true}, ScriptCase{"putian tongqing", false},
                    ScriptCase{"daxunhua", false}, ScriptCase{"\xe4\xb8\xad putiantongqing \xe6\x96\x87", true},
                    // Only ASCII letters fold: a full-width letter is another character.
                    ScriptCase{"\xef\xbc\xb0utiantongqing", false}));

}  // namespace
}  // namespace vanalyzer::inspection
