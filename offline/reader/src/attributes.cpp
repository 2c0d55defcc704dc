// The byte layout of a node's attributes: a header byte (sorted or not), then entries, each a
// varint path length, the path, and a value: a kind byte and its payload (Bool: one byte; Int: a
// zigzag varint; Double: eight bytes; String: a varint length and the bytes; Span: varint offset
// and length; StringArray and Tuple: a varint count and the items).
#include "mayascene/attributes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace mayascene {

Value Value::boolean(bool v) {
  Value out;
  out.kind = Kind::Bool;
  out.b = v;
  return out;
}

Value Value::integer(std::int64_t v) {
  Value out;
  out.kind = Kind::Int;
  out.i = v;
  return out;
}

Value Value::real(double v) {
  Value out;
  out.kind = Kind::Double;
  out.d = v;
  return out;
}

Value Value::string(std::string v) {
  Value out;
  out.kind = Kind::String;
  out.s = std::move(v);
  return out;
}

Value Value::span(std::int64_t offset, std::uint64_t length) {
  Value out;
  out.kind = Kind::Span;
  out.i = offset;
  out.length = length;
  return out;
}

bool Value::operator==(const Value& o) const {
  if (kind != o.kind) return false;
  switch (kind) {
    case Kind::Bool: return b == o.b;
    case Kind::Int: return i == o.i;
    case Kind::Double: return d == o.d;
    case Kind::String: return s == o.s;
    case Kind::StringArray:
    case Kind::Tuple: return items == o.items;
    case Kind::Span: return i == o.i && length == o.length;
  }
  return false;
}

ByteBuffer::ByteBuffer(const ByteBuffer& other) { append(other.data(), other.size()); }

ByteBuffer& ByteBuffer::operator=(const ByteBuffer& other) {
  if (this != &other) {
    ByteBuffer copy(other);
    swap(copy);
  }
  return *this;
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  ByteBuffer moved(std::move(other));
  swap(moved);
  return *this;
}

ByteBuffer::~ByteBuffer() { std::free(block_); }

void ByteBuffer::reallocate(std::size_t capacity) {
  if (capacity > UINT32_MAX - sizeof(Block)) throw std::length_error("attribute values of one node past 4 GB");
  void* grown = std::realloc(block_, sizeof(Block) + capacity);
  if (grown == nullptr) throw std::bad_alloc();
  const bool fresh = block_ == nullptr;
  block_ = static_cast<Block*>(grown);
  if (fresh) block_->size = 0;
  block_->capacity = static_cast<std::uint32_t>(capacity);
}

void ByteBuffer::append(const char* bytes, std::size_t n) {
  if (n == 0) return;
  const std::size_t needed = size() + n;
  // Most nodes hold a few short values: one block of 48 bytes takes them.
  if (block_ == nullptr || needed > block_->capacity) reallocate(std::max<std::size_t>({needed, size() * 2, 48}));
  std::memcpy(block_->bytes() + block_->size, bytes, n);
  block_->size = static_cast<std::uint32_t>(needed);
}

void ByteBuffer::clear() {
  std::free(block_);
  block_ = nullptr;
}

void ByteBuffer::reserve(std::size_t n) {
  if (n > 0 && (block_ == nullptr || n > block_->capacity)) reallocate(n);
}

void ByteBuffer::shrink_to_fit() {
  if (block_ != nullptr && block_->capacity > block_->size + block_->size / 4 + 16) reallocate(block_->size);
}

namespace {

constexpr char kUnsorted = 0;
constexpr char kSorted = 1;

void put_varint(ByteBuffer* out, std::uint64_t v) {
  while (v >= 0x80) {
    out->push_back(static_cast<char>((v & 0x7F) | 0x80));
    v >>= 7;
  }
  out->push_back(static_cast<char>(v));
}

std::uint64_t get_varint(const ByteBuffer& data, std::size_t* at) {
  std::uint64_t v = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    const auto byte = static_cast<unsigned char>(data[(*at)++]);
    v |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) break;
  }
  return v;
}

