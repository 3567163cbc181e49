// Where captured frames go: a video encoder or a folder of pictures. Frames come in order,
// all of one size, as 8-bit RGBA rows, top row first.
#pragma once

#include <cstdint>
#include <string>

class IFrameSink
{
public:
    virtual ~IFrameSink() = default;
    // False with a message in error when the frame could not be written.
    virtual bool Write(const uint8_t* rgba, std::string& error) = 0;
    // Completes the output; false with a message when it is not usable. Nothing half-written
    // is left under the final name.
    virtual bool Finish(std::string& error) = 0;
    // Where the output is, for the user.
    virtual std::string Describe() const = 0;
};
