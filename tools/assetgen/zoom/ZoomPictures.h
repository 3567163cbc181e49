// The zoom scene's pictures: the bank "zoom2color.png" and the overlay "dont-alpha.jpg".
#pragma once

#include <string>

// fontFolder holds the DejaVu faces. False (with a message) when a font or a file fails.
bool MakeZoomPictures(const std::string& folder, const std::string& fontFolder);
