#include "mayascene/scene.h"

#include <memory>

#include "mayascene/dag_path_text.h"

namespace mayascene {

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::uint32_t hash_name(std::string_view name) {
  std::uint32_t h = 2166136261u;
  for (const char c : name) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  return h;
}

}  // namespace

Connection::Connection(TextArena& texts, std::string_view source, std::string_view destination) {
  // joined apart first: either plug may be a view of the arena's own bytes
  thread_local std::string joined;
  joined.assign(source);
  joined.push_back('\0');
  joined.append(destination);
  plugs_ = texts.keep(joined);
}

Uuid::Uuid(const Uuid& other)
    : bytes_(other.bytes_), other_(other.other_ ? std::make_unique<std::string>(*other.other_) : nullptr) {}

bool Uuid::empty() const {
  if (other_ != nullptr) return false;
  for (const unsigned char b : bytes_) {
    if (b != 0) return false;
  }
  return true;
}

Uuid& Uuid::operator=(const Uuid& other) {
  if (this != &other) *this = Uuid(other);
  return *this;
}

Uuid& Uuid::operator=(std::string_view text) {
  // 8-4-4-4-12 upper-case hex digits, as Maya writes them; anything else is kept as written.
  std::array<unsigned char, 16> bytes{};
  bool ok = text.size() == 36 && text[8] == '-' && text[13] == '-' && text[18] == '-' && text[23] == '-';
  std::size_t byte = 0;
  for (std::size_t k = 0; ok && k < text.size(); k += 2) {
    if (k == 8 || k == 13 || k == 18 || k == 23) ++k;
    const int high = hex_digit(text[k]);
    const int low = hex_digit(text[k + 1]);
    ok = (high | low) >= 0;
    if (ok) bytes[byte++] = static_cast<unsigned char>(high * 16 + low);
  }
  bytes_ = ok ? bytes : std::array<unsigned char, 16>{};
  if (ok && !empty()) {
    other_.reset();
  } else if (text.empty()) {
    other_.reset();
  } else {
    bytes_.fill(0);
    other_ = std::make_unique<std::string>(text);
  }
  return *this;
}

std::string Uuid::text() const {
  if (other_) return *other_;
  if (empty()) return std::string();
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(36);
  for (std::size_t k = 0; k < 16; ++k) {
    if (k == 4 || k == 6 || k == 8 || k == 10) out.push_back('-');
    out.push_back(digits[bytes_[k] >> 4]);
    out.push_back(digits[bytes_[k] & 0xF]);
  }
  return out;
}

void NodeUuids::set(int index, std::string_view text) {
  const std::size_t at = static_cast<std::size_t>(index);
  if (at >= by_node_.size()) {
    if (text.empty()) return;
    by_node_.resize(at + 1);
  }
  by_node_[at] = text;
}

std::string NodeUuids::text(int index) const {
  const std::size_t at = static_cast<std::size_t>(index);
  return index >= 0 && at < by_node_.size() ? by_node_[at].text() : std::string();
}

namespace {
// Below this many attributes a scan of the list is as quick as the index and costs no memory.
constexpr std::size_t kIndexedFrom = 16;
}  // namespace

DynamicAttributes::DynamicAttributes(const DynamicAttributes& other) : store_(other.store_) {
  if (store_ != nullptr) store_->holders.fetch_add(1, std::memory_order_relaxed);
}

DynamicAttributes& DynamicAttributes::operator=(const DynamicAttributes& other) {
  if (this != &other) *this = DynamicAttributes(other);
  return *this;
}

DynamicAttributes& DynamicAttributes::operator=(DynamicAttributes&& other) noexcept {
  if (this != &other) {
    release();
    store_ = other.store_;
    other.store_ = nullptr;
  }
  return *this;
}

DynamicAttributes::~DynamicAttributes() { release(); }

void DynamicAttributes::release() {
  if (store_ != nullptr && store_->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete store_;
  store_ = nullptr;
}

void DynamicAttributes::own() {
  if (store_ == nullptr) {
    store_ = new Store();
  } else if (store_->holders.load(std::memory_order_acquire) > 1) {
    auto copy = std::make_unique<Store>();
    copy->list = store_->list;
    copy->index = store_->index;
    release();
    store_ = copy.release();
  }
}

void DynamicAttributes::index_entry(std::uint32_t position) {
  const DynamicAttribute& attribute = store_->list[position];
  Firsts& by_short = store_->index[attribute.short_name];
  if (by_short.named == UINT32_MAX) by_short.named = position;
  Firsts& by_long = store_->index[attribute.long_name];
  if (by_long.named == UINT32_MAX) by_long.named = position;
  if (by_long.long_named == UINT32_MAX) by_long.long_named = position;
}

void DynamicAttributes::push_back(DynamicAttribute attribute) {
  own();
  store_->list.push_back(std::move(attribute));
  const std::size_t count = store_->list.size();
  if (count == kIndexedFrom) {
    for (std::uint32_t k = 0; k < count; ++k) index_entry(k);
  } else if (count > kIndexedFrom) {
    index_entry(static_cast<std::uint32_t>(count - 1));
  }
}

const std::vector<DynamicAttribute>& DynamicAttributes::list() const {
  static const std::vector<DynamicAttribute> none;
  return store_ ? store_->list : none;
}

const DynamicAttribute* DynamicAttributes::first(std::string_view name, bool long_only) const {
  if (!store_) return nullptr;
  const std::vector<DynamicAttribute>& list = store_->list;
  if (list.size() < kIndexedFrom) {
    for (const DynamicAttribute& attr : list) {
      if (name == attr.long_name || (!long_only && name == attr.short_name)) return &attr;
    }
    return nullptr;
  }
  const auto found = store_->index.find(std::string(name));
  if (found == store_->index.end()) return nullptr;
  const std::uint32_t position = long_only ? found->second.long_named : found->second.named;
  return position == UINT32_MAX ? nullptr : &list[position];
}

}  // namespace mayascene

