#include "support/text_lines.h"

TextLineSpan ScanTextLine(const char* data, size_t available, size_t maxLength) {
  size_t i = 0;
  for (; i < available; ++i) {
    if (data[i] == '\r' && i + 1 < available && data[i + 1] == '\n') return {i, i + 2};
    if (i == maxLength) return {i, i};
  }
  return {i, i};
}
