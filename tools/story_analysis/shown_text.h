#pragma once
// Story bytes (code page 437) as UTF-8 for terminals, JSON and Graphviz.
#include <string>
#include <string_view>

namespace quillon::tool {

// Bytes 128 to 255 become the characters code page 437 gives them; control
// bytes below 32 and 127 are written {N}, as in the key notation.
std::string shownText(std::string_view bytes);
// The same in double quotes.
std::string quotedText(std::string_view bytes);

}  // namespace quillon::tool
