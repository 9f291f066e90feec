// An ordered, contiguous, growable list of plain values.
#pragma once

#include <cstddef>
#include <vector>

template <class T>
class list_t {
 public:
  size_t get_count() const { return items_.size(); }
  const T& operator[](size_t index) const { return items_[index]; }
  T& operator[](size_t index) { return items_[index]; }
  const T* begin() const { return items_.data(); }
  const T* end() const { return items_.data() + items_.size(); }

  void remove_all() { items_.clear(); }
  void add_item(const T& item) { items_.push_back(item); }

  // Inserts `count` items before `position`; a position past the end appends.
  void insert_items(const T* items, size_t count, size_t position) {
    if (position > items_.size()) position = items_.size();
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), items, items + count);
  }

  void remove_by_idx(size_t index) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index)); }

  // Makes this list an exact copy of `source`.
  void replace_all(const list_t& source) {
    remove_all();
    insert_items(source.begin(), source.get_count(), 0);
  }

 private:
  std::vector<T> items_;
};
