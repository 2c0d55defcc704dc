// The attribute values of one node, kept compactly: one byte buffer per node holding its entries
// (attribute path, kind, value) back to back, a few bytes each beyond their texts. A scene of a
// million nodes keeps its values in about the bytes the file spends on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mayascene {

// A stored attribute value, as the readers hand it over and the command layer reads it. Only what
// the command layer can be asked for is kept: scalars, strings, string arrays and short tuples.
struct Value {
  // Span: a text longer than the cap on stored values, left in the file: `i` is the byte offset of
  // its first token (the quote, or the '(' of a concatenation), `length` its length once read
  // (read_span in reader.h reads it).
  enum class Kind { Bool, Int, Double, String, StringArray, Tuple, Span };
  Kind kind = Kind::Int;
  bool b = false;
  std::int64_t i = 0;
  double d = 0.0;
  std::string s;              // String; also the bare word of a Tuple item that is no number
  std::vector<Value> items;   // StringArray (String items) and Tuple
  std::uint64_t length = 0;   // Span

  static Value boolean(bool v);
  static Value integer(std::int64_t v);
  static Value real(double v);
  static Value string(std::string v);
  static Value span(std::int64_t offset, std::uint64_t length);
  bool operator==(const Value& o) const;
  bool operator!=(const Value& o) const { return !(*this == o); }
};

// A byte buffer of one pointer: size and capacity live in its heap block, none when empty, so
// that a node without attributes spends eight bytes on them.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  ByteBuffer(const ByteBuffer& other);
  ByteBuffer& operator=(const ByteBuffer& other);
  ByteBuffer(ByteBuffer&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ~ByteBuffer();

  std::size_t size() const { return block_ == nullptr ? 0 : block_->size; }
  bool empty() const { return size() == 0; }
  const char* data() const { return block_ == nullptr ? nullptr : block_->bytes(); }
  char* data() { return block_ == nullptr ? nullptr : block_->bytes(); }
  char operator[](std::size_t i) const { return data()[i]; }
  char& operator[](std::size_t i) { return data()[i]; }
  std::string_view view() const { return std::string_view(data(), size()); }
  void append(const char* bytes, std::size_t n);
  void append(std::string_view bytes) { append(bytes.data(), bytes.size()); }
  void push_back(char c) { append(&c, 1); }
  void clear();
  void reserve(std::size_t n);
  void shrink_to_fit();
  void swap(ByteBuffer& other) noexcept { std::swap(block_, other.block_); }

 private:
  struct Block {
    std::uint32_t size;
    std::uint32_t capacity;
    char* bytes() { return reinterpret_cast<char*>(this + 1); }
    const char* bytes() const { return reinterpret_cast<const char*>(this + 1); }
  };
  void reallocate(std::size_t capacity);
  Block* block_ = nullptr;
};

// Attribute path -> Value. Setting appends (a value set again replaces the earlier one); get()
// takes the last value of a path; normalize() sorts the entries by path and drops replaced ones.
// The readers normalize every node when a file is read, so iteration (in stored order) then goes
// by path, each path once. Reading is linear in the node's entries, which is cheap for every node
// but the few that hold thousands of elements.
class Attributes {
 public:
  struct Entry {
    std::string_view first;  // the attribute path
    Value second;
  };

  class const_iterator {
   public:
    const_iterator(const ByteBuffer* data, std::size_t at) : data_(data), at_(at) { load(); }
    const Entry& operator*() const { return entry_; }
    const Entry* operator->() const { return &entry_; }
    const_iterator& operator++() {
      at_ = next_;
      load();
      return *this;
    }
    bool operator==(const const_iterator& o) const { return at_ == o.at_; }
    bool operator!=(const const_iterator& o) const { return at_ != o.at_; }

   private:
    void load();
    const ByteBuffer* data_;
    std::size_t at_;
    std::size_t next_ = 0;
    Entry entry_;
  };

  void set(std::string_view key, const Value& value);
  std::optional<Value> get(std::string_view key) const;
  Value at(std::string_view key) const;  // std::out_of_range when absent
  bool contains(std::string_view key) const;
  // True when `key`, or one of its elements or children ("key[..." / "key.") holds a value.
  bool holds_under(std::string_view key) const;
  // The paths that start with `prefix`, sorted, each once.
  std::vector<std::string> keys_with_prefix(std::string_view prefix) const;
  std::size_t size() const;  // entries as stored (paths once each when normalized)
  bool empty() const { return data_.empty(); }
  const_iterator begin() const { return const_iterator(&data_, data_.empty() ? 0 : 1); }
  const_iterator end() const { return const_iterator(&data_, data_.size()); }

  void normalize();
  // True when ok(text) holds for every text value (not the paths); read without copies.
  bool all_texts(const std::function<bool(std::string_view)>& ok) const;
  // Rewrites every text value (not the paths) through recode(std::string*).
  template <class Recode>
  void recode_texts(Recode&& recode) {
    std::vector<std::pair<std::string, Value>> all;
    for (const Entry& entry : *this) all.emplace_back(std::string(entry.first), entry.second);
    data_.clear();
    for (auto& entry : all) {
      recode_value(entry.second, recode);
      set(entry.first, entry.second);
    }
    normalize();
  }

 private:
  template <class Recode>
  static void recode_value(Value& v, Recode& recode) {
    if (v.kind == Value::Kind::String) recode(&v.s);
    for (Value& item : v.items) recode_value(item, recode);
  }

  ByteBuffer data_;  // empty, or a header byte (sorted or not) and the entries
};

}  // namespace mayascene