namespace mayascene {

bool rest_matches_outside_parent(std::string_view rest, std::string_view outside, bool absolute) {
  outside = without_root(outside);
  if (!outside.empty() && outside.front() == '|') outside.remove_prefix(1);
  while (!outside.empty() && !rest.empty()) {
    std::string_view outside_before;
    std::string_view rest_before;
    if (last_component(rest, &rest_before) != last_component(outside, &outside_before)) return false;
    rest = rest_before;
    outside = outside_before;
  }
  return rest.empty() && (!absolute || outside.empty());
}

std::string dag_path(const Scene& scene, int index) {
  if (index < 0 || !scene.nodes[static_cast<std::size_t>(index)].dag) return std::string();
  std::vector<const Node*> chain;
  std::size_t length = 0;
  for (int i = index; i >= 0; i = scene.nodes[static_cast<std::size_t>(i)].parent) {
    chain.push_back(&scene.nodes[static_cast<std::size_t>(i)]);
    length += chain.back()->name.size() + 1;
    if (chain.size() > scene.nodes.size()) break;  // a parent cycle: the links of a hostile file
  }
  std::string path;
  const std::string_view outside = without_root(chain.back()->parent_name);
  if (!outside.empty()) {  // the top node's parent lies in another file
    path.reserve(length + outside.size() + 1);
    if (outside.front() != '|') path += '|';
    path += outside;
  } else {
    path.reserve(length);
  }
  for (auto node = chain.rbegin(); node != chain.rend(); ++node) {
    path += '|';
    path += (*node)->name;
  }
  return path;
}

bool dag_path_matches(const Scene& scene, int index, std::string_view partial) {
  partial = without_root(partial);
  const bool absolute = !partial.empty() && partial.front() == '|';
  if (absolute) partial.remove_prefix(1);
  std::string_view rest = partial;
  int node = index;
  std::size_t steps = 0;
  while (node >= 0) {
    if (rest.empty()) return !absolute;
    const Node& n = scene.nodes[static_cast<std::size_t>(node)];
    std::string_view before;
    if (last_component(rest, &before) != n.name) return false;
    rest = before;
    if (n.parent < 0) {
      // Above the file's top node: the parent as written, when it lies in another file.
      return rest_matches_outside_parent(rest, n.parent_name, absolute);
    }
    node = n.parent;
    if (++steps > scene.nodes.size()) return false;  // a parent cycle
  }
  return false;
}

void NameIndex::grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  std::size_t live = 0;
  for (const Slot& slot : old) live += slot.index >= 0 ? 1 : 0;
  std::size_t capacity = 64;
  while (capacity < (live + 1) * 2) capacity *= 2;
  slots_.assign(capacity, Slot());
  used_ = 0;
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.index < 0) continue;
    std::size_t i = slot.hash & mask;
    while (slots_[i].index != -1) i = (i + 1) & mask;
    slots_[i] = slot;
    ++used_;
  }
}

void NameIndex::add(std::string_view name, int index) {
  if ((used_ + 1) * 2 > slots_.size()) grow();
  const std::uint32_t hash = hash_name(name);
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].index != -1) i = (i + 1) & mask;
  slots_[i] = Slot{hash, index};
  ++used_;
}

void NameIndex::remove(std::string_view name, int index) {
  if (slots_.empty()) return;
  const std::uint32_t hash = hash_name(name);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask; slots_[i].index != -1; i = (i + 1) & mask) {
    if (slots_[i].hash == hash && slots_[i].index == index) {
      slots_[i].index = -2;  // removed: later probes go on past it
      return;
    }
  }
}

int NameIndex::find(const Scene& scene, std::string_view written) const {
  if (slots_.empty()) return -1;
  const std::string_view name = without_root(written);
  std::string_view rest;
  const std::string_view leaf = last_component(name, &rest);
  const bool path = name.find('|') != std::string_view::npos;
  const std::uint32_t hash = hash_name(leaf);
  const std::size_t mask = slots_.size() - 1;
  int best = -1;
  for (std::size_t i = hash & mask; slots_[i].index != -1; i = (i + 1) & mask) {
    const int candidate = slots_[i].index;
    if (candidate <= best || slots_[i].hash != hash) continue;
    const Node& node = scene.nodes[static_cast<std::size_t>(candidate)];
    if (node.name != leaf) continue;
    if (path && !(node.dag && dag_path_matches(scene, candidate, name))) continue;
    best = candidate;
  }
  return best;
}

}  // namespace mayascene
