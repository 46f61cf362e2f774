// A small PNG encoder (8-bit RGBA, stored deflate blocks), for pictures the RTF filter embeds.
#pragma once

#include <string>

#include "cd/Image.h"

namespace standin::rtf {

std::string EncodePng(const cd::Image &image);

}  // namespace standin::rtf