void put_value(ByteBuffer* out, const Value& v) {
  out->push_back(static_cast<char>(v.kind));
  switch (v.kind) {
    case Value::Kind::Bool: out->push_back(v.b ? 1 : 0); return;
    case Value::Kind::Int: {
      const auto u = static_cast<std::uint64_t>(v.i);
      put_varint(out, (u << 1) ^ (v.i < 0 ? ~std::uint64_t(0) : 0));
      return;
    }
    case Value::Kind::Double: {
      char bytes[sizeof(double)];
      std::memcpy(bytes, &v.d, sizeof bytes);
      out->append(bytes, sizeof bytes);
      return;
    }
    case Value::Kind::String:
      put_varint(out, v.s.size());
      out->append(v.s.data(), v.s.size());
      return;
    case Value::Kind::Span:
      put_varint(out, static_cast<std::uint64_t>(v.i));
      put_varint(out, v.length);
      return;
    case Value::Kind::StringArray:
    case Value::Kind::Tuple:
      put_varint(out, v.items.size());
      for (const Value& item : v.items) put_value(out, item);
      return;
  }
}

// Reads the value at `at` (into `out` unless null) and returns the position after it.
std::size_t get_value(const ByteBuffer& data, std::size_t at, Value* out) {
  const auto kind = static_cast<Value::Kind>(data[at++]);
  if (out != nullptr) out->kind = kind;
  switch (kind) {
    case Value::Kind::Bool:
      if (out != nullptr) out->b = data[at] != 0;
      return at + 1;
    case Value::Kind::Int: {
      const std::uint64_t z = get_varint(data, &at);
      if (out != nullptr) out->i = static_cast<std::int64_t>((z >> 1) ^ (~(z & 1) + 1));
      return at;
    }
    case Value::Kind::Double:
      if (out != nullptr) std::memcpy(&out->d, data.data() + at, sizeof(double));
      return at + sizeof(double);
    case Value::Kind::String: {
      const std::uint64_t n = get_varint(data, &at);
      if (out != nullptr) out->s.assign(data.data() + at, static_cast<std::size_t>(n));
      return at + static_cast<std::size_t>(n);
    }
    case Value::Kind::Span: {
      const std::uint64_t offset = get_varint(data, &at);
      const std::uint64_t length = get_varint(data, &at);
      if (out != nullptr) {
        out->i = static_cast<std::int64_t>(offset);
        out->length = length;
      }
      return at;
    }
    case Value::Kind::StringArray:
    case Value::Kind::Tuple: {
      const std::uint64_t n = get_varint(data, &at);
      if (out != nullptr) out->items.resize(static_cast<std::size_t>(n));
      for (std::uint64_t k = 0; k < n; ++k) at = get_value(data, at, out != nullptr ? &out->items[k] : nullptr);
      return at;
    }
  }
  return at;
}

// The path of the entry at `at`; `*value_at` is where its value starts.
std::string_view get_key(const ByteBuffer& data, std::size_t at, std::size_t* value_at) {
  const std::uint64_t n = get_varint(data, &at);
  *value_at = at + static_cast<std::size_t>(n);
  return data.view().substr(at, static_cast<std::size_t>(n));
}

// Calls ok() on each text of the value at `at`; returns the position after it, or npos when ok()
// said no.
std::size_t check_texts(const ByteBuffer& data, std::size_t at, const std::function<bool(std::string_view)>& ok) {
  const auto kind = static_cast<Value::Kind>(data[at]);
  if (kind == Value::Kind::String) {
    std::size_t p = at + 1;
    const std::uint64_t n = get_varint(data, &p);
    if (!ok(data.view().substr(p, static_cast<std::size_t>(n)))) return std::string::npos;
    return p + static_cast<std::size_t>(n);
  }
  if (kind == Value::Kind::StringArray || kind == Value::Kind::Tuple) {
    std::size_t p = at + 1;
    const std::uint64_t n = get_varint(data, &p);
    for (std::uint64_t k = 0; k < n && p != std::string::npos; ++k) p = check_texts(data, p, ok);
    return p;
  }
  return get_value(data, at, nullptr);
}

bool under(std::string_view path, std::string_view key) {
  return path.size() >= key.size() && path.compare(0, key.size(), key) == 0 &&
         (path.size() == key.size() || path[key.size()] == '[' || path[key.size()] == '.');
}

}  // namespace

