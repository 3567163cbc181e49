// The show's pictures: the opening scroll, the titles, the credit cards, the end picture and
// a plain white picture, written into a folder.
#pragma once

#include <string>

// fontFolder holds the DejaVu faces. False (with a message) when a font or a file fails.
bool MakeShowPictures(const std::string& folder, const std::string& fontFolder);
