// One folder's names as the system lists them, held in one buffer with an index: a folder of a
// million files costs its names' bytes and a few words a name, not an interpreter object and a set
// slot each, and a name is looked up, or a run of names with a common start found, without making
// a Python value of any other name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace servicepaths {

class FolderListing {
 public:
  // text: a name the interpreter decodes as text; bytes: one it keeps as a byte string (2.7 keeps
  // the names of a Unicode folder's listing that do not decode as bytes).
  enum class Kind : std::uint8_t { text, bytes };

  // Names are added as listed (each once, as a folder holds each name once), then finish() orders
  // and indexes them; nothing is asked of a listing before that.
  void add(std::string_view name, Kind kind);
  void finish();

  std::size_t size() const { return entries_.size(); }
  // Entries in the order of their bytes.
  std::string_view name(std::size_t at) const;
  Kind kind(std::size_t at) const { return entries_[at].kind; }

  bool all_ascii() const { return allAscii_; }
  bool all_utf8() const { return allUtf8_; }
  // Every entry is of the given kind (true of an empty listing).
  bool all_of(Kind kind) const { return kind == Kind::text ? bytesCount_ == 0 : bytesCount_ == size(); }

  // The entry whose bytes are name.
  std::optional<std::size_t> find(std::string_view name) const;
  // [first, last) of the entries whose bytes start with prefix.
  std::pair<std::size_t, std::size_t> starting(std::string_view prefix) const;

 private:
  struct Entry {
    std::uint32_t begin;
    std::uint32_t length;
    Kind kind;
  };

  std::string text_;
  std::vector<Entry> entries_;
  std::vector<std::uint32_t> slots_;  // open addressing: entry index + 1, 0 for an empty slot
  std::size_t bytesCount_ = 0;
  bool allAscii_ = true;
  bool allUtf8_ = true;
};

// The names of a listing that equal a name ignoring letter case, by the folded spelling of each
// (as the interpreter lowers it). Most names are their own folded spelling: only the others are
// kept here, and the rest are found through the listing itself.
class FoldedNames {
 public:
  // folded(entry) gives the entry's folded spelling, or nothing where it is the name itself.
  FoldedNames(const FolderListing& listing, const std::function<std::optional<std::string>(std::size_t)>& folded);

  // The entries whose folded spelling is key (in the order of their bytes).
  std::vector<std::size_t> folding_to(const FolderListing& listing, std::string_view key) const;

 private:
  std::string text_;
  std::vector<std::pair<std::pair<std::size_t, std::size_t>, std::size_t>> others_;  // ((begin, length), entry)
  std::vector<bool> unchanged_;  // per entry: its folded spelling is its name
};

// The entries of a listing in the order of their bytes with ASCII letters lowered, to find the
// names that may start with a text ignoring letter case without trying every name of the folder.
class AsciiFoldedOrder {
 public:
  explicit AsciiFoldedOrder(const FolderListing& listing);

  // The entries (in the listing's order) that may start with prefix, an ASCII text, ignoring
  // letter case: those whose first bytes are prefix's with ASCII letters lowered, and every entry
  // with a byte past ASCII among its first prefix.size() bytes, which only the interpreter can fold
  // (its pattern matching takes U+017F for "s", for instance). A superset: the caller decides.
  std::vector<std::size_t> starting(const FolderListing& listing, std::string_view prefix) const;

 private:
  std::vector<std::uint32_t> order_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> unfoldable_;  // (entry, where its first non-ASCII byte is)
};

// The name with ASCII letters lowered, as the interpreter lowers an ASCII text; nothing for a name
// with any other byte, which only the interpreter can lower.
std::optional<std::string> ascii_lowered(std::string_view name);

// Whether the bytes are well-formed UTF-8 (no surrogates, nothing past U+10FFFF, shortest forms).
bool is_utf8(std::string_view bytes);

}  // namespace servicepaths