void Attributes::const_iterator::load() {
  if (at_ >= data_->size()) {
    at_ = data_->size();
    return;
  }
  std::size_t value_at = 0;
  entry_.first = get_key(*data_, at_, &value_at);
  entry_.second = Value();
  next_ = get_value(*data_, value_at, &entry_.second);
}

void Attributes::set(std::string_view key, const Value& value) {
  if (data_.empty()) {
    data_.push_back(kSorted);  // one entry is in order
  } else {
    data_[0] = kUnsorted;
  }
  put_varint(&data_, key.size());
  data_.append(key);
  put_value(&data_, value);
}

std::optional<Value> Attributes::get(std::string_view key) const {
  std::size_t found = std::string::npos;
  for (std::size_t at = data_.empty() ? 0 : 1; at < data_.size();) {
    std::size_t value_at = 0;
    const std::string_view path = get_key(data_, at, &value_at);
    if (path == key) {
      found = value_at;
      if (data_[0] == kSorted) break;  // each path once
    }
    at = get_value(data_, value_at, nullptr);
  }
  if (found == std::string::npos) return std::nullopt;
  Value out;
  get_value(data_, found, &out);
  return out;
}

Value Attributes::at(std::string_view key) const {
  std::optional<Value> found = get(key);
  if (!found) throw std::out_of_range("no attribute " + std::string(key));
  return *found;
}

bool Attributes::contains(std::string_view key) const {
  for (std::size_t at = data_.empty() ? 0 : 1; at < data_.size();) {
    std::size_t value_at = 0;
    if (get_key(data_, at, &value_at) == key) return true;
    at = get_value(data_, value_at, nullptr);
  }
  return false;
}

bool Attributes::holds_under(std::string_view key) const {
  for (std::size_t at = data_.empty() ? 0 : 1; at < data_.size();) {
    std::size_t value_at = 0;
    if (under(get_key(data_, at, &value_at), key)) return true;
    at = get_value(data_, value_at, nullptr);
  }
  return false;
}

std::vector<std::string> Attributes::keys_with_prefix(std::string_view prefix) const {
  std::vector<std::string> keys;
  for (std::size_t at = data_.empty() ? 0 : 1; at < data_.size();) {
    std::size_t value_at = 0;
    const std::string_view path = get_key(data_, at, &value_at);
    if (path.size() >= prefix.size() && path.compare(0, prefix.size(), prefix) == 0) keys.emplace_back(path);
    at = get_value(data_, value_at, nullptr);
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

std::size_t Attributes::size() const {
  std::size_t n = 0;
  for (std::size_t at = data_.empty() ? 0 : 1; at < data_.size(); ++n) {
    std::size_t value_at = 0;
    get_key(data_, at, &value_at);
    at = get_value(data_, value_at, nullptr);
  }
  return n;
}

bool Attributes::all_texts(const std::function<bool(std::string_view)>& ok) const {
  for (std::size_t at = data_.empty() ? 0 : 1; at < data_.size();) {
    std::size_t value_at = 0;
    get_key(data_, at, &value_at);
    at = check_texts(data_, value_at, ok);
    if (at == std::string::npos) return false;
  }
  return true;
}

void Attributes::normalize() {
  if (data_.empty()) return;
  if (data_[0] == kSorted) {
    data_.shrink_to_fit();
    return;
  }
  struct Span {
    std::string_view key;
    std::size_t start;  // of the entry
    std::size_t end;
  };
  std::vector<Span> spans;
  for (std::size_t at = 1; at < data_.size();) {
    std::size_t value_at = 0;
    const std::string_view key = get_key(data_, at, &value_at);
    const std::size_t end = get_value(data_, value_at, nullptr);
    spans.push_back({key, at, end});
    at = end;
  }
  std::stable_sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.key < b.key; });
  ByteBuffer out;
  out.reserve(data_.size());
  out.push_back(kSorted);
  for (std::size_t k = 0; k < spans.size(); ++k) {
    if (k + 1 < spans.size() && spans[k + 1].key == spans[k].key) continue;  // replaced by a later value
    out.append(data_.data() + spans[k].start, spans[k].end - spans[k].start);
  }
  out.shrink_to_fit();
  data_.swap(out);
}

}  // namespace mayascene
