// Input bytes taken from the front. Consumed bytes are dropped in bulk, so
// that a long input read byte by byte costs linear time.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace orvex::console {

class ByteQueue {
 public:
  bool empty() const { return head_ == data_.size(); }
  unsigned char front() const { return data_[head_]; }
  std::span<const unsigned char> view() const {
    return {data_.data() + head_, data_.size() - head_};
  }
  void append(const unsigned char* first, const unsigned char* last) {
    data_.insert(data_.end(), first, last);
  }
  void pop(std::size_t count) {
    head_ += count;
    if (head_ == data_.size()) {
      data_.clear();
      head_ = 0;
    } else if (head_ >= kCompactAt && head_ * 2 >= data_.size()) {
      data_.erase(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(head_));
      head_ = 0;
    }
  }

 private:
  static constexpr std::size_t kCompactAt = 4096;
  std::vector<unsigned char> data_;
  std::size_t head_ = 0;
};

}  // namespace orvex::console
