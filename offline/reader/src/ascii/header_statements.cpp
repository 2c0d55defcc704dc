// The scene-wide statements at the head of a file: requires, fileInfo, currentUnit, file.
#include "statement_reader.h"

namespace mayascene {
namespace detail {

namespace {

const std::string& argument(const Token* t) { return t != nullptr ? t->text : Args::none.text; }

}  // namespace

void Reader::requires_(const Token& command) {
  const Args& args = args_;
  if (args.positionals.empty()) lex_.fail(command.line, command.column, "requires without a plug-in name");
  const std::string version = args.positionals.size() >= 2 ? args.positionals[1]->text : std::string();
  if (args.positionals[0]->kind == TokenKind::Word && args.positionals[0]->text == "maya") {
    scene_.required_maya = version;
    return;
  }
  Requirement r;
  r.plugin = args.positionals[0]->text;
  r.version = version;
  for (const auto& f : args.flags) {
    if (one_of(f.first, {"nodeType", "nt"})) r.node_types.push_back(argument(f.second));
    if (one_of(f.first, {"dataType", "dt"})) r.data_types.push_back(argument(f.second));
  }
  scene_.requires_.push_back(std::move(r));
}

void Reader::file_info() {
  const Args& args = args_;
  if (args.positionals.size() >= 2 && args.flags.empty()) {
    scene_.file_info.emplace_back(args.positionals[0]->text, args.positionals[1]->text);
  }
}

void Reader::current_unit() {
  for (const auto& f : args_.flags) {
    if (one_of(f.first, {"l", "linear"})) scene_.units["linear"] = argument(f.second);
    if (one_of(f.first, {"a", "angle"})) scene_.units["angle"] = argument(f.second);
    if (one_of(f.first, {"t", "time"})) scene_.units["time"] = argument(f.second);
  }
}

void Reader::file() {
  const Args& args = args_;
  const Token* depth = args.flag({"rdi", "referenceDepthInfo"});
  const bool top = args.has({"r", "reference"});
  if ((depth == nullptr && !top) || args.positionals.empty()) return;
  Reference ref;
  ref.path = args.positionals.back()->text;
  ref.top_level = top;
  if (depth != nullptr) {
    const Value v = word_value(depth->text);
    ref.depth = v.kind == Value::Kind::Int ? static_cast<int>(v.i) : 0;
  }
  if (const Token* ns = args.flag({"ns", "namespace"})) ref.ns = ns->text;
  if (const Token* rpr = args.flag({"rpr", "renamingPrefix"})) ref.prefix = rpr->text;
  if (const Token* rfn = args.flag({"rfn", "referenceNode"})) ref.reference_node = rfn->text;
  if (const Token* typ = args.flag({"typ", "type"})) ref.type = typ->text;
  if (const Token* op = args.flag({"op", "options"})) ref.options = op->text;
  if (const Token* dr = args.flag({"dr", "deferReference"})) ref.deferred = dr->text == "1" || dr->text == "true";
  scene_.references.push_back(std::move(ref));
}

}  // namespace detail
}  // namespace mayascene
