// Finding the end of an HTTP answer's head and its announced length.
#include "net/http_response_head.h"

#include <algorithm>
#include <climits>

namespace tq::net {
namespace {

constexpr std::string_view kBlankLine = "\r\n\r\n";
constexpr std::string_view kLengthHeader = "Content-Length: ";

}  // namespace

size_t ResponseHeadScanner::Feed(std::string_view block) {
  if (complete_) return 0;
  // The blank line may begin in the carried bytes; it cannot lie entirely inside them.
  std::string window = carry_;
  window.append(block);
  const size_t found = window.find(kBlankLine);
  const size_t headPart =
      found == std::string::npos ? block.size() : found + kBlankLine.size() - carry_.size();

  if (kept_.size() < kKeptHeadBytes) {
    kept_.append(block.substr(0, std::min(headPart, kKeptHeadBytes - kept_.size())));
  }
  headBytes_ += headPart;
  if (found != std::string::npos) {
    complete_ = true;
    carry_.clear();
    return headPart;
  }
  const size_t keep = std::min(window.size(), kBlankLine.size() - 1);
  carry_ = window.substr(window.size() - keep);
  return kInHead;
}

std::optional<int64_t> ResponseHeadScanner::ContentLength() const {
  const size_t at = kept_.find(kLengthHeader);
  if (at == std::string::npos) return std::nullopt;
  size_t pos = at + kLengthHeader.size();
  while (pos < kept_.size() && (kept_[pos] == ' ' || kept_[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < kept_.size() && (kept_[pos] == '+' || kept_[pos] == '-')) {
    negative = kept_[pos] == '-';
    ++pos;
  }
  int64_t value = 0;
  for (; pos < kept_.size() && kept_[pos] >= '0' && kept_[pos] <= '9'; ++pos) {
    const int digit = kept_[pos] - '0';
    value = value > (INT64_MAX - digit) / 10 ? INT64_MAX : value * 10 + digit;
  }
  return negative ? -value : value;
}

int32_t ProgressRangeOf(int64_t contentLength) {
  if (contentLength <= 0) return 0;
  const int64_t blocks = contentLength / 128;
  return blocks > INT32_MAX ? INT32_MAX : static_cast<int32_t>(blocks);
}

}  // namespace tq::net
