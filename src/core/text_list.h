// A list of texts kept in one buffer: the texts' bytes back to back and the
// end offset of each, so an entry costs 4 bytes beyond its text (an empty
// text costs 4 bytes, not a whole std::string). Entries read as
// std::string_view, valid until the list is next changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlo {

class TextList {
 public:
  class const_iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using iterator_concept = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using reference = std::string_view;
    using pointer = void;

    const_iterator() = default;
    std::string_view operator*() const { return (*list_)[i_]; }
    std::string_view operator[](difference_type n) const { return (*list_)[i_ + n]; }
    const_iterator& operator++() { ++i_; return *this; }
    const_iterator operator++(int) { const_iterator t = *this; ++i_; return t; }
    const_iterator& operator--() { --i_; return *this; }
    const_iterator operator--(int) { const_iterator t = *this; --i_; return t; }
    const_iterator& operator+=(difference_type n) { i_ += n; return *this; }
    const_iterator& operator-=(difference_type n) { i_ -= n; return *this; }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.i_) - static_cast<difference_type>(b.i_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.i_ == b.i_; }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.i_ <=> b.i_; }

   private:
    friend class TextList;
    const_iterator(const TextList* list, size_t i) : list_(list), i_(i) {}
    const TextList* list_ = nullptr;
    size_t i_ = 0;
  };
  using iterator = const_iterator;
  using value_type = std::string_view;
  using size_type = size_t;

  TextList() = default;
  // `count` empty texts.
  explicit TextList(size_t count) : ends_(count, 0) {}
  TextList(std::initializer_list<std::string_view> texts) { Append(texts.begin(), texts.end(), texts.size()); }
  TextList(const std::vector<std::string>& texts) { Append(texts.begin(), texts.end(), texts.size()); }

  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](size_t i) const {
    const uint32_t start = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_).substr(start, ends_[i] - start);
  }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  void push_back(std::string_view text) {
    if (text.size() > kMaxBytes - bytes_.size()) throw std::length_error("text list too long");
    bytes_.append(text);
    ends_.push_back(static_cast<uint32_t>(bytes_.size()));
  }
  // Room for `count` entries in all, as std::vector::reserve.
  void reserve(size_t count) { ends_.reserve(count); }
  void clear() {
    ends_.clear();
    bytes_.clear();
  }

  bool operator==(const TextList&) const = default;

 private:
  static constexpr size_t kMaxBytes = std::numeric_limits<uint32_t>::max();

  template <class It>
  void Append(It first, It last, size_t count) {
    reserve(size() + count);
    for (; first != last; ++first) push_back(*first);
  }

  std::string bytes_;
  std::vector<uint32_t> ends_;
};

}  // namespace vorlo
