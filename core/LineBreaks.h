// Line breaks as the list keeps them inside notes: CR LF.
#pragma once

#include <string>
#include <string_view>

// Appends the text with every line break (CR LF, a lone LF or a lone CR) as
// CR LF.
void AppendWithCrLf(std::string& out, std::string_view text);
