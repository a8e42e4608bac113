#pragma once
// What the player gets from a picture file: how many of its width × height
// values are there, which colours are out of range, what follows them.
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::tool {

inline constexpr int32_t kLowestColour = -1;  // transparent
inline constexpr int32_t kHighestColour = 255;

struct PictureScan {
  int32_t openError = 0;  // 0 when the file opens
  int32_t width = 0;
  int32_t height = 0;
  int64_t expected = 0;  // width × height values the player reads (0 if either is 0 or less)
  int64_t present = 0;   // how many of them the file has
  int64_t outOfRange = 0;
  int64_t firstOutOfRangeField = 0;  // counted from 1
  int32_t firstOutOfRangeValue = 0;
  int64_t emptyFields = 0;  // empty fields among the values, read as colour 0
  int64_t firstEmptyField = 0;
  int64_t extraValues = 0;  // non-blank fields after the last value, never read
};

// Reads `path` (relative to the working directory, or absolute) as the player
// reads a picture of the given size, through the record reader. With
// `values`, the values are kept too, missing ones as the 0 the player reads.
PictureScan scanPicture(const std::string& path, int32_t width, int32_t height,
                        std::vector<int32_t>* values = nullptr);

// Row and column (from 1) of a value's field in a picture `width` wide.
int64_t rowOfField(int64_t field, int32_t width);
int64_t columnOfField(int64_t field, int32_t width);

}  // namespace quillon::tool
