#pragma once
// TSLList: an ordered list of object pointers that may own what it holds.
// An owning list frees its objects when cleared or destroyed; Remove always
// frees what it removes. The capacity is kept equal to the count after Add,
// Remove and Clear (no spare slots).
#include <stdexcept>
#include <string>
#include <vector>

class ESLListError : public std::out_of_range {
 public:
  explicit ESLListError(int index)
      : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}
};

template <class T>
class TSLList {
 public:
  bool OwnsObjects = true;

  TSLList() = default;
  TSLList(const TSLList&) = delete;
  TSLList& operator=(const TSLList&) = delete;
  ~TSLList() {
    if (OwnsObjects)
      for (size_t i = items_.size(); i-- > 0;) delete items_[i];
  }

  int Add(T* obj) {
    items_.reserve(items_.size() + 1);  // exact growth: capacity stays equal to count
    items_.push_back(obj);
    Pack();
    return Count() - 1;
  }
  void Insert(int index, T* obj) {
    if (index < 0 || index > Count()) throw ESLListError(index);
    items_.insert(items_.begin() + index, obj);
  }
  int Count() const { return static_cast<int>(items_.size()); }
  T* Items(int index) const {
    CheckIndex(index);
    return items_[index];
  }
  T* operator[](int index) const { return Items(index); }
  void Clear() {
    if (OwnsObjects)
      for (T* obj : items_) delete obj;
    items_.clear();
    Pack();
  }
  // Takes obj out and frees it, owning or not; returns its former index (-1
  // and nothing freed when it is not in the list).
  int Remove(T* obj) {
    int index = IndexOf(obj);
    if (index < 0) return -1;
    items_.erase(items_.begin() + index);
    delete obj;
    Pack();
    return index;
  }
  int IndexOf(const T* obj) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i] == obj) return static_cast<int>(i);
    return -1;
  }
  void Move(int from, int to) {
    CheckIndex(from);
    CheckIndex(to);
    T* obj = items_[from];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, obj);
  }
  void Pack() { items_.shrink_to_fit(); }
  size_t Capacity() const { return items_.capacity(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  void CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw ESLListError(index);
  }
  std::vector<T*> items_;
};
