// The generated pictures: the font and the logo, written into folder.
#pragma once

#include <string>

// False (with a message) when a picture cannot be written.
bool MakePictures(const std::string& folder);
