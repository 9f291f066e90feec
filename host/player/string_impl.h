// A narrow text object of the host boundary over std::string. The host fills it through the
// boundary, so each operation that can fail is served through the gate.
#pragma once

#include <string>

#include "host/boundary/boundary.h"
#include "host/player/interfaces/service.h"

class string8_impl final : public string_base {
 public:
  string8_impl() = default;
  explicit string8_impl(std::string text) : text_(std::move(text)) {}

  void add_string(const char* text, size_t length) override {
    boundary::serve([&] { text_.append(text, length); });
  }
  const char* get_ptr() const override { return text_.c_str(); }
  void set_string(const char* text, size_t length) override {
    boundary::serve([&] { text_.assign(text, length); });
  }
  void truncate(size_t length) override {
    if (length < text_.size()) text_.resize(length);
  }
  size_t get_length() const override { return text_.size(); }
  char* lock_buffer(size_t length) override {
    return boundary::serve([&] {
      text_.assign(length, '\0');
      return &text_[0];
    });
  }
  // The locked buffer ends at its first zero.
  void unlock_buffer() override { text_.resize(std::char_traits<char>::length(text_.c_str())); }

  const std::string& str() const { return text_; }

 private:
  std::string text_;
};
